// The main window with the real interpreter: the Run command, its result
// and error boxes, the caret after an error, the save rules around a run,
// the status panes and the recent files.
#include <QtTest>

#include <QFileDialog>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextBlock>

#include "ModalAnswerer.h"
#include "app/Editor.h"
#include "app/MainWindow.h"
#include "app/PictureDialog.h"
#include "graphics/PictureState.h"

using namespace tesmora::app;
using namespace tesmora::app::test;

namespace {

PictureDialog* visiblePictureWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* picture = qobject_cast<PictureDialog*>(widget);
    if (picture && picture->isVisible()) return picture;
  }
  return nullptr;
}

QByteArray readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TestMainWindow : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanupTestCase();

  void runShowsTheResult_data();
  void runShowsTheResult();
  void errorPutsTheCaretAtItsPosition_data();
  void errorPutsTheCaretAtItsPosition();
  void modifiedFileIsSavedBeforeTheRun();
  void oldUntitledDocumentAsksForANameAndCancelStopsTheRun();
  void characterOutsideCp1251StopsTheRun();
  void newAsksToSaveChanges_data();
  void newAsksToSaveChanges();
  void lineNumberFollowsTheCaret();
  void recentFilesKeepTheLastFour();
  void menusAndShortcuts();
  void pictureStaysOpenAfterTheRunUntilTheNextRun();

 private:
  // Presses `key` in the editor and returns the message boxes the run
  // showed, closing each.
  QList<SeenBox> press(Qt::Key key, Qt::KeyboardModifiers modifiers = {});
  void typeProgram(const QString& text);
  // Shortcuts reach only the active window; a closed box may leave none.
  void activate();

  QTemporaryDir dir_;
  MainWindow* window_ = nullptr;
};

void TestMainWindow::initTestCase() {
  QCoreApplication::setOrganizationName(QStringLiteral("KestrelTests"));
  QCoreApplication::setApplicationName(QStringLiteral("Tesmora"));
  QSettings().clear();
  window_ = new MainWindow;
  window_->show();
  window_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window_));
}

void TestMainWindow::init() {
  // Each test starts from an unmodified document, so New asks nothing.
  window_->editor()->document()->setModified(false);
  window_->newFile();
  window_->editor()->setFocus();
}

void TestMainWindow::cleanupTestCase() {
  window_->editor()->document()->setModified(false);
  delete window_;
}

QList<SeenBox> TestMainWindow::press(Qt::Key key,
                                     Qt::KeyboardModifiers modifiers) {
  QList<SeenBox> seen;
  activate();
  ModalAnswerer answerer([&](QWidget* modal) { recordAndClose(modal, seen); });
  QTest::keyClick(window_->editor(), key, modifiers);
  return seen;
}

void TestMainWindow::activate() {
  window_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window_));
}

void TestMainWindow::typeProgram(const QString& text) {
  const QStringList lines = text.split(QLatin1Char('\n'));
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (i > 0) QTest::keyClick(window_->editor(), Qt::Key_Return);
    QTest::keyClicks(window_->editor(), lines[i]);
  }
}

void TestMainWindow::runShowsTheResult_data() {
  QTest::addColumn<QString>("program");
  QTest::addColumn<int>("modifiers");
  QTest::addColumn<QString>("shown");
  QTest::newRow("F12") << "2+3*4" << int(Qt::NoModifier) << "14";
  QTest::newRow("Ctrl+F12") << "2+3" << int(Qt::ControlModifier) << "5";
}

void TestMainWindow::runShowsTheResult() {
  QFETCH(QString, program);
  QFETCH(int, modifiers);
  QFETCH(QString, shown);
  typeProgram(program);

  const QList<SeenBox> boxes =
      press(Qt::Key_F12, Qt::KeyboardModifiers(modifiers));
  QCOMPARE(boxes.size(), 1);
  QCOMPARE(boxes[0].text, shown);
  QVERIFY(!window_->editor()->isReadOnly());
  QVERIFY2(window_->runStatusText().startsWith(QStringLiteral("Выполнено за")),
           qPrintable(window_->runStatusText()));
}

void TestMainWindow::errorPutsTheCaretAtItsPosition_data() {
  QTest::addColumn<QString>("program");
  QTest::addColumn<int>("selectionStart");  // -1: no selection
  QTest::addColumn<int>("selectionEnd");
  QTest::addColumn<QString>("message");
  QTest::addColumn<int>("caret");

  QTest::newRow("undefined name") << "x" << -1 << -1
                                  << "x:  нет определения" << 1;
  QTest::newRow("after a cyrillic comment line")
      << "// Комментарий\nzz" << -1 << -1 << "zz:  нет определения" << 17;
  QTest::newRow("fragment: selection start + offset")
      << "1\n2 + zz\n" << 2 << 8 << "zz:  нет определения" << 8;
  QTest::newRow("fragment after cyrillic lines")
      << "// Пример\n// ещё\n1 + qq" << 17 << 23 << "qq:  нет определения"
      << 23;
}

void TestMainWindow::errorPutsTheCaretAtItsPosition() {
  QFETCH(QString, program);
  QFETCH(int, selectionStart);
  QFETCH(int, selectionEnd);
  QFETCH(QString, message);
  QFETCH(int, caret);

  Editor* editor = window_->editor();
  editor->setPlainText(program);
  if (selectionStart >= 0) {
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(selectionStart);
    cursor.setPosition(selectionEnd, QTextCursor::KeepAnchor);
    editor->setTextCursor(cursor);
  }

  const QList<SeenBox> boxes = press(Qt::Key_F12);
  QCOMPARE(boxes.size(), 1);
  QCOMPARE(boxes[0].title, QStringLiteral("Ошибка"));
  QCOMPARE(boxes[0].icon, QMessageBox::Critical);
  QCOMPARE(boxes[0].text, message);
  QVERIFY(!editor->textCursor().hasSelection());
  QCOMPARE(editor->textCursor().position(), caret);
  QCOMPARE(window_->runStatusText(), QStringLiteral("Выполнено с ошибкой"));
}

void TestMainWindow::modifiedFileIsSavedBeforeTheRun() {
  const QString path = dir_.filePath("saved.tsm");
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write("1+1\r\n");
  file.close();
  QVERIFY(window_->loadFile(path));
  QVERIFY(!window_->document().modified);

  window_->editor()->selectAll();
  typeProgram(QStringLiteral("2+3*4"));
  QTest::keyClick(window_->editor(), Qt::Key_Return);
  QVERIFY(window_->document().modified);

  const QList<SeenBox> boxes = press(Qt::Key_F12);
  QCOMPARE(boxes.size(), 1);
  QCOMPARE(boxes[0].text, QStringLiteral("14"));
  QVERIFY(!window_->document().modified);
  // The file keeps its CR LF style.
  QCOMPARE(readAll(path), QByteArray("2+3*4\r\n"));
}

void TestMainWindow::oldUntitledDocumentAsksForANameAndCancelStopsTheRun() {
  typeProgram(QStringLiteral("2+3"));
  window_->document().created =
      QDateTime::currentDateTime().addSecs(-MainWindow::kUntitledGraceSeconds - 1);

  int fileDialogs = 0;
  QList<SeenBox> boxes;
  {
    ModalAnswerer answerer([&](QWidget* modal) {
      if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
        ++fileDialogs;
        dialog->reject();
      } else {
        recordAndClose(modal, boxes);
      }
    });
    activate();
    QTest::keyClick(window_->editor(), Qt::Key_F12);
  }
  QCOMPARE(fileDialogs, 1);
  QVERIFY(boxes.isEmpty());
  QVERIFY(window_->document().isUntitled());

  // A young untitled document runs without a question.
  window_->document().created = QDateTime::currentDateTime();
  const QList<SeenBox> result = press(Qt::Key_F12);
  QCOMPARE(result.size(), 1);
  QCOMPARE(result[0].text, QStringLiteral("5"));
}

void TestMainWindow::characterOutsideCp1251StopsTheRun() {
  window_->editor()->setPlainText(QStringLiteral("s = \"日本\";\n1"));
  const QList<SeenBox> boxes = press(Qt::Key_F12);
  QCOMPARE(boxes.size(), 1);
  QCOMPARE(boxes[0].title, QStringLiteral("Ошибка"));
  QVERIFY(boxes[0].text.contains(QStringLiteral("日")));
  QCOMPARE(window_->editor()->textCursor().position(), 5);
}

void TestMainWindow::newAsksToSaveChanges_data() {
  QTest::addColumn<bool>("example");
  QTest::addColumn<QString>("answer");  // empty: no question expected
  QTest::addColumn<bool>("cleared");
  QTest::newRow("cancel keeps the text") << false << "Отмена" << false;
  QTest::newRow("no drops the changes") << false << "Нет" << true;
  QTest::newRow("an example is dropped silently") << true << "" << true;
}

void TestMainWindow::newAsksToSaveChanges() {
  QFETCH(bool, example);
  QFETCH(QString, answer);
  QFETCH(bool, cleared);
  typeProgram(QStringLiteral("1+1"));
  window_->document().example = example;

  QStringList questions;
  {
    ModalAnswerer answerer([&](QWidget* modal) {
      questions << qobject_cast<QMessageBox*>(modal)->text();
      clickButtonLabelled(modal, answer);
    });
    window_->newFile();
  }
  QCOMPARE(questions.size(), answer.isEmpty() ? 0 : 1);
  if (!questions.isEmpty())
    QCOMPARE(questions[0], QStringLiteral("Сохранить изменения в новом документе?"));
  QCOMPARE(window_->editor()->text().isEmpty(), cleared);
  QCOMPARE(window_->document().modified, !cleared);
  QVERIFY(!window_->document().example);
}

void TestMainWindow::lineNumberFollowsTheCaret() {
  Editor* editor = window_->editor();
  typeProgram(QStringLiteral("a = 1;\nb = 2;\nc = 3;"));
  QCOMPARE(window_->caretLineText(), QStringLiteral("3"));
  QTest::keyClick(editor, Qt::Key_Up);
  QCOMPARE(window_->caretLineText(), QStringLiteral("2"));
  QTest::keyClick(editor, Qt::Key_Home, Qt::ControlModifier);
  QCOMPARE(window_->caretLineText(), QStringLiteral("1"));
}

void TestMainWindow::recentFilesKeepTheLastFour() {
  QStringList paths;
  for (int i = 0; i < 5; ++i) {
    const QString path = dir_.filePath(QStringLiteral("r%1.tsm").arg(i));
    QVERIFY(window_->saveFile(path));
    paths.prepend(QFileInfo(path).absoluteFilePath());
  }
  QCOMPARE(QSettings().value("recentFileList").toStringList(),
           paths.mid(0, MainWindow::kRecentFiles));
}

void TestMainWindow::menusAndShortcuts() {
  QCOMPARE(window_->windowTitle(), QStringLiteral("Без имени[*] — Tesmora"));
  QStringList menus;
  QMenu* runMenu = nullptr;
  for (QAction* action : window_->menuBar()->actions()) {
    menus << action->text();
    if (action->text() == QStringLiteral("&Выполнить")) runMenu = action->menu();
  }
  QCOMPARE(menus, (QStringList{"&Файл", "&Правка", "&Вид", "&Выполнить",
                               "Пр&имеры", "&Справка"}));
  QVERIFY(runMenu != nullptr);
  QStringList entries;
  QList<QKeySequence> keys;
  for (QAction* action : runMenu->actions()) {
    if (action->isSeparator()) continue;
    entries << action->text();
    keys << action->shortcut();
  }
  QCOMPARE(entries, (QStringList{"Выполнить &всё", "Выполнить в&ыделенное",
                                 "&Остановить"}));
  QCOMPARE(keys, (QList<QKeySequence>{QKeySequence(Qt::Key_F12),
                                      QKeySequence(Qt::CTRL | Qt::Key_F12),
                                      QKeySequence(Qt::Key_Escape)}));

  const QFont font = window_->editor()->font();
  QCOMPARE(font.pointSize(), 10);
  QVERIFY(QFontInfo(font).fixedPitch());
  QCOMPARE(window_->editor()->tabStopDistance(),
           QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')) * 4);
}

void TestMainWindow::pictureStaysOpenAfterTheRunUntilTheNextRun() {
  typeProgram(QStringLiteral("line(1:3, [1; 4; 9], red, 1);"));
  const QList<SeenBox> boxes = press(Qt::Key_F12);
  QVERIFY2(boxes.isEmpty(), boxes.isEmpty() ? "" : qPrintable(boxes[0].text));
  QCOMPARE(tesmora::graphics::picture().commandCount(), 1);
  PictureDialog* picture = visiblePictureWindow();
  QVERIFY2(picture, "a run that leaves a picture shows the picture window");

  // The next run closes the window before it starts: nothing paints the
  // picture while the run changes it.
  QPointer<PictureDialog> first = picture;
  window_->runProgram();
  QVERIFY(first.isNull());
  picture = visiblePictureWindow();
  QVERIFY(picture);

  // The user closing the window erases the picture.
  picture->close();
  QTRY_VERIFY(visiblePictureWindow() == nullptr);
  QCOMPARE(tesmora::graphics::picture().commandCount(), 0);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
