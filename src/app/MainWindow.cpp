#include "app/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>

#include "app/Editor.h"
#include "app/ExamExport.h"
#include "app/ExamplesMenu.h"
#include "app/QtHost.h"
#include "app/RunController.h"
#include "interp/Interpreter.h"

namespace tesmora::app {

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), editor_(new Editor) {
  setWindowTitle(QStringLiteral("Tesmora"));
  setCentralWidget(editor_);

  host_ = std::make_unique<QtHost>(
      this, [this](const QString& text) { showStatus(text); });
  interpreter_ = std::make_unique<Interpreter>(*host_);
  runController_ = new RunController(*interpreter_, editor_, this, this);

  createActions();
  createViewActions();
  createHelpActions();
  createToolBar();
  createMenus();
  createStatusBar();
  readSettings();

  connect(editor_->document(), &QTextDocument::modificationChanged, this,
          [this](bool changed) { document_.modified = changed; });
  connect(editor_, &Editor::caretLineChanged, this, [this](int line) {
    lineStatus_->setText(QString::number(line));
  });
  connect(runController_, &RunController::runStarted, this, [this] {
    host_->closePictureWindow();
    setRunning(true);
  });
  connect(runController_, &RunController::runFinished, this,
          [this] { setRunning(false); });
  connect(runController_, &RunController::statusChanged, this,
          &MainWindow::showStatus);

  editor_->setFocus();
}

MainWindow::~MainWindow() = default;

void MainWindow::createActions() {
  const auto action = [this](const QString& text, auto slot) {
    auto* act = new QAction(text, this);
    connect(act, &QAction::triggered, this, slot);
    return act;
  };

  newAct_ = action(QStringLiteral("&Создать"), &MainWindow::newFile);
  newAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  openAct_ = action(QStringLiteral("&Открыть..."), &MainWindow::open);
  openAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  saveAct_ = action(QStringLiteral("&Сохранить"), &MainWindow::save);
  saveAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  saveAsAct_ = action(QStringLiteral("Сохранить &как..."), &MainWindow::saveAs);
  exitAct_ = action(QStringLiteral("В&ыход"), &QWidget::close);

  for (int i = 0; i < kRecentFiles; ++i) {
    QAction* act = action(QString(), &MainWindow::openRecentFile);
    act->setVisible(false);
    recentFileActs_.append(act);
  }

  undoAct_ = new QAction(QStringLiteral("&Отменить"), this);
  undoAct_->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
  connect(undoAct_, &QAction::triggered, editor_, &Editor::undo);
  cutAct_ = new QAction(QStringLiteral("&Вырезать"), this);
  cutAct_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_X),
                         QKeySequence(Qt::SHIFT | Qt::Key_Delete)});
  connect(cutAct_, &QAction::triggered, editor_, &Editor::cut);
  copyAct_ = new QAction(QStringLiteral("&Копировать"), this);
  copyAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  connect(copyAct_, &QAction::triggered, editor_, &Editor::copy);
  pasteAct_ = new QAction(QStringLiteral("Вст&авить"), this);
  pasteAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
  connect(pasteAct_, &QAction::triggered, editor_, &Editor::paste);
  selectAllAct_ = new QAction(QStringLiteral("Выделить &все"), this);
  selectAllAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
  connect(selectAllAct_, &QAction::triggered, editor_, &Editor::selectAll);

  runAct_ = action(QStringLiteral("&Выполнить"), &MainWindow::runProgram);
  runAct_->setShortcuts(
      {QKeySequence(Qt::Key_F12), QKeySequence(Qt::CTRL | Qt::Key_F12)});

  idleOnlyActs_ = {newAct_, openAct_, saveAct_, saveAsAct_, exitAct_,
                   undoAct_, cutAct_, pasteAct_, runAct_};
  idleOnlyActs_.append(recentFileActs_);
}

void MainWindow::createMenus() {
  fileMenu_ = menuBar()->addMenu(QStringLiteral("&Файл"));
  fileMenu_->addAction(newAct_);
  fileMenu_->addAction(openAct_);
  fileMenu_->addAction(saveAct_);
  fileMenu_->addAction(saveAsAct_);
  fileMenu_->addAction(ExamExport::createAction(this, runController_));
  recentSeparator_ = fileMenu_->addSeparator();
  for (QAction* act : recentFileActs_) fileMenu_->addAction(act);
  fileMenu_->addSeparator();
  fileMenu_->addAction(exitAct_);

  editMenu_ = menuBar()->addMenu(QStringLiteral("&Правка"));
  editMenu_->addAction(undoAct_);
  editMenu_->addSeparator();
  editMenu_->addAction(cutAct_);
  editMenu_->addAction(copyAct_);
  editMenu_->addAction(pasteAct_);
  editMenu_->addSeparator();
  editMenu_->addAction(selectAllAct_);

  createViewMenu();

  // Run is a command of the menu bar itself, as in the original program.
  menuBar()->addAction(runAct_);

  examplesMenu_ = createExamplesMenu(
      this, [this](const QString& text) { loadExample(text); });
  menuBar()->addMenu(examplesMenu_);
  idleOnlyActs_.append(examplesMenu_->menuAction());
  createHelpMenu();
  updateRecentFileActions();
}

void MainWindow::createStatusBar() {
  runStatus_ = new QLabel;
  lineStatus_ = new QLabel(QString::number(editor_->caretLine()));
  lineStatus_->setMinimumWidth(
      lineStatus_->fontMetrics().horizontalAdvance(QStringLiteral("000000")));
  lineStatus_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  statusBar()->addWidget(runStatus_, 1);
  statusBar()->addPermanentWidget(lineStatus_);
}

void MainWindow::readSettings() {
  QSettings settings;
  const QByteArray geometry = settings.value("geometry").toByteArray();
  if (geometry.isEmpty() || !restoreGeometry(geometry)) {
    const QRect available = screen()->availableGeometry();
    resize(available.width() / 2, available.height() * 2 / 3);
  }
}

void MainWindow::writeSettings() const {
  QSettings settings;
  settings.setValue("geometry", saveGeometry());
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // A running program holds the interpreter; the window stays until it ends
  // (the long-run question lets the user stop it).
  if (runController_->isRunning() || !maybeSave()) {
    event->ignore();
    return;
  }
  writeSettings();
  event->accept();
}

void MainWindow::runProgram() {
  if (runController_->isRunning() || !saveBeforeRun()) return;
  runController_->run(document_.runTitle());
}

void MainWindow::loadExample(const QString& text) {
  // A sample in the editor is replaced without a question; the user's own
  // changes are offered for saving first.
  if (!maybeSave()) return;
  editor_->setPlainText(text);
  document_.holdExample(QStringLiteral("Пример.tsm"));
  editor_->document()->setModified(false);
}

void MainWindow::setRunning(bool running) {
  for (QAction* act : idleOnlyActs_) act->setEnabled(!running);
  updateLineActions();
}

void MainWindow::showStatus(const QString& text) { runStatus_->setText(text); }

QString MainWindow::runStatusText() const { return runStatus_->text(); }

QString MainWindow::caretLineText() const { return lineStatus_->text(); }

}  // namespace tesmora::app
