// The main window's help: the help browser in a dock beside the editor,
// context help on F1 for the word at the caret, the "Справка" menu (the
// guide, the reference index, the error messages) and the About box.
#include <QAction>
#include <QDockWidget>
#include <QMenuBar>

#include "app/Editor.h"
#include "app/HelpBrowser.h"
#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "app/WordBounds.h"

namespace tesmora::app {

namespace {

// Context help looks up at most this many characters of the word.
constexpr int kHelpWordLength = 39;

QDockWidget* helpDockOf(MainWindow* window) {
  return window->findChild<QDockWidget*>(QStringLiteral("helpDock"));
}

HelpBrowser* helpBrowserOf(MainWindow* window) {
  return window->findChild<HelpBrowser*>();
}

// The word around the caret, as a double-click would select it.
QString wordAtCaret(const Editor& editor) {
  const QString text = editor.text();
  const WordBounds word = wordAround(text, editor.selectionStart());
  return text.mid(word.start, std::min(word.end - word.start, kHelpWordLength));
}

// An example of the help goes into the editor at the caret, replacing a
// selection, and becomes one step of undo.
void insertIntoEditor(Editor& editor, const QString& text) {
  editor.insertPlainText(text);
  editor.setFocus();
}

}  // namespace

void MainWindow::createHelpActions() {
  helpAct_ = new QAction(QStringLiteral("&Вызов Справки"), this);
  helpAct_->setObjectName(QStringLiteral("help"));
  helpAct_->setShortcut(QKeySequence(Qt::Key_F1));
  connect(helpAct_, &QAction::triggered, this, &MainWindow::showHelp);
  aboutAct_ = new QAction(QStringLiteral("&О программе..."), this);
  aboutAct_->setObjectName(QStringLiteral("about"));
  connect(aboutAct_, &QAction::triggered, this, &MainWindow::showAbout);
}

void MainWindow::createHelpMenu() {
  auto* browser = new HelpBrowser(help::HelpLibrary::embedded());
  connect(browser, &HelpBrowser::exampleRequested, this,
          [this](const QString& text) { insertIntoEditor(*editor(), text); });
  auto* dock = new QDockWidget(QStringLiteral("Справка"), this);
  dock->setObjectName(QStringLiteral("helpDock"));
  dock->setWidget(browser);
  addDockWidget(Qt::RightDockWidgetArea, dock);
  dock->hide();

  const auto open = [this](auto show) {
    return [this, show] {
      show(*helpBrowserOf(this));
      helpDockOf(this)->show();
      helpDockOf(this)->raise();
    };
  };
  helpMenu_ = menuBar()->addMenu(QStringLiteral("&Справка"));
  helpMenu_->addAction(helpAct_);
  helpMenu_->addSeparator();
  QAction* guide = helpMenu_->addAction(
      QStringLiteral("&Руководство по языку"), this, open([](HelpBrowser& b) { b.showGuide(); }));
  guide->setObjectName(QStringLiteral("helpGuide"));
  QAction* index = helpMenu_->addAction(
      QStringLiteral("&Указатель функций"), this, open([](HelpBrowser& b) { b.showIndex(); }));
  index->setObjectName(QStringLiteral("helpIndex"));
  QAction* errors = helpMenu_->addAction(
      QStringLiteral("Сообщения об &ошибках"), this,
      open([](HelpBrowser& b) { b.showErrorMessages(); }));
  errors->setObjectName(QStringLiteral("helpErrors"));
  helpMenu_->addSeparator();
  helpMenu_->addAction(aboutAct_);
}

void MainWindow::showHelp() {
  // The entry of the word at the caret; for a word without one, the index
  // filtered by it; without a word, the guide.
  HelpBrowser& browser = *helpBrowserOf(this);
  const QString word = wordAtCaret(*editor());
  if (word.isEmpty())
    browser.showGuide();
  else
    browser.showHelpFor(word);
  helpDockOf(this)->show();
  helpDockOf(this)->raise();
}

void MainWindow::showAbout() {
  showTextBox(this, QMessageBox::Information, QStringLiteral("Версия Tesmora"),
              QStringLiteral("Tesmora\nВерсия %1")
                  .arg(QStringLiteral(TESMORA_VERSION)));
}

}  // namespace tesmora::app
