// The examples menu: its entries follow the catalogue table, every entry
// finds its compiled-in sample, and loading a sample keeps the document
// rules (a sample is replaced without a question, the user's unsaved
// program is not).
#include <QtTest>

#include <QStandardPaths>
#include <QTemporaryDir>

#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>

#include "ModalAnswerer.h"
#include "app/Editor.h"
#include "app/ExamplesMenu.h"
#include "app/MainWindow.h"

using namespace tesmora::app;
using namespace tesmora::app::test;

class TestExamples : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanupTestCase();

  void menuFollowsTheCatalogue();
  void everyEntryHasItsSample();
  void compiledSamplesAreTheExampleFiles();
  void twoSamplesInARowAskNothing();
  void editedSampleIsReplacedWithoutAQuestion();
  void unsavedProgramAsksAndCancelKeepsIt();
  void newAfterASampleAsksNothing();
  void editedSampleIsSavedInTheDataFolderNotTheWorkingOne();

 private:
  QMenu* examplesMenu() const;
  // The menu command of a catalogue entry, found by its menu path.
  QAction* entryAction(const QString& menuPath) const;
  // Triggers `action` and returns the questions asked meanwhile, each
  // answered with the button labelled `answer`.
  QStringList choose(QAction* action, const QString& answer = QString());

  MainWindow* window_ = nullptr;
};

void TestExamples::initTestCase() {
  QCoreApplication::setOrganizationName(QStringLiteral("KestrelTests"));
  QCoreApplication::setApplicationName(QStringLiteral("TesmoraExamples"));
  QSettings().clear();
  window_ = new MainWindow;
  window_->show();
}

void TestExamples::init() {
  window_->editor()->document()->setModified(false);
  window_->newFile();
}

void TestExamples::cleanupTestCase() {
  window_->editor()->document()->setModified(false);
  delete window_;
}

QMenu* TestExamples::examplesMenu() const {
  for (QAction* action : window_->menuBar()->actions()) {
    if (action->menu() != nullptr &&
        action->text().remove(QLatin1Char('&')) == QStringLiteral("Примеры"))
      return action->menu();
  }
  return nullptr;
}

QAction* TestExamples::entryAction(const QString& menuPath) const {
  QMenu* menu = examplesMenu();
  const QStringList parts = menuPath.split(QLatin1Char('/'));
  for (int i = 0; menu != nullptr && i < parts.size(); ++i) {
    QMenu* next = nullptr;
    for (QAction* action : menu->actions()) {
      if (action->text() != parts[i]) continue;
      if (i + 1 == parts.size()) return action;
      next = action->menu();
    }
    menu = next;
  }
  return nullptr;
}

QStringList TestExamples::choose(QAction* action, const QString& answer) {
  QStringList questions;
  ModalAnswerer answerer([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    questions << (box != nullptr ? box->text() : modal->windowTitle());
    if (!clickButtonLabelled(modal, answer)) modal->close();
  });
  action->trigger();
  return questions;
}

void TestExamples::menuFollowsTheCatalogue() {
  QMenu* menu = examplesMenu();
  QVERIFY(menu != nullptr);
  // The top level as the user sees it: items, submenus ("name >") and
  // separators ("-").
  QStringList shown;
  for (QAction* action : menu->actions()) {
    if (action->isSeparator())
      shown << QStringLiteral("-");
    else if (action->menu() != nullptr)
      shown << action->text() + QStringLiteral(" >");
    else
      shown << action->text();
  }
  const QStringList expected = {
      "Система уравнений", "Модель Леонтьева", "Расстояние до плоскости", "-",
      "Простые числа >", "Криптоалгоритм RSA", "Числа Фибоначчи", "-",
      "Урок рисования >", "Тренд курса $ в 1992 г", "Касательный портфель", "-",
      "Проверка ЦПТ", "Биномиальная модель >", "-", "Критерий Пирсона >",
      "Линейная регрессия", "-", "Вложенные циклы", "-", "Экзамен >"};
  QCOMPARE(shown, expected);

  QStringList drawing;
  for (QAction* action : entryAction(QStringLiteral("Урок рисования"))->menu()->actions())
    drawing << action->text();
  QCOMPARE(drawing, QStringList({"Непрерывный график", "Разрывный график",
                                 "Фигура Лиссажу", "Область под графиком"}));
}

void TestExamples::everyEntryHasItsSample() {
  int entries = 0;
  for (const ExampleEntry& entry : exampleEntries()) {
    if (entry.menuPath == nullptr) continue;
    ++entries;
    const QString path = QString::fromUtf8(entry.menuPath);
    QVERIFY2(entryAction(path) != nullptr, qPrintable(path));
    const QString text = exampleText(QString::fromUtf8(entry.file));
    QVERIFY2(text.startsWith(QStringLiteral("//")), qPrintable(path));
    QVERIFY2(!text.contains(QLatin1Char('\r')), qPrintable(path));
  }
  QCOMPARE(entries, 26);
  QVERIFY(exampleText(QStringLiteral("no_such_sample.tsm")).isEmpty());
}

void TestExamples::compiledSamplesAreTheExampleFiles() {
  const QString folder = QStringLiteral(TESMORA_EXAMPLES_DIR "/");
  for (const ExampleEntry& entry : exampleEntries()) {
    if (entry.file == nullptr) continue;
    QFile file(folder + QString::fromUtf8(entry.file));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QString onDisk = QString::fromUtf8(file.readAll()).remove(QLatin1Char('\r'));
    QCOMPARE(exampleText(QString::fromUtf8(entry.file)), onDisk);
  }
}

void TestExamples::twoSamplesInARowAskNothing() {
  const QStringList recentBefore = QSettings().value("recentFileList").toStringList();

  QVERIFY(choose(entryAction(QStringLiteral("Система уравнений"))).isEmpty());
  QCOMPARE(window_->editor()->text(), exampleText(QStringLiteral("linear_system.tsm")));
  QVERIFY(choose(entryAction(QStringLiteral("Простые числа/Решето Эратосфена"))).isEmpty());
  QCOMPARE(window_->editor()->text(), exampleText(QStringLiteral("sieve.tsm")));

  Document& document = window_->document();
  QVERIFY(document.example);
  QVERIFY(!document.modified);
  QCOMPARE(document.displayName(), QStringLiteral("Пример.tsm"));
  QCOMPARE(document.runTitle(), QStringLiteral("Пример"));
  QCOMPARE(QSettings().value("recentFileList").toStringList(), recentBefore);
}

void TestExamples::editedSampleIsReplacedWithoutAQuestion() {
  QVERIFY(choose(entryAction(QStringLiteral("Числа Фибоначчи"))).isEmpty());
  window_->editor()->moveCursor(QTextCursor::End);
  window_->editor()->insertPlainText(QStringLiteral("\nчисло + 1;"));
  QVERIFY(window_->document().modified);
  QVERIFY(choose(entryAction(QStringLiteral("Криптоалгоритм RSA"))).isEmpty());
  QCOMPARE(window_->editor()->text(), exampleText(QStringLiteral("rsa.tsm")));
  QVERIFY(!window_->document().modified);
}

void TestExamples::unsavedProgramAsksAndCancelKeepsIt() {
  const QString own = QStringLiteral("a = 1;\na + 1;");
  window_->editor()->setPlainText(own);
  window_->editor()->document()->setModified(true);

  const QStringList questions =
      choose(entryAction(QStringLiteral("Модель Леонтьева")), QStringLiteral("Отмена"));
  QCOMPARE(questions, QStringList({"Сохранить изменения в новом документе?"}));
  QCOMPARE(window_->editor()->text(), own);
  QVERIFY(window_->document().modified);
  QVERIFY(!window_->document().example);
  QVERIFY(window_->document().isUntitled());

  // Declining to save loads the sample.
  QCOMPARE(choose(entryAction(QStringLiteral("Модель Леонтьева")), QStringLiteral("Нет")).size(),
           1);
  QCOMPARE(window_->editor()->text(), exampleText(QStringLiteral("leontief.tsm")));
  QVERIFY(window_->document().example);
}

void TestExamples::newAfterASampleAsksNothing() {
  QVERIFY(choose(entryAction(QStringLiteral("Урок рисования/Фигура Лиссажу"))).isEmpty());
  window_->editor()->insertPlainText(QStringLiteral("// мои заметки\n"));
  QStringList questions;
  {
    ModalAnswerer answerer([&](QWidget* modal) {
      questions << modal->windowTitle();
      modal->close();
    });
    window_->newFile();
  }
  QVERIFY(questions.isEmpty());
  QVERIFY(window_->editor()->text().isEmpty());
  QVERIFY(window_->document().isUntitled());
  QVERIFY(!window_->document().example);
}

void TestExamples::editedSampleIsSavedInTheDataFolderNotTheWorkingOne() {
  QTemporaryDir working;
  const QString before = QDir::currentPath();
  QVERIFY(QDir::setCurrent(working.path()));
  // The user's own file of that name in the working directory stays.
  QFile own(QStringLiteral("Пример.tsm"));
  QVERIFY(own.open(QIODevice::WriteOnly));
  own.write("my own program\n");
  own.close();

  QVERIFY(choose(entryAction(QStringLiteral("Система уравнений"))).isEmpty());
  const QString path = window_->document().path();
  const QString dataFolder =
      QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  QCOMPARE(QFileInfo(path).absolutePath(), QDir(dataFolder).absolutePath());
  QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("Пример.tsm"));
  QCOMPARE(window_->document().runTitle(), QStringLiteral("Пример"));

  window_->editor()->moveCursor(QTextCursor::End);
  window_->editor()->insertPlainText(QStringLiteral("x(1);\n"));
  QList<SeenBox> boxes;
  {
    ModalAnswerer answerer([&](QWidget* modal) { recordAndClose(modal, boxes); });
    window_->runProgram();
  }
  QCOMPARE(boxes.size(), 1);
  QCOMPARE(boxes[0].text, QStringLiteral("2"));
  QFile saved(path);
  QVERIFY(saved.open(QIODevice::ReadOnly));
  QVERIFY(saved.readAll().endsWith("x(1);\n"));
  QVERIFY(own.open(QIODevice::ReadOnly));
  QCOMPARE(own.readAll(), QByteArray("my own program\n"));
  QVERIFY(QDir::setCurrent(before));
}

QTEST_MAIN(TestExamples)
#include "tst_examples.moc"
