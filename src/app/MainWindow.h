// The main window: the editor with its find bar, the menus, the toolbar,
// the two status panes, the variables and results docks, and the
// document's file commands. The Run command is carried out by
// RunController; the document's state lives in Document.
#pragma once

#include <QList>
#include <QMainWindow>

#include <memory>

#include "app/Document.h"

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace tesmora {
class Interpreter;
}

namespace tesmora::app {

class Editor;
class FindBar;
class QtHost;
class ResultsDock;
class RunController;
struct RunOutcome;
class VariablesDock;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kRecentFiles = 4;
  // An untitled document older than this is offered a name before a run.
  static constexpr qint64 kUntitledGraceSeconds = 30;

  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  bool loadFile(const QString& path);
  bool saveFile(const QString& path);

  Editor* editor() const { return editor_; }
  FindBar* findBar() const { return findBar_; }
  VariablesDock* variablesDock() const { return variablesDock_; }
  ResultsDock* resultsDock() const { return resultsDock_; }
  RunController* runController() const { return runController_; }
  Document& document() { return document_; }
  QString runStatusText() const;
  QString caretLineText() const;

 public slots:
  void newFile();
  void open();
  bool save();
  bool saveAs();
  void runProgram();
  void stopProgram();
  void goToLine();
  // Replaces the document by a sample program of the examples menu.
  void loadExample(const QString& text);
  // Context help: the help browser on the word at the caret
  // (MainWindowHelp.cpp).
  void showHelp();
  void showAbout();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void createActions();
  void createMenus();
  void createStatusBar();
  void createDocks();
  // MainWindowView.cpp: the font and line commands, the toolbar, icons and
  // the view menu.
  void createViewActions();
  void createToolBar();
  void createViewMenu();
  void applyIcons();
  void updateFontActions();
  void updateLineActions();
  // MainWindowHelp.cpp: the help menu and the help browser's dock.
  void createHelpActions();
  void createHelpMenu();
  void readSettings();
  void writeSettings() const;
  bool maybeSave();
  bool saveBeforeRun();
  void openRecentFile();
  void rememberRecentFile(const QString& path);
  void updateRecentFileActions();
  void updateTitle();
  void setRunning(bool running);
  void showStatus(const QString& text);
  void takeOutcome(const RunOutcome& outcome);
  // Closing while a program runs: asks whether to stop it.
  bool stopBeforeClose();

  Document document_;
  Editor* editor_;
  FindBar* findBar_;
  std::unique_ptr<QtHost> host_;
  std::unique_ptr<Interpreter> interpreter_;
  RunController* runController_;
  VariablesDock* variablesDock_ = nullptr;
  ResultsDock* resultsDock_ = nullptr;
  // The window closes as soon as the stopped run has ended.
  bool closeAfterRun_ = false;

  QLabel* runStatus_ = nullptr;
  QLabel* lineStatus_ = nullptr;

  QMenu* fileMenu_ = nullptr;
  QMenu* editMenu_ = nullptr;
  QMenu* runMenu_ = nullptr;
  QMenu* examplesMenu_ = nullptr;
  QMenu* viewMenu_ = nullptr;
  QMenu* helpMenu_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QAction* newAct_ = nullptr;
  QAction* openAct_ = nullptr;
  QAction* saveAct_ = nullptr;
  QAction* saveAsAct_ = nullptr;
  // Export commands of the File menu go before this separator.
  QAction* fileExportSeparator_ = nullptr;
  QAction* exitAct_ = nullptr;
  QAction* undoAct_ = nullptr;
  QAction* redoAct_ = nullptr;
  QAction* cutAct_ = nullptr;
  QAction* copyAct_ = nullptr;
  QAction* pasteAct_ = nullptr;
  QAction* selectAllAct_ = nullptr;
  QAction* findAct_ = nullptr;
  QAction* replaceAct_ = nullptr;
  QAction* findNextAct_ = nullptr;
  QAction* findPreviousAct_ = nullptr;
  QAction* goToLineAct_ = nullptr;
  QAction* completeAct_ = nullptr;
  QAction* runAct_ = nullptr;
  QAction* runSelectionAct_ = nullptr;
  QAction* stopAct_ = nullptr;
  QAction* fontBiggerAct_ = nullptr;
  QAction* fontSmallerAct_ = nullptr;
  QAction* insertTabsAct_ = nullptr;
  QAction* removeTabsAct_ = nullptr;
  QAction* insertCommentAct_ = nullptr;
  QAction* removeCommentAct_ = nullptr;
  QAction* statusBarAct_ = nullptr;
  QAction* resultsOnlyInPaneAct_ = nullptr;
  QAction* helpAct_ = nullptr;
  QAction* aboutAct_ = nullptr;
  // The four line commands: they need a selection and an idle editor.
  QList<QAction*> lineActs_;
  QAction* recentSeparator_ = nullptr;
  QList<QAction*> recentFileActs_;
  // Commands that would change the text or the document while a program
  // runs.
  QList<QAction*> idleOnlyActs_;
};

}  // namespace tesmora::app
