// The main window's view: the editor's font size and line commands, the
// toolbar, and the view menu that shows or hides the bars.
#include <QAction>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "app/Editor.h"
#include "app/EditorFont.h"
#include "app/LineCommands.h"
#include "app/MainWindow.h"
#include "app/RunController.h"

namespace tesmora::app {

void MainWindow::createViewActions() {
  // A toolbar command: a short label on its button, and a prompt in the
  // status bar and the tool tip.
  const auto command = [this](const char* name, const QString& label,
                              const QString& prompt, auto handler) {
    auto* act = new QAction(label, this);
    act->setObjectName(QLatin1String(name));
    act->setStatusTip(prompt);
    act->setToolTip(prompt);
    connect(act, &QAction::triggered, this, handler);
    return act;
  };
  const auto lineCommand = [this](QStringView prefix, PrefixEdit edit) {
    return [this, prefix, edit] { editSelectedLines(*editor_, prefix, edit); };
  };

  fontBiggerAct_ = command(
      "fontBigger", QStringLiteral("A+"),
      QStringLiteral("Увеличивает размер шрифта"),
      [this] { editor_->setFontIndex(editor_->fontIndex() + 1); });
  fontSmallerAct_ = command(
      "fontSmaller", QStringLiteral("A−"),
      QStringLiteral("Уменьшает размер шрифта"),
      [this] { editor_->setFontIndex(editor_->fontIndex() - 1); });
  insertTabsAct_ = command("insertTabs", QStringLiteral("→|"),
                           QStringLiteral("Вставляет символы табуляции"),
                           lineCommand(kTabPrefix, PrefixEdit::Insert));
  removeTabsAct_ = command("removeTabs", QStringLiteral("|←"),
                           QStringLiteral("Удаляет символы табуляции"),
                           lineCommand(kTabPrefix, PrefixEdit::Remove));
  insertCommentAct_ = command("insertComment", QStringLiteral("+//"),
                              QStringLiteral("Вставляет //"),
                              lineCommand(kCommentPrefix, PrefixEdit::Insert));
  removeCommentAct_ = command("removeComment", QStringLiteral("−//"),
                              QStringLiteral("Удаляет //"),
                              lineCommand(kCommentPrefix, PrefixEdit::Remove));
  lineActs_ = {insertTabsAct_, removeTabsAct_, insertCommentAct_,
               removeCommentAct_};

  statusBarAct_ = new QAction(QStringLiteral("&Строка состояния"), this);
  statusBarAct_->setObjectName(QStringLiteral("toggleStatusBar"));
  statusBarAct_->setCheckable(true);
  statusBarAct_->setChecked(true);
  connect(statusBarAct_, &QAction::toggled, statusBar(),
          &QStatusBar::setVisible);

  connect(editor_, &Editor::fontIndexChanged, this,
          &MainWindow::updateFontActions);
  connect(editor_, &QPlainTextEdit::copyAvailable, this,
          &MainWindow::updateLineActions);
  updateFontActions();
  updateLineActions();
}

void MainWindow::createToolBar() {
  const auto standardIcon = [this](QAction* act, QStyle::StandardPixmap icon) {
    act->setIcon(style()->standardIcon(icon));
    act->setIconVisibleInMenu(false);
  };
  standardIcon(newAct_, QStyle::SP_FileIcon);
  standardIcon(openAct_, QStyle::SP_DialogOpenButton);
  standardIcon(saveAct_, QStyle::SP_DialogSaveButton);
  standardIcon(helpAct_, QStyle::SP_DialogHelpButton);

  toolBar_ = addToolBar(QStringLiteral("Панель инструментов"));
  toolBar_->setObjectName(QStringLiteral("toolBar"));
  toolBar_->addActions({newAct_, openAct_, saveAct_});
  toolBar_->addSeparator();
  toolBar_->addActions({cutAct_, copyAct_, pasteAct_});
  toolBar_->addSeparator();
  toolBar_->addAction(helpAct_);
  toolBar_->addSeparator();
  toolBar_->addActions({fontBiggerAct_, fontSmallerAct_});
  toolBar_->addSeparator();
  toolBar_->addActions(lineActs_);
}

void MainWindow::createViewMenu() {
  viewMenu_ = menuBar()->addMenu(QStringLiteral("&Вид"));
  QAction* toolBarAct = toolBar_->toggleViewAction();
  toolBarAct->setText(QStringLiteral("&Панель инструментов"));
  toolBarAct->setObjectName(QStringLiteral("toggleToolBar"));
  viewMenu_->addAction(toolBarAct);
  viewMenu_->addAction(statusBarAct_);
}

void MainWindow::updateFontActions() {
  fontBiggerAct_->setEnabled(canGrowFont(editor_->fontIndex()));
  fontSmallerAct_->setEnabled(canShrinkFont(editor_->fontIndex()));
}

void MainWindow::updateLineActions() {
  const bool enabled = editor_->hasSelection() && !runController_->isRunning();
  for (QAction* act : lineActs_) act->setEnabled(enabled);
}

}  // namespace tesmora::app
