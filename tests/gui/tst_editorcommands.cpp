// The editor's commands: the line commands (tabs and comments on the
// selected lines), the font size steps, the word a double-click selects,
// the margins, the bars of the view menu, and the help menu's boxes.
#include <QtTest>

#include <QDockWidget>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>

#include "ModalAnswerer.h"
#include "app/Editor.h"
#include "app/EditorFont.h"
#include "app/LineCommands.h"
#include "app/MainWindow.h"
#include "app/WordBounds.h"

using namespace tesmora::app;
using namespace tesmora::app::test;

class TestEditorCommands : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanupTestCase();

  void lineCommandEditsTheSelectedLines_data();
  void lineCommandEditsTheSelectedLines();
  void lineCommandsNeedASelection();
  void toolbarPrompts_data();
  void toolbarPrompts();
  void fontStepsStopAtTheEndsOfTheTable_data();
  void fontStepsStopAtTheEndsOfTheTable();
  void fontIsSemiboldFrom14Points_data();
  void fontIsSemiboldFrom14Points();
  void wordStopsAtEverySeparator_data();
  void wordStopsAtEverySeparator();
  void wordAroundTheCaret_data();
  void wordAroundTheCaret();
  void doubleClickSelectsTheWord();
  void marginsStayAfterNewText();
  void viewMenuShowsAndHidesTheBars();
  void helpOpensTheBrowserWithoutABox();
  void aboutBoxShowsTheVersion();

 private:
  QAction* action(const char* name) const;
  void select(int start, int end);
  // Triggers `act` and returns the boxes it showed, closing each.
  QList<SeenBox> boxesOf(QAction* act);

  MainWindow* window_ = nullptr;
};

void TestEditorCommands::initTestCase() {
  QCoreApplication::setOrganizationName(QStringLiteral("KestrelTests"));
  QCoreApplication::setApplicationName(QStringLiteral("TesmoraEditor"));
  QSettings().clear();
  window_ = new MainWindow;
  window_->show();
  window_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window_));
}

void TestEditorCommands::init() {
  window_->editor()->document()->setModified(false);
  window_->newFile();
  window_->editor()->setFontIndex(kInitialFontIndex);
}

void TestEditorCommands::cleanupTestCase() {
  window_->editor()->document()->setModified(false);
  delete window_;
}

QAction* TestEditorCommands::action(const char* name) const {
  auto* act = window_->findChild<QAction*>(QLatin1String(name));
  if (act == nullptr) qFatal("no action %s", name);
  return act;
}

void TestEditorCommands::select(int start, int end) {
  QTextCursor cursor(window_->editor()->document());
  cursor.setPosition(start);
  cursor.setPosition(end, QTextCursor::KeepAnchor);
  window_->editor()->setTextCursor(cursor);
}

QList<SeenBox> TestEditorCommands::boxesOf(QAction* act) {
  QList<SeenBox> seen;
  ModalAnswerer answerer([&](QWidget* modal) { recordAndClose(modal, seen); });
  act->trigger();
  return seen;
}

void TestEditorCommands::lineCommandEditsTheSelectedLines_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("start");
  QTest::addColumn<int>("end");  // -1: to the end of the text
  QTest::addColumn<QString>("command");
  QTest::addColumn<QString>("expected");

  QTest::newRow("three lines commented, the empty one left")
      << "x = 1;\n\ny = 2;" << 0 << -1 << "insertComment"
      << "//x = 1;\n\n//y = 2;";
  QTest::newRow("remove comment restores them")
      << "//x = 1;\n\n//y = 2;" << 0 << -1 << "removeComment"
      << "x = 1;\n\ny = 2;";
  QTest::newRow("a line without // stays as it is")
      << "//x;\ny; // note\n//z;" << 0 << -1 << "removeComment"
      << "x;\ny; // note\nz;";
  QTest::newRow("one // removed per line")
      << "////x;\n//y;" << 0 << -1 << "removeComment" << "//x;\ny;";
  QTest::newRow("one tab removed per line")
      << "\t\tx;\n\ty;\nz;" << 0 << -1 << "removeTabs" << "\tx;\ny;\nz;";
  QTest::newRow("tabs inserted") << "x;\n  y;" << 0 << -1 << "insertTabs"
                                 << "\tx;\n\t  y;";
  QTest::newRow("a selection from mid-line spares that line")
      << "ab\ncd\nef" << 1 << 7 << "insertComment" << "ab\n//cd\n//ef";
  QTest::newRow("a selection right after a line end takes its line")
      << "ab\ncd" << 3 << 5 << "insertTabs" << "ab\n\tcd";
  QTest::newRow("the line after a final line end is spared")
      << "ab\ncd\nef" << 0 << 6 << "insertComment" << "//ab\n//cd\nef";
  QTest::newRow("a selection inside a line changes nothing")
      << "ab\ncd" << 4 << 5 << "insertComment" << "ab\ncd";
}

void TestEditorCommands::lineCommandEditsTheSelectedLines() {
  QFETCH(QString, text);
  QFETCH(int, start);
  QFETCH(int, end);
  QFETCH(QString, command);
  QFETCH(QString, expected);

  const int stop = end < 0 ? int(text.size()) : end;
  Editor* editor = window_->editor();
  editor->setPlainText(text);
  editor->document()->setModified(false);
  select(start, stop);
  action(command.toLatin1().constData())->trigger();

  QCOMPARE(editor->text(), expected);
  // The changed lines are selected again (the text around the selection
  // is unchanged), and the document is modified.
  const qsizetype after = text.size() - stop;
  QCOMPARE(editor->selectionStart(), start);
  QCOMPARE(editor->selectedText(),
           expected.mid(start, expected.size() - after - start));
  QVERIFY(window_->document().modified);
  // One undo step takes the whole change back.
  editor->undo();
  QCOMPARE(editor->text(), text);
}

void TestEditorCommands::lineCommandsNeedASelection() {
  const QList<QAction*> lineActs = {action("insertTabs"), action("removeTabs"),
                                    action("insertComment"),
                                    action("removeComment")};
  const auto enabled = [&] {
    QList<bool> states;
    for (QAction* act : lineActs) states << act->isEnabled();
    return states;
  };
  const QList<bool> none(4, false);
  const QList<bool> all(4, true);

  Editor* editor = window_->editor();
  editor->setPlainText(QStringLiteral("x = 1;\ny = 2;"));
  QCOMPARE(enabled(), none);
  select(0, 3);
  QCOMPARE(enabled(), all);
  editor->placeCaret(2);
  QCOMPARE(enabled(), none);
  editor->selectAll();
  QCOMPARE(enabled(), all);

  // Triggered without a selection (by a shortcut, say), they change nothing.
  editor->placeCaret(0);
  editor->document()->setModified(false);
  editSelectedLines(*editor, kCommentPrefix, PrefixEdit::Insert);
  QCOMPARE(editor->text(), QStringLiteral("x = 1;\ny = 2;"));
  QVERIFY(!window_->document().modified);
}

void TestEditorCommands::toolbarPrompts_data() {
  QTest::addColumn<QString>("command");
  QTest::addColumn<QString>("prompt");
  QTest::newRow("font bigger") << "fontBigger" << "Увеличивает размер шрифта";
  QTest::newRow("font smaller") << "fontSmaller" << "Уменьшает размер шрифта";
  QTest::newRow("insert tabs") << "insertTabs" << "Вставляет символы табуляции";
  QTest::newRow("remove tabs") << "removeTabs" << "Удаляет символы табуляции";
  QTest::newRow("insert comment") << "insertComment" << "Вставляет //";
  QTest::newRow("remove comment") << "removeComment" << "Удаляет //";
}

void TestEditorCommands::toolbarPrompts() {
  QFETCH(QString, command);
  QFETCH(QString, prompt);
  QAction* act = action(command.toLatin1().constData());
  QCOMPARE(act->statusTip(), prompt);
  auto* toolBar = window_->findChild<QToolBar*>(QStringLiteral("toolBar"));
  QVERIFY(toolBar->actions().contains(act));
}

void TestEditorCommands::fontStepsStopAtTheEndsOfTheTable_data() {
  QTest::addColumn<int>("index");
  QTest::addColumn<bool>("bigger");
  QTest::addColumn<bool>("smaller");
  QTest::newRow("9 points, the smallest") << 0 << true << false;
  QTest::newRow("10 points, the first") << 1 << true << true;
  QTest::newRow("26 points") << 10 << true << true;
  QTest::newRow("28 points, the largest") << 11 << false << true;
}

void TestEditorCommands::fontStepsStopAtTheEndsOfTheTable() {
  QFETCH(int, index);
  QFETCH(bool, bigger);
  QFETCH(bool, smaller);
  Editor* editor = window_->editor();
  editor->setFontIndex(index);
  QCOMPARE(action("fontBigger")->isEnabled(), bigger);
  QCOMPARE(action("fontSmaller")->isEnabled(), smaller);

  // A step moves one place in the table, and never past its ends.
  action("fontBigger")->trigger();
  QCOMPARE(editor->fontIndex(), std::min(index + 1, 11));
  editor->setFontIndex(index);
  action("fontSmaller")->trigger();
  QCOMPARE(editor->fontIndex(), std::max(index - 1, 0));
  QCOMPARE(editor->font().pointSize(), kFontSizes[editor->fontIndex()]);
}

void TestEditorCommands::fontIsSemiboldFrom14Points_data() {
  QTest::addColumn<int>("index");
  QTest::addColumn<int>("points");
  QTest::addColumn<int>("weight");
  QTest::newRow("9") << 0 << 9 << int(QFont::Normal);
  QTest::newRow("12") << 3 << 12 << int(QFont::Normal);
  QTest::newRow("14") << 4 << 14 << int(QFont::DemiBold);
  QTest::newRow("28") << 11 << 28 << int(QFont::DemiBold);
}

void TestEditorCommands::fontIsSemiboldFrom14Points() {
  QFETCH(int, index);
  QFETCH(int, points);
  QFETCH(int, weight);
  Editor* editor = window_->editor();
  editor->setFontIndex(index);
  const QFont font = editor->font();
  QCOMPARE(font.pointSize(), points);
  QCOMPARE(int(font.weight()), weight);
  QVERIFY(QFontInfo(font).fixedPitch());
  // The tab stops stay four characters wide in the new size.
  QCOMPARE(editor->tabStopDistance(),
           QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')) * 4);
}

void TestEditorCommands::wordStopsAtEverySeparator_data() {
  QTest::addColumn<QString>("separator");
  const QString separators =
      QStringLiteral("+-*/%^\\'()[]{}=!~:,;&<>?|#@$. \r\n\t\"");
  for (QChar c : separators) {
    const QByteArray name = "U+" + QByteArray::number(c.unicode(), 16);
    QTest::newRow(name.constData()) << QString(c);
  }
}

void TestEditorCommands::wordStopsAtEverySeparator() {
  QFETCH(QString, separator);
  const QString text = QStringLiteral("ab") + separator + QStringLiteral("cd");
  const WordBounds left = wordAround(text, 1);
  QCOMPARE(text.mid(left.start, left.end - left.start), QStringLiteral("ab"));
  const WordBounds right = wordAround(text, 4);
  QCOMPARE(text.mid(right.start, right.end - right.start), QStringLiteral("cd"));
}

void TestEditorCommands::wordAroundTheCaret_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("position");
  QTest::addColumn<QString>("word");
  QTest::newRow("a name in a call") << "y = sin(x);" << 5 << "sin";
  QTest::newRow("caret at the word's end") << "y = sin(x);" << 7 << "sin";
  QTest::newRow("caret at the word's start") << "y = sin(x);" << 4 << "sin";
  QTest::newRow("underscores, digits, letters")
      << "имя_2 = 1;" << 2 << "имя_2";
  QTest::newRow("a number's point splits it") << "x = 12.5;" << 5 << "12";
  QTest::newRow("the text's ends stop it") << "alpha" << 3 << "alpha";
  QTest::newRow("characters outside the set join the word")
      << "x = a`b№c_1;" << 6 << "a`b№c_1";
  QTest::newRow("between two separators") << "a(+)b" << 2 << "";
  QTest::newRow("the next line is not taken") << "ab\ncd" << 2 << "ab";
}

void TestEditorCommands::wordAroundTheCaret() {
  QFETCH(QString, text);
  QFETCH(int, position);
  QFETCH(QString, word);
  Editor* editor = window_->editor();
  editor->setPlainText(text);
  editor->selectWordAt(position);
  QCOMPARE(editor->selectedText(), word);
}

void TestEditorCommands::doubleClickSelectsTheWord() {
  Editor* editor = window_->editor();
  // Qt's own word rules would stop at the backquote as well.
  editor->setPlainText(QStringLiteral("z = max`val+cos(x);"));
  editor->placeCaret(6);
  const QPoint inside = editor->cursorRect().center();
  QTest::mouseDClick(editor->viewport(), Qt::LeftButton, {}, inside);
  QCOMPARE(editor->selectedText(), QStringLiteral("max`val"));
  QVERIFY(action("insertComment")->isEnabled());
}

void TestEditorCommands::marginsStayAfterNewText() {
  Editor* editor = window_->editor();
  editor->setPlainText(QStringLiteral("x = 1;"));
  window_->newFile();
  editor->setFontIndex(6);
  // A short text needs no scroll bar: the viewport is the frame's inside
  // less the line numbers and the margins.
  const QRect inside = editor->contentsRect();
  const QRect viewport = editor->viewport()->geometry();
  QCOMPARE(viewport.left() - inside.left(), editor->lineNumberWidth() + 10);
  QCOMPARE(inside.right() - viewport.right(), 2);
  // The text starts right at the margin.
  QCOMPARE(editor->document()->documentMargin(), 0.0);
}

void TestEditorCommands::viewMenuShowsAndHidesTheBars() {
  auto* toolBar = window_->findChild<QToolBar*>(QStringLiteral("toolBar"));
  QVERIFY(toolBar->isVisible());
  action("toggleToolBar")->trigger();
  QVERIFY(!toolBar->isVisible());
  action("toggleToolBar")->trigger();
  QVERIFY(toolBar->isVisible());

  QVERIFY(window_->statusBar()->isVisible());
  action("toggleStatusBar")->trigger();
  QVERIFY(!window_->statusBar()->isVisible());
  action("toggleStatusBar")->trigger();
  QVERIFY(window_->statusBar()->isVisible());
}

void TestEditorCommands::helpOpensTheBrowserWithoutABox() {
  // The help is compiled in: no help file is looked for, no box is shown.
  QCOMPARE(action("help")->shortcut(), QKeySequence(Qt::Key_F1));
  const QList<SeenBox> boxes = boxesOf(action("help"));
  QCOMPARE(boxes.size(), 0);
  QVERIFY(window_->findChild<QDockWidget*>(QStringLiteral("helpDock"))->isVisible());
}

void TestEditorCommands::aboutBoxShowsTheVersion() {
  const QList<SeenBox> boxes = boxesOf(action("about"));
  QCOMPARE(boxes.size(), 1);
  QCOMPARE(boxes[0].title, QStringLiteral("Версия Tesmora"));
  const QRegularExpression product(
      QStringLiteral("^Tesmora\nВерсия \\d+\\.\\d+\\.\\d+$"));
  QVERIFY2(product.match(boxes[0].text).hasMatch(), qPrintable(boxes[0].text));
}

QTEST_MAIN(TestEditorCommands)
#include "tst_editorcommands.moc"
