// The workspace around the editor: the variables view after whole and
// fragment runs, the results pane's history and its console, the setting
// that keeps results out of boxes, the title with the file name and the
// modified mark, and the settings kept across starts.
#include <QtTest>

#include <QListWidget>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "ModalAnswerer.h"
#include "app/Editor.h"
#include "app/MainWindow.h"
#include "app/ResultsDock.h"
#include "app/VariablesDock.h"

using namespace tesmora::app;
using namespace tesmora::app::test;

namespace {

// name → "caption | short value"
QMap<QString, QString> listed(MainWindow& window) {
  QMap<QString, QString> rows;
  QTreeWidget* list = window.variablesDock()->list();
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = list->topLevelItem(i);
    rows.insert(item->text(0), item->text(1) + QStringLiteral(" | ") + item->text(2));
  }
  return rows;
}

QString lastHistoryEntry(MainWindow& window) {
  QListWidget* history = window.resultsDock()->history();
  return history->count() == 0 ? QString() : history->item(history->count() - 1)->text();
}

}  // namespace

class TestPanes : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanupTestCase();
  void variablesAfterWholeAndFragmentRuns();
  void detailsShowTablesAndTexts();
  void historyKeepsResultsAndErrors();
  void consoleRunsALineWithTheVariables();
  void consoleAddsTheFinalSemicolonOfAStatement_data();
  void consoleAddsTheFinalSemicolonOfAStatement();
  void resultsOnlyInThePane();
  void titleNamesTheFileAndMarksChanges();
  void settingsSurviveARestart();

 private:
  QList<SeenBox> run();
  void selectText(const QString& part);

  QTemporaryDir dir_;
  MainWindow* window_ = nullptr;
};

void TestPanes::initTestCase() {
  QCoreApplication::setOrganizationName(QStringLiteral("KestrelTests"));
  QCoreApplication::setApplicationName(QStringLiteral("TesmoraPanes"));
  QSettings().clear();
  window_ = new MainWindow;
  window_->show();
  window_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window_));
}

void TestPanes::init() {
  window_->editor()->document()->setModified(false);
  window_->newFile();
  window_->document().created = QDateTime::currentDateTime();
}

void TestPanes::cleanupTestCase() {
  window_->editor()->document()->setModified(false);
  delete window_;
}

QList<SeenBox> TestPanes::run() {
  QList<SeenBox> seen;
  ModalAnswerer answerer([&](QWidget* modal) { recordAndClose(modal, seen); });
  window_->runProgram();
  return seen;
}

void TestPanes::selectText(const QString& part) {
  const int start = int(window_->editor()->text().indexOf(part));
  QVERIFY(start >= 0);
  QTextCursor cursor = window_->editor()->textCursor();
  cursor.setPosition(start);
  cursor.setPosition(start + int(part.size()), QTextCursor::KeepAnchor);
  window_->editor()->setTextCursor(cursor);
}

void TestPanes::variablesAfterWholeAndFragmentRuns() {
  window_->editor()->setPlainText(QStringLiteral(
      "A = [1, 2; 3, 4];\ns = \"текст\";\nn = 3;\nT = super(2, 1);\nn;\nm = n + 1;"));
  selectText(QStringLiteral("n = 3;\nT = super(2, 1);\nn;"));
  window_->editor()->setTextCursor(QTextCursor(window_->editor()->document()));
  // A whole run without "m = n + 1;": the caret is at the start.
  window_->editor()->setPlainText(QStringLiteral(
      "A = [1, 2; 3, 4];\ns = \"текст\";\nn = 3;\nT = super(2, 1);\nn;"));
  QCOMPARE(run().size(), 1);
  QMap<QString, QString> rows = listed(*window_);
  QCOMPARE(rows.keys(), (QStringList{"A", "T", "n", "s"}));
  QCOMPARE(rows["A"], QStringLiteral("Матрица 2×2 | 1, 2; 3, 4"));
  QCOMPARE(rows["n"], QStringLiteral("Скаляр | 3"));
  QVERIFY2(rows["s"].startsWith(QStringLiteral("Строка | ")), qPrintable(rows["s"]));
  QVERIFY2(rows["T"].startsWith(QStringLiteral("Суперматрица 2×1")), qPrintable(rows["T"]));

  // A fragment run adds to the variables of the whole run.
  window_->editor()->moveCursor(QTextCursor::End);
  window_->editor()->insertPlainText(QStringLiteral("\nm = n + 1;"));
  selectText(QStringLiteral("m = n + 1;"));
  QCOMPARE(run().size(), 1);
  rows = listed(*window_);
  QCOMPARE(rows.keys(), (QStringList{"A", "T", "m", "n", "s"}));
  QCOMPARE(rows["m"], QStringLiteral("Скаляр | 4"));

  // A whole run starts again from the predefined names, never listed.
  window_->editor()->setPlainText(QStringLiteral("x = pi;"));
  QCOMPARE(run().size(), 1);
  QCOMPARE(listed(*window_).keys(), QStringList{"x"});
}

void TestPanes::detailsShowTablesAndTexts() {
  window_->editor()->setPlainText(
      QStringLiteral("M = [1.5, 2; 3, 4; 5, 6];\nS = \"строка\\nвторая\";\n"));
  QCOMPARE(run().size(), 1);
  VariablesDock* dock = window_->variablesDock();
  QCOMPARE(int(dock->variables().size()), 2);

  QDialog* table = dock->openDetails(0);
  QVERIFY(table);
  auto* cells = table->findChild<QTableWidget*>();
  QVERIFY(cells);
  QCOMPARE(cells->rowCount(), 3);
  QCOMPARE(cells->columnCount(), 2);
  QCOMPARE(cells->item(0, 0)->text(), QStringLiteral("1.5"));
  QCOMPARE(cells->item(2, 1)->text(), QStringLiteral("6"));
  table->close();

  QDialog* text = dock->openDetails(1);
  auto* shown = text->findChild<QPlainTextEdit*>();
  QVERIFY(shown);
  QVERIFY(shown->toPlainText().contains(QStringLiteral("строка")));
  text->close();
  QVERIFY(dock->openDetails(7) == nullptr);
}

void TestPanes::historyKeepsResultsAndErrors() {
  window_->editor()->setPlainText(QStringLiteral("2 + 3"));
  QCOMPARE(run().size(), 1);
  QString entry = lastHistoryEntry(*window_);
  QVERIFY2(entry.contains(QStringLiteral("Скаляр:\n5")), qPrintable(entry));
  QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d")).match(entry).hasMatch());

  window_->editor()->setPlainText(QStringLiteral("1;\nzz + 1;"));
  QCOMPARE(run().size(), 1);
  entry = lastHistoryEntry(*window_);
  QVERIFY2(entry.contains(QStringLiteral("Ошибка: zz:  нет определения")), qPrintable(entry));
  QCOMPARE(window_->editor()->errorMark(), 5);

  // Clicking the error brings the caret back to it.
  window_->editor()->placeCaret(0);
  QListWidget* history = window_->resultsDock()->history();
  QListWidgetItem* error = history->item(history->count() - 1);
  history->scrollToItem(error);
  QTest::mouseClick(history->viewport(), Qt::LeftButton, {},
                    history->visualItemRect(error).center());
  QCOMPARE(window_->editor()->textCursor().position(), 5);
  QCOMPARE(window_->editor()->errorMark(), 5);
  // Editing clears the mark.
  window_->editor()->insertPlainText(QStringLiteral(" "));
  QCOMPARE(window_->editor()->errorMark(), -1);
}

void TestPanes::consoleRunsALineWithTheVariables() {
  window_->editor()->setPlainText(QStringLiteral("k = 21;"));
  QCOMPARE(run().size(), 1);
  ConsoleLine* console = window_->resultsDock()->console();
  QList<SeenBox> boxes;
  {
    ModalAnswerer answerer([&](QWidget* modal) { recordAndClose(modal, boxes); });
    console->setFocus();
    QTest::keyClicks(console, QStringLiteral("k * 2"));
    QTest::keyClick(console, Qt::Key_Return);
    QTest::keyClicks(console, QStringLiteral("j = k + 1"));
    QTest::keyClick(console, Qt::Key_Return);
    QTest::keyClicks(console, QStringLiteral("nope"));
    QTest::keyClick(console, Qt::Key_Return);
  }
  QVERIFY(boxes.isEmpty());  // the console answers in the pane
  QListWidget* history = window_->resultsDock()->history();
  const QString doubled = history->item(history->count() - 3)->text();
  QVERIFY2(doubled.contains(QStringLiteral("> k * 2")) && doubled.endsWith(QStringLiteral("42")),
           qPrintable(doubled));
  QVERIFY(lastHistoryEntry(*window_).contains(QStringLiteral("nope:  нет определения")));
  QVERIFY(listed(*window_).contains(QStringLiteral("j")));
  QVERIFY(window_->editor()->text() == QStringLiteral("k = 21;"));

  // Up and Down walk the console's lines; Down past the last restores the
  // line being typed.
  QTest::keyClicks(console, QStringLiteral("draft"));
  QTest::keyClick(console, Qt::Key_Up);
  QCOMPARE(console->text(), QStringLiteral("nope"));
  QTest::keyClick(console, Qt::Key_Up);
  QTest::keyClick(console, Qt::Key_Up);
  QTest::keyClick(console, Qt::Key_Up);
  QCOMPARE(console->text(), QStringLiteral("k * 2"));
  QTest::keyClick(console, Qt::Key_Down);
  QCOMPARE(console->text(), QStringLiteral("j = k + 1"));
  QTest::keyClick(console, Qt::Key_Down);
  QTest::keyClick(console, Qt::Key_Down);
  QCOMPARE(console->text(), QStringLiteral("draft"));
  console->clear();
}

void TestPanes::consoleAddsTheFinalSemicolonOfAStatement_data() {
  QTest::addColumn<QString>("line");
  QTest::addColumn<QString>("run");
  QTest::newRow("assignment") << "x = 5" << "x = 5;";
  QTest::newRow("expression") << "x * 2" << "x * 2";
  QTest::newRow("comparisons") << "x == 1 | x <= 2 | x >= 3 | x != 4"
                               << "x == 1 | x <= 2 | x >= 3 | x != 4";
  QTest::newRow("already ended") << "x = 5;" << "x = 5;";
  QTest::newRow("block") << "if (x > 1) { y = 2; }" << "if (x > 1) { y = 2; }";
  QTest::newRow("= inside a string") << "\"a=b\"" << "\"a=b\"";
  QTest::newRow("multiple assignment") << "[a, b] = [1, 2]" << "[a, b] = [1, 2];";
}

void TestPanes::consoleAddsTheFinalSemicolonOfAStatement() {
  QFETCH(QString, line);
  QFETCH(QString, run);
  QCOMPARE(consoleProgramText(line), run);
}

void TestPanes::resultsOnlyInThePane() {
  QAction* onlyInPane = window_->findChild<QAction*>(QStringLiteral("resultsOnlyInPane"));
  QVERIFY(onlyInPane && !onlyInPane->isChecked());
  onlyInPane->setChecked(true);
  window_->editor()->setPlainText(QStringLiteral("6 * 7"));
  QVERIFY(run().isEmpty());
  QVERIFY(lastHistoryEntry(*window_).endsWith(QStringLiteral("42")));
  // Errors keep their box.
  window_->editor()->setPlainText(QStringLiteral("qq"));
  QCOMPARE(run().size(), 1);
  onlyInPane->setChecked(false);
}

void TestPanes::titleNamesTheFileAndMarksChanges() {
  QCOMPARE(window_->windowTitle(), QStringLiteral("Без имени[*] — Tesmora"));
  const QString path = dir_.filePath(QStringLiteral("задача.tsm"));
  QVERIFY(window_->saveFile(path));
  QCOMPARE(window_->windowTitle(), QStringLiteral("задача.tsm[*] — Tesmora"));
  QVERIFY(!window_->isWindowModified());
  QTest::keyClicks(window_->editor(), QStringLiteral("1"));
  QVERIFY(window_->isWindowModified());
  QVERIFY(window_->save());
  QVERIFY(!window_->isWindowModified());
}

void TestPanes::settingsSurviveARestart() {
  {
    MainWindow first;
    first.show();
    first.editor()->setFontIndex(5);
    first.findChild<QAction*>(QStringLiteral("resultsOnlyInPane"))->setChecked(true);
    first.resultsDock()->hide();
    QVERIFY(first.close());
  }
  MainWindow second;
  second.show();
  QCOMPARE(second.editor()->fontIndex(), 5);
  QVERIFY(second.findChild<QAction*>(QStringLiteral("resultsOnlyInPane"))->isChecked());
  QVERIFY(!second.resultsDock()->isVisible());
  QVERIFY(second.variablesDock()->isVisible());
  QSettings().clear();
}

QTEST_MAIN(TestPanes)
#include "tst_panes.moc"
