// The main window: the editor, the menus, the toolbar, the two status
// panes, and the document's file commands. The Run command is carried out by
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
class QtHost;
class RunController;

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
  Document& document() { return document_; }
  QString runStatusText() const;
  QString caretLineText() const;

 public slots:
  void newFile();
  void open();
  bool save();
  bool saveAs();
  void runProgram();
  // Replaces the document by a sample program of the examples menu.
  void loadExample(const QString& text);
  // Context help: the help browser on the word at the caret
  // (MainWindowHelp.cpp).
  void showHelp();
  void showAbout();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void createActions();
  void createMenus();
  void createStatusBar();
  // MainWindowView.cpp: the font and line commands, the toolbar and the
  // view menu.
  void createViewActions();
  void createToolBar();
  void createViewMenu();
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
  void setRunning(bool running);
  void showStatus(const QString& text);

  Document document_;
  Editor* editor_;
  std::unique_ptr<QtHost> host_;
  std::unique_ptr<Interpreter> interpreter_;
  RunController* runController_;

  QLabel* runStatus_ = nullptr;
  QLabel* lineStatus_ = nullptr;

  QMenu* fileMenu_ = nullptr;
  QMenu* editMenu_ = nullptr;
  QMenu* examplesMenu_ = nullptr;
  QMenu* viewMenu_ = nullptr;
  QMenu* helpMenu_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QAction* newAct_ = nullptr;
  QAction* openAct_ = nullptr;
  QAction* saveAct_ = nullptr;
  QAction* saveAsAct_ = nullptr;
  QAction* exitAct_ = nullptr;
  QAction* undoAct_ = nullptr;
  QAction* cutAct_ = nullptr;
  QAction* copyAct_ = nullptr;
  QAction* pasteAct_ = nullptr;
  QAction* selectAllAct_ = nullptr;
  QAction* runAct_ = nullptr;
  QAction* fontBiggerAct_ = nullptr;
  QAction* fontSmallerAct_ = nullptr;
  QAction* insertTabsAct_ = nullptr;
  QAction* removeTabsAct_ = nullptr;
  QAction* insertCommentAct_ = nullptr;
  QAction* removeCommentAct_ = nullptr;
  QAction* statusBarAct_ = nullptr;
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
