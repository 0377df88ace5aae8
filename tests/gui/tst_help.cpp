// The help browser in the desktop program: F1 on the word at the caret, the
// index filtered by a word without an entry, links between entries, the
// copy of an example into the editor, and the "Справка" menu.
#include <QtTest>

#include <QDockWidget>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QSettings>
#include <QTextBrowser>

#include "app/Editor.h"
#include "app/HelpBrowser.h"
#include "app/MainWindow.h"

using namespace tesmora;
using namespace tesmora::app;

namespace {

// A small reference of our own, so that these tests do not depend on which
// entries the documentation holds.
const help::HelpLibrary& sampleLibrary() {
  static const help::HelpLibrary library({
      {"guide/01-values.md", "# Значения и их вид\n\nСм. [pl](../reference/laws.md#pl).\n"},
      {"guide/04-statements.md", "# Операторы языка\n"},
      {"guide/errors.md", "# Сообщения об ошибках\n\nТекст.\n"},
      {"reference/elementary.md",
       "# Элементарные функции\n\n## sin\n\nСинус. См. [pl](laws.md#pl).\n\n"
       "```tesmora\nsin(0)\n```\n\n```result\n0\n```\n"},
      {"reference/laws.md",
       "# Законы\n\n## pl\n\nФункция распределения.\n\n"
       "## pgle\n\nВероятность попадания в отрезок.\n\n"
       "```tesmora\nL = nlaw(0, 1);\nL.pgle(-1, 1)\n```\n\n```result\n0.6826895\n```\n"},
  });
  return library;
}

}  // namespace

class TestHelp : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanupTestCase();

  void f1OpensTheEntryOfTheWordAtTheCaret_data();
  void f1OpensTheEntryOfTheWordAtTheCaret();
  void f1WithoutAWordOpensTheGuide();
  void linksLeadToOtherEntries();
  void exampleLinkCopiesTheExampleIntoTheEditor();
  void backReturnsToThePreviousPage();
  void searchFieldFiltersTheIndex();
  void helpMenuOpensGuideIndexAndErrors_data();
  void helpMenuOpensGuideIndexAndErrors();
  void embeddedDocsHoldTheGuide();

 private:
  HelpBrowser* browser() const { return window_->findChild<HelpBrowser*>(); }
  QDockWidget* dock() const { return window_->findChild<QDockWidget*>(QStringLiteral("helpDock")); }
  void pressF1At(const QString& text, int caret);

  MainWindow* window_ = nullptr;
};

void TestHelp::initTestCase() {
  QCoreApplication::setOrganizationName(QStringLiteral("KestrelTests"));
  QCoreApplication::setApplicationName(QStringLiteral("TesmoraHelp"));
  QSettings().clear();
  window_ = new MainWindow;
  window_->show();
  window_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window_));
  QVERIFY(browser());
  QVERIFY(dock());
}

void TestHelp::init() {
  window_->editor()->document()->setModified(false);
  window_->newFile();
  browser()->setLibrary(sampleLibrary());
  dock()->hide();
}

void TestHelp::cleanupTestCase() {
  window_->editor()->document()->setModified(false);
  delete window_;
}

void TestHelp::pressF1At(const QString& text, int caret) {
  window_->editor()->setPlainText(text);
  window_->editor()->placeCaret(caret);
  window_->editor()->setFocus();
  QTest::keyClick(window_->editor(), Qt::Key_F1);
}

void TestHelp::f1OpensTheEntryOfTheWordAtTheCaret_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("caret");
  QTest::addColumn<QString>("entry");   // empty: no entry, the index instead
  QTest::addColumn<QString>("filter");
  QTest::addColumn<QStringList>("listed");
  QTest::addColumn<QString>("page");  // the guide's chapter of a keyword

  QTest::newRow("sin, caret inside") << "y = sin(1);" << 5 << "sin" << "" << QStringList() << "";
  QTest::newRow("sin, caret after") << "sin" << 3 << "sin" << "" << QStringList() << "";
  QTest::newRow("pgle as a method") << "p = L.pgle(0, 1);" << 8 << "pgle" << "" << QStringList() << "";
  // No entry: the index filtered by the word.
  QTest::newRow("word without entry") << "x = qwerty + 1;" << 6 << "" << "qwerty" << QStringList() << "";
  QTest::newRow("part of names") << "pg" << 1 << "" << "pg" << QStringList{"pgle"} << "";
  QTest::newRow("keyword") << "for (x in 1:3) s = x;" << 1 << "" << "" << QStringList{"pgle", "pl", "sin"}
                           << "guide/04-statements.md";
}

void TestHelp::f1OpensTheEntryOfTheWordAtTheCaret() {
  QFETCH(QString, text);
  QFETCH(int, caret);
  QFETCH(QString, entry);
  QFETCH(QString, filter);
  QFETCH(QStringList, listed);
  QFETCH(QString, page);

  pressF1At(text, caret);
  QVERIFY(dock()->isVisible());
  QCOMPARE(browser()->currentEntry(), entry);
  QCOMPARE(browser()->currentPage(), page);
  if (!page.isEmpty()) {
    QCOMPARE(browser()->filterText(), QString());
    QCOMPARE(browser()->indexNames(), listed);
  } else if (!entry.isEmpty()) {
    QVERIFY2(browser()->view()->toPlainText().startsWith(entry),
             qPrintable(browser()->view()->toPlainText()));
  } else {
    QCOMPARE(browser()->filterText(), filter);
    QCOMPARE(browser()->indexNames(), listed);
    QVERIFY(browser()->view()->toPlainText().contains(filter));
  }
}

void TestHelp::f1WithoutAWordOpensTheGuide() {
  pressF1At(QStringLiteral("x = 1;"), 2);  // between a blank and "="
  QCOMPARE(browser()->currentPage(), QStringLiteral("guide/01-values.md"));
}

void TestHelp::linksLeadToOtherEntries() {
  QVERIFY(browser()->showEntry(QStringLiteral("sin")));
  browser()->openLink(QUrl(QStringLiteral("laws.md#pl")));
  QCOMPARE(browser()->currentEntry(), QStringLiteral("pl"));
  // From the guide into the reference.
  QVERIFY(browser()->showPage(QStringLiteral("guide/01-values.md")));
  browser()->openLink(QUrl(QStringLiteral("../reference/laws.md#pl")));
  QCOMPARE(browser()->currentEntry(), QStringLiteral("pl"));
  // An entry links the family it belongs to.
  QVERIFY(browser()->view()->toPlainText().contains(QStringLiteral("Раздел: Законы")));
  browser()->openLink(QUrl(QStringLiteral("tesmora-page:reference/laws.md")));
  QCOMPARE(browser()->currentPage(), QStringLiteral("reference/laws.md"));
  // The index links its names.
  browser()->showIndex(QStringLiteral("pgl"));
  browser()->openLink(QUrl(QStringLiteral("tesmora-entry:pgle")));
  QCOMPARE(browser()->currentEntry(), QStringLiteral("pgle"));
}

void TestHelp::exampleLinkCopiesTheExampleIntoTheEditor() {
  window_->editor()->setPlainText(QStringLiteral("// начало\n"));
  window_->editor()->placeCaret(10);
  QVERIFY(browser()->showEntry(QStringLiteral("pgle")));
  QVERIFY(browser()->view()->toPlainText().contains(QStringLiteral("Вставить пример в редактор")));
  browser()->openLink(QUrl(QStringLiteral("tesmora-example:0")));
  QCOMPARE(window_->editor()->text(),
           QStringLiteral("// начало\nL = nlaw(0, 1);\nL.pgle(-1, 1)"));
  // A link to an example that does not exist changes nothing.
  browser()->openLink(QUrl(QStringLiteral("tesmora-example:7")));
  QCOMPARE(window_->editor()->text(),
           QStringLiteral("// начало\nL = nlaw(0, 1);\nL.pgle(-1, 1)"));
}

void TestHelp::backReturnsToThePreviousPage() {
  QVERIFY(browser()->showEntry(QStringLiteral("sin")));
  QVERIFY(browser()->showEntry(QStringLiteral("pgle")));
  browser()->goBack();
  QCOMPARE(browser()->currentEntry(), QStringLiteral("sin"));
  browser()->goBack();
  QCOMPARE(browser()->currentPage(), QStringLiteral("guide/01-values.md"));
}

void TestHelp::searchFieldFiltersTheIndex() {
  auto* search = browser()->findChild<QLineEdit*>(QStringLiteral("helpSearch"));
  QVERIFY(search);
  search->clear();
  QTest::keyClicks(search, QStringLiteral("P"));
  // Names first, then the entries whose text holds the word (sin links pl).
  QCOMPARE(browser()->indexNames(), (QStringList{"pgle", "pl", "sin"}));
  search->clear();
  search->insert(QStringLiteral("Синус"));  // keyClicks takes ASCII only
  QCOMPARE(browser()->indexNames(), QStringList{"sin"});
  QTest::keyClick(search, Qt::Key_Return);
  QCOMPARE(browser()->currentEntry(), QStringLiteral("sin"));
}

void TestHelp::helpMenuOpensGuideIndexAndErrors_data() {
  QTest::addColumn<QString>("action");
  QTest::addColumn<QString>("page");  // empty: the index
  QTest::newRow("guide") << "helpGuide" << "guide/01-values.md";
  QTest::newRow("index") << "helpIndex" << "";
  QTest::newRow("errors") << "helpErrors" << "guide/errors.md";
}

void TestHelp::helpMenuOpensGuideIndexAndErrors() {
  QFETCH(QString, action);
  QFETCH(QString, page);
  auto* act = window_->findChild<QAction*>(action);
  QVERIFY(act);
  QVERIFY(window_->menuBar()->actions().last()->menu()->actions().contains(act));
  browser()->showEntry(QStringLiteral("sin"));
  act->trigger();
  QVERIFY(dock()->isVisible());
  QCOMPARE(browser()->currentPage(), page);
  QCOMPARE(browser()->currentEntry(), QString());
  if (page.isEmpty())
    QCOMPARE(browser()->indexNames(), (QStringList{"pgle", "pl", "sin"}));
}

void TestHelp::embeddedDocsHoldTheGuide() {
  const help::HelpLibrary& docs = help::HelpLibrary::embedded();
  QVERIFY(!docs.guidePages().empty());
  QVERIFY(docs.page("guide/errors.md"));
  if (docs.entries().empty()) QSKIP("the reference is not in this build yet");
  for (const char* name : {"sin", "pgle", "invpl"})
    QVERIFY2(docs.entry(name), name);
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
