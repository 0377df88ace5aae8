// The main window's view: the editor's font size and line commands, the
// toolbar with its icons, and the view menu that shows or hides the bars
// and the docks.
#include <QAction>
#include <QEvent>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "app/AppIcons.h"
#include "app/Editor.h"
#include "app/EditorFont.h"
#include "app/LineCommands.h"
#include "app/MainWindow.h"
#include "app/ResultsDock.h"
#include "app/RunController.h"
#include "app/VariablesDock.h"

namespace tesmora::app {

namespace {

// A tool tip names the command and its key: "Сохранить (Ctrl+S)".
QString toolTipOf(const QAction* act) {
  QString name = act->statusTip().isEmpty() ? act->text() : act->statusTip();
  name.remove(QLatin1Char('&'));
  if (name.endsWith(QLatin1String("..."))) name.chop(3);
  const QKeySequence key = act->shortcut();
  return key.isEmpty() ? name
                       : QStringLiteral("%1 (%2)").arg(
                             name, key.toString(QKeySequence::NativeText));
}

}  // namespace

void MainWindow::createViewActions() {
  // A toolbar command: its name in the menus, and a prompt in the status
  // bar and the tool tip.
  const auto command = [this](const char* name, const QString& label,
                              const QString& prompt, auto handler) {
    auto* act = new QAction(label, this);
    act->setObjectName(QLatin1String(name));
    act->setStatusTip(prompt);
    connect(act, &QAction::triggered, this, handler);
    return act;
  };
  const auto lineCommand = [this](QStringView prefix, PrefixEdit edit) {
    return [this, prefix, edit] { editSelectedLines(*editor_, prefix, edit); };
  };

  fontBiggerAct_ = command(
      "fontBigger", QStringLiteral("&Крупнее"),
      QStringLiteral("Увеличивает размер шрифта"),
      [this] { editor_->setFontIndex(editor_->fontIndex() + 1); });
  fontBiggerAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Equal));
  fontSmallerAct_ = command(
      "fontSmaller", QStringLiteral("&Мельче"),
      QStringLiteral("Уменьшает размер шрифта"),
      [this] { editor_->setFontIndex(editor_->fontIndex() - 1); });
  fontSmallerAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
  insertTabsAct_ = command("insertTabs", QStringLiteral("Вставить табуляцию"),
                           QStringLiteral("Вставляет символы табуляции"),
                           lineCommand(kTabPrefix, PrefixEdit::Insert));
  removeTabsAct_ = command("removeTabs", QStringLiteral("Удалить табуляцию"),
                           QStringLiteral("Удаляет символы табуляции"),
                           lineCommand(kTabPrefix, PrefixEdit::Remove));
  insertCommentAct_ = command("insertComment", QStringLiteral("Закомментировать"),
                              QStringLiteral("Вставляет //"),
                              lineCommand(kCommentPrefix, PrefixEdit::Insert));
  insertCommentAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Slash));
  removeCommentAct_ = command("removeComment", QStringLiteral("Раскомментировать"),
                              QStringLiteral("Удаляет //"),
                              lineCommand(kCommentPrefix, PrefixEdit::Remove));
  removeCommentAct_->setShortcut(
      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Slash));
  lineActs_ = {insertTabsAct_, removeTabsAct_, insertCommentAct_,
               removeCommentAct_};

  statusBarAct_ = new QAction(QStringLiteral("&Строка состояния"), this);
  statusBarAct_->setObjectName(QStringLiteral("toggleStatusBar"));
  statusBarAct_->setCheckable(true);
  statusBarAct_->setChecked(true);
  connect(statusBarAct_, &QAction::toggled, statusBar(),
          &QStatusBar::setVisible);

  resultsOnlyInPaneAct_ =
      new QAction(QStringLiteral("Результаты только в &панели"), this);
  resultsOnlyInPaneAct_->setObjectName(QStringLiteral("resultsOnlyInPane"));
  resultsOnlyInPaneAct_->setStatusTip(QStringLiteral(
      "Результат выполнения показывается в панели «Результаты» без окна "
      "сообщения"));
  resultsOnlyInPaneAct_->setCheckable(true);

  connect(editor_, &Editor::fontIndexChanged, this,
          &MainWindow::updateFontActions);
  connect(editor_, &QPlainTextEdit::copyAvailable, this,
          &MainWindow::updateLineActions);
  updateFontActions();
  updateLineActions();
}

void MainWindow::createToolBar() {
  toolBar_ = addToolBar(QStringLiteral("Панель инструментов"));
  toolBar_->setObjectName(QStringLiteral("toolBar"));
  toolBar_->setIconSize(QSize(22, 22));
  toolBar_->addActions({newAct_, openAct_, saveAct_});
  toolBar_->addSeparator();
  toolBar_->addActions({undoAct_, redoAct_});
  toolBar_->addSeparator();
  toolBar_->addActions({cutAct_, copyAct_, pasteAct_, findAct_});
  toolBar_->addSeparator();
  toolBar_->addActions({runAct_, stopAct_});
  toolBar_->addSeparator();
  toolBar_->addActions({fontBiggerAct_, fontSmallerAct_});
  toolBar_->addSeparator();
  toolBar_->addActions(lineActs_);
  toolBar_->addSeparator();
  toolBar_->addAction(helpAct_);
}

void MainWindow::applyIcons() {
  const struct {
    QAction* act;
    const char* icon;
  } kIcons[] = {
      {newAct_, "document-new"},           {openAct_, "document-open"},
      {saveAct_, "document-save"},         {saveAsAct_, "document-save-as"},
      {undoAct_, "edit-undo"},             {redoAct_, "edit-redo"},
      {cutAct_, "edit-cut"},               {copyAct_, "edit-copy"},
      {pasteAct_, "edit-paste"},           {findAct_, "edit-find"},
      {runAct_, "media-playback-start"},   {stopAct_, "process-stop"},
      {fontBiggerAct_, "zoom-in"},         {fontSmallerAct_, "zoom-out"},
      {insertTabsAct_, "format-indent-more"},
      {removeTabsAct_, "format-indent-less"},
      {insertCommentAct_, "comment-insert"},
      {removeCommentAct_, "comment-remove"},
      {helpAct_, "help-contents"},
  };
  for (const auto& [act, icon] : kIcons) {
    act->setIcon(themedIcon(QLatin1String(icon), palette()));
    act->setToolTip(toolTipOf(act));
  }
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  // The bundled icons are drawn in the palette's colours.
  if (event->type() == QEvent::PaletteChange && toolBar_ != nullptr)
    applyIcons();
}

void MainWindow::createViewMenu() {
  viewMenu_ = menuBar()->addMenu(QStringLiteral("&Вид"));
  QAction* toolBarAct = toolBar_->toggleViewAction();
  toolBarAct->setText(QStringLiteral("&Панель инструментов"));
  toolBarAct->setObjectName(QStringLiteral("toggleToolBar"));
  viewMenu_->addAction(toolBarAct);
  viewMenu_->addAction(statusBarAct_);
  QAction* variablesAct = variablesDock_->toggleViewAction();
  variablesAct->setText(QStringLiteral("П&еременные"));
  variablesAct->setObjectName(QStringLiteral("toggleVariables"));
  variablesAct->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
  viewMenu_->addAction(variablesAct);
  QAction* resultsAct = resultsDock_->toggleViewAction();
  resultsAct->setText(QStringLiteral("&Результаты"));
  resultsAct->setObjectName(QStringLiteral("toggleResults"));
  resultsAct->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
  viewMenu_->addAction(resultsAct);
  viewMenu_->addSeparator();
  viewMenu_->addAction(resultsOnlyInPaneAct_);
  viewMenu_->addSeparator();
  viewMenu_->addAction(fontBiggerAct_);
  viewMenu_->addAction(fontSmallerAct_);
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
