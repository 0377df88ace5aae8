// The editor's tools: find and replace with the match count and the case
// and whole-word options, go to line, undo and redo from the menu and the
// standard keys, syntax colours for light and dark palettes, completion
// and call tips of builtin names, and bracket matching.
#include <QtTest>

#include <QAbstractItemView>
#include <QCompleter>
#include <QInputDialog>
#include <QMenuBar>

#include "ModalAnswerer.h"
#include "app/BuiltinCatalogue.h"
#include "app/Editor.h"
#include "app/FindBar.h"
#include "app/LanguageHighlighter.h"
#include "app/MainWindow.h"

using namespace tesmora::app;
using namespace tesmora::app::test;

Q_DECLARE_METATYPE(TokenStyle)

class TestEditorFeatures : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanupTestCase();
  void matchesFollowTheOptions_data();
  void matchesFollowTheOptions();
  void findBarCountsSelectsAndReplaces();
  void goToLineAsksForTheNumber();
  void undoAndRedoFromTheMenuAndKeys();
  void lineIsColouredByTokens_data();
  void lineIsColouredByTokens();
  void darkPaletteGetsItsOwnColours();
  void signaturesComeFromTheRegistryClass_data();
  void signaturesComeFromTheRegistryClass();
  void completionInsertsABuiltinAndShowsItsCallTip();
  void bracketAtTheCaretFindsItsPartner_data();
  void bracketAtTheCaretFindsItsPartner();

 private:
  QAction* action(const char* name) const {
    return window_->findChild<QAction*>(QLatin1String(name));
  }
  MainWindow* window_ = nullptr;
};

void TestEditorFeatures::initTestCase() {
  QCoreApplication::setOrganizationName(QStringLiteral("KestrelTests"));
  QCoreApplication::setApplicationName(QStringLiteral("TesmoraFeatures"));
  window_ = new MainWindow;
  window_->show();
  window_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window_));
}

void TestEditorFeatures::init() {
  window_->editor()->document()->setModified(false);
  window_->newFile();
  window_->editor()->setFocus();
}

void TestEditorFeatures::cleanupTestCase() {
  window_->editor()->document()->setModified(false);
  delete window_;
}

void TestEditorFeatures::matchesFollowTheOptions_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("pattern");
  QTest::addColumn<bool>("matchCase");
  QTest::addColumn<bool>("wholeWord");
  QTest::addColumn<QList<int>>("starts");
  const QString text = QStringLiteral("x = X + xx; f(x)*x_1 + \"x\"");
  QTest::newRow("any case") << text << "x" << false << false
                            << QList<int>{0, 4, 8, 9, 14, 17, 24};
  QTest::newRow("match case") << text << "X" << true << false << QList<int>{4};
  QTest::newRow("whole word, language separators")
      << text << "x" << false << true << QList<int>{0, 4, 14, 24};
  QTest::newRow("no overlaps") << QStringLiteral("aaaa") << "aa" << true << false
                               << QList<int>{0, 2};
  QTest::newRow("cyrillic any case") << QStringLiteral("Сумма + сумма") << "сумма"
                                     << false << true << QList<int>{0, 8};
  QTest::newRow("empty pattern") << text << "" << false << false << QList<int>{};
}

void TestEditorFeatures::matchesFollowTheOptions() {
  QFETCH(QString, text);
  QFETCH(QString, pattern);
  QFETCH(bool, matchCase);
  QFETCH(bool, wholeWord);
  QFETCH(QList<int>, starts);
  QCOMPARE(findMatches(text, pattern, matchCase, wholeWord), starts);
}

void TestEditorFeatures::findBarCountsSelectsAndReplaces() {
  Editor* editor = window_->editor();
  editor->setPlainText(QStringLiteral("a = 1;\nab = a + 2;\nA = a;"));
  action("find")->trigger();
  FindBar* bar = window_->findBar();
  QVERIFY(bar->isVisible());
  bar->setPattern(QStringLiteral("a"));
  QCOMPARE(bar->matchCount(), 5);
  QCOMPARE(bar->countText(), QStringLiteral("Найдено: 5"));
  bar->setWholeWord(true);
  QCOMPARE(bar->matchCount(), 4);
  bar->setMatchCase(true);
  QCOMPARE(bar->matchCount(), 3);

  editor->placeCaret(0);
  QVERIFY(bar->findNext());
  QCOMPARE(editor->selectionStart(), 0);
  QVERIFY(bar->findNext());
  QCOMPARE(editor->selectionStart(), 12);
  QVERIFY(bar->findPrevious());
  QCOMPARE(editor->selectionStart(), 0);
  QVERIFY(bar->findPrevious());  // wraps to the last match
  QCOMPARE(editor->selectionStart(), 23);

  action("replace")->trigger();
  bar->setPattern(QStringLiteral("a"));
  bar->setReplacement(QStringLiteral("альфа"));
  QCOMPARE(bar->replaceAll(), 3);
  QCOMPARE(editor->text(), QStringLiteral("альфа = 1;\nab = альфа + 2;\nA = альфа;"));
  QCOMPARE(bar->matchCount(), 0);
  // One undo step takes the whole replacement back.
  editor->undo();
  QCOMPARE(editor->text(), QStringLiteral("a = 1;\nab = a + 2;\nA = a;"));
  bar->setPattern(QStringLiteral("zzz"));
  QCOMPARE(bar->countText(), QStringLiteral("Не найдено"));
  QVERIFY(!bar->findNext());
  QTest::keyClick(bar, Qt::Key_Escape);
  QVERIFY(!bar->isVisible());
}

void TestEditorFeatures::goToLineAsksForTheNumber() {
  Editor* editor = window_->editor();
  editor->setPlainText(QStringLiteral("1;\n2;\n3;\n4;\n5;"));
  QCOMPARE(action("goToLine")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_G));
  int maximum = 0;
  {
    ModalAnswerer answerer([&](QWidget* modal) {
      auto* dialog = qobject_cast<QInputDialog*>(modal);
      QVERIFY(dialog);
      maximum = dialog->intMaximum();
      dialog->setIntValue(4);
      dialog->accept();
    });
    action("goToLine")->trigger();
  }
  QCOMPARE(maximum, 5);
  QCOMPARE(editor->caretLine(), 4);
  QCOMPARE(editor->textCursor().positionInBlock(), 0);
  QCOMPARE(window_->caretLineText(), QStringLiteral("4"));
  editor->goToLine(99);
  QCOMPARE(editor->caretLine(), 5);
}

void TestEditorFeatures::undoAndRedoFromTheMenuAndKeys() {
  QCOMPARE(action("undo")->shortcuts().first(), QKeySequence(Qt::CTRL | Qt::Key_Z));
  QCOMPARE(action("redo")->shortcuts(),
           (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y),
                                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
  QMenu* edit = nullptr;
  for (QAction* menu : window_->menuBar()->actions())
    if (menu->text() == QStringLiteral("&Правка")) edit = menu->menu();
  QVERIFY(edit && edit->actions().contains(action("redo")));

  Editor* editor = window_->editor();
  QTest::keyClicks(editor, QStringLiteral("abc"));
  QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(editor->text(), QString());
  QTest::keyClick(editor, Qt::Key_Y, Qt::ControlModifier);
  QCOMPARE(editor->text(), QStringLiteral("abc"));
  action("undo")->trigger();
  QCOMPARE(editor->text(), QString());
  QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  QCOMPARE(editor->text(), QStringLiteral("abc"));
}

void TestEditorFeatures::lineIsColouredByTokens_data() {
  QTest::addColumn<QString>("line");
  QTest::addColumn<QString>("styles");  // one letter per styled token
  // k keyword, n number, s string, c comment, o operator, b builtin,
  // u user function
  QTest::newRow("statement") << "if (x > 1.5e-3) y = sin(x); // ответ"
                             << "koonooboooc";
  QTest::newRow("string hides comment and keyword")
      << "s = \"// if\";" << "oso";
  QTest::newRow("user function") << "function f(x) = x^2;" << "kuoooono";
  QTest::newRow("cyrillic names are plain") << "число = 2;" << "ono";
  QTest::newRow("colour and constant") << "line(x, y, red, 2);"
                                       << "booobonoo";
  QTest::newRow("unterminated string") << "s = \"abc" << "os";
}

void TestEditorFeatures::lineIsColouredByTokens() {
  QFETCH(QString, line);
  QFETCH(QString, styles);
  const QSet<QString> functions = definedFunctionNames(line);
  QString letters;
  for (const SyntaxToken& token : tokenizeLine(line, functions)) {
    switch (token.style) {
      case TokenStyle::Keyword: letters += u'k'; break;
      case TokenStyle::Number: letters += u'n'; break;
      case TokenStyle::String: letters += u's'; break;
      case TokenStyle::Comment: letters += u'c'; break;
      case TokenStyle::Operator: letters += u'o'; break;
      case TokenStyle::Builtin: letters += u'b'; break;
      case TokenStyle::UserFunction: letters += u'u'; break;
      case TokenStyle::Plain: letters += u'?'; break;
    }
  }
  QCOMPARE(letters, styles);
}

void TestEditorFeatures::darkPaletteGetsItsOwnColours() {
  Editor editor;
  LanguageHighlighter* highlighter = editor.highlighter();
  QPalette light;
  light.setColor(QPalette::Base, Qt::white);
  light.setColor(QPalette::Text, Qt::black);
  QPalette dark;
  dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
  dark.setColor(QPalette::Text, QColor(0xdd, 0xdd, 0xdd));
  for (const QPalette& palette : {light, dark}) {
    editor.setPalette(palette);
    const QColor base = palette.color(QPalette::Base);
    for (TokenStyle style : {TokenStyle::Keyword, TokenStyle::Number,
                             TokenStyle::String, TokenStyle::Comment,
                             TokenStyle::Builtin}) {
      // Every colour stands apart from its background.
      const qreal contrast =
          std::abs(highlighter->colorOf(style).lightnessF() - base.lightnessF());
      QVERIFY2(contrast > 0.3, qPrintable(highlighter->colorOf(style).name()));
    }
  }
}

void TestEditorFeatures::signaturesComeFromTheRegistryClass_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("className");
  QTest::addColumn<QString>("signature");
  QTest::newRow("number of two") << "pow" << "SF_DD" << "pow(число, число) → число";
  QTest::newRow("any value") << "iff" << "FunctionO_DOO"
                             << "iff(число, значение, значение) → значение";
  QTest::newRow("optional after _") << "f" << "SF_MD_D"
                                    << "f(матрица, число, [число]) → число";
  QTest::newRow("default zero") << "g" << "SF_DD0" << "g(число, [число]) → число";
  QTest::newRow("strings and tables") << "h" << "FunctionO_SupStr"
                                      << "h(суперматрица, строка) → значение";
  QTest::newRow("no arguments") << "rand" << "SF_" << "rand() → число";
  QTest::newRow("any arguments") << "msg" << "COFunc" << "msg(…)";
  QTest::newRow("a constant") << "pi" << "Scalar" << "";
}

void TestEditorFeatures::signaturesComeFromTheRegistryClass() {
  QFETCH(QString, name);
  QFETCH(QString, className);
  QFETCH(QString, signature);
  QCOMPARE(BuiltinCatalogue::signatureOf(name, className), signature);
}

void TestEditorFeatures::completionInsertsABuiltinAndShowsItsCallTip() {
  const BuiltinCatalogue& catalogue = BuiltinCatalogue::instance();
  QVERIFY(catalogue.contains(QStringLiteral("sin")));
  QVERIFY(catalogue.contains(QStringLiteral("red")));
  QCOMPARE(catalogue.signature(QStringLiteral("sin")),
           QStringLiteral("sin(число) → число"));

  Editor* editor = window_->editor();
  QTest::keyClicks(editor, QStringLiteral("x = sqlin"));
  QCompleter* completer = editor->completer();
  QVERIFY(completer->popup()->isVisible());
  QCOMPARE(completer->currentCompletion(), QStringLiteral("sqline"));
  QTest::keyClick(editor, Qt::Key_Return);
  QCOMPARE(editor->text(), QStringLiteral("x = sqline"));
  QVERIFY(!completer->popup()->isVisible());
  QVERIFY(editor->callTip().startsWith(QStringLiteral("sqline(")));

  // Typing "(" after a name shows its arguments.
  editor->clear();
  QTest::keyClicks(editor, QStringLiteral("y = pow("));
  QCOMPARE(editor->callTip(), QStringLiteral("pow(число, число) → число"));
  QCOMPARE(editor->text(), QStringLiteral("y = pow("));
}

void TestEditorFeatures::bracketAtTheCaretFindsItsPartner_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("caret");
  QTest::addColumn<int>("first");
  QTest::addColumn<int>("second");
  QTest::newRow("before an opening") << "f((1), [2])" << 1 << 1 << 10;
  QTest::newRow("after a closing") << "f((1), [2])" << 5 << 4 << 2;
  QTest::newRow("square") << "[1, [2]]" << 0 << 0 << 7;
  QTest::newRow("unbalanced") << "{ (1" << 0 << 0 << -1;
  QTest::newRow("no bracket") << "abc" << 1 << -1 << -1;
}

void TestEditorFeatures::bracketAtTheCaretFindsItsPartner() {
  QFETCH(QString, text);
  QFETCH(int, caret);
  QFETCH(int, first);
  QFETCH(int, second);
  Editor* editor = window_->editor();
  editor->setPlainText(text);
  editor->placeCaret(caret + 1);
  editor->placeCaret(caret);
  QCOMPARE(editor->matchedBrackets(), qMakePair(first, second));
}

QTEST_MAIN(TestEditorFeatures)
#include "tst_editorfeatures.moc"
