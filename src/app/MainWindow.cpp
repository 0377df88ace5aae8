#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "app/AppIcons.h"
#include "app/Editor.h"
#include "app/ExamExport.h"
#include "app/ExamplesMenu.h"
#include "app/FindBar.h"
#include "app/QtHost.h"
#include "app/ResultsDock.h"
#include "app/RunController.h"
#include "app/VariablesDock.h"
#include "interp/Interpreter.h"
#include "interp/VariablesSnapshot.h"

namespace tesmora::app {

namespace {

const char kGeometryKey[] = "geometry";
const char kWindowStateKey[] = "windowState";
const char kFontIndexKey[] = "fontIndex";
const char kResultsOnlyInPaneKey[] = "resultsOnlyInPane";

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), editor_(new Editor), findBar_(new FindBar(editor_)) {
  setWindowIcon(applicationIcon());
  auto* central = new QWidget;
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(editor_, 1);
  layout->addWidget(findBar_);
  setCentralWidget(central);

  host_ = std::make_unique<QtHost>(
      this, [this](const QString& text) { showStatus(text); });
  interpreter_ = std::make_unique<Interpreter>(*host_);
  runController_ = new RunController(*interpreter_, editor_, this, this);

  createActions();
  createViewActions();
  createHelpActions();
  createDocks();
  createToolBar();
  createMenus();
  createStatusBar();
  applyIcons();
  readSettings();

  connect(editor_->document(), &QTextDocument::modificationChanged, this,
          [this](bool changed) {
            document_.modified = changed;
            setWindowModified(changed);
          });
  connect(editor_, &Editor::caretLineChanged, this, [this](int line) {
    lineStatus_->setText(QString::number(line));
  });
  connect(runController_, &RunController::runStarted, this, [this] {
    host_->closePictureWindow();
    setRunning(true);
  });
  connect(runController_, &RunController::runFinished, this,
          [this] { setRunning(false); });
  connect(runController_, &RunController::outcomeReady, this,
          &MainWindow::takeOutcome);
  connect(runController_, &RunController::statusChanged, this,
          &MainWindow::showStatus);
  connect(resultsDock_, &ResultsDock::consoleLineEntered, this,
          [this](const QString& line) {
            runController_->runConsoleLine(consoleProgramText(line),
                                           document_.runTitle());
            resultsDock_->console()->setFocus();
          });
  connect(resultsDock_, &ResultsDock::errorActivated, this, [this](int at) {
    editor_->placeCaret(at);
    editor_->markError(at);
    editor_->setFocus();
  });

  updateTitle();
  setRunning(false);
  editor_->setFocus();
}

MainWindow::~MainWindow() = default;

void MainWindow::createActions() {
  const auto action = [this](const QString& text, auto slot) {
    auto* act = new QAction(text, this);
    connect(act, &QAction::triggered, this, slot);
    return act;
  };
  const auto editorAction = [this](const char* name, const QString& text,
                                   auto slot) {
    auto* act = new QAction(text, this);
    act->setObjectName(QLatin1String(name));
    connect(act, &QAction::triggered, editor_, slot);
    return act;
  };

  newAct_ = action(QStringLiteral("&Создать"), &MainWindow::newFile);
  newAct_->setObjectName(QStringLiteral("new"));
  newAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  openAct_ = action(QStringLiteral("&Открыть..."), &MainWindow::open);
  openAct_->setObjectName(QStringLiteral("open"));
  openAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  saveAct_ = action(QStringLiteral("&Сохранить"), &MainWindow::save);
  saveAct_->setObjectName(QStringLiteral("save"));
  saveAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  saveAsAct_ = action(QStringLiteral("Сохранить &как..."), &MainWindow::saveAs);
  saveAsAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  exitAct_ = action(QStringLiteral("В&ыход"), &QWidget::close);
  exitAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

  for (int i = 0; i < kRecentFiles; ++i) {
    QAction* act = action(QString(), &MainWindow::openRecentFile);
    act->setVisible(false);
    recentFileActs_.append(act);
  }

  undoAct_ = editorAction("undo", QStringLiteral("&Отменить"), &Editor::undo);
  undoAct_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z),
                          QKeySequence(Qt::ALT | Qt::Key_Backspace)});
  redoAct_ = editorAction("redo", QStringLiteral("&Повторить"), &Editor::redo);
  redoAct_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y),
                          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  cutAct_ = editorAction("cut", QStringLiteral("&Вырезать"), &Editor::cut);
  cutAct_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_X),
                         QKeySequence(Qt::SHIFT | Qt::Key_Delete)});
  copyAct_ = editorAction("copy", QStringLiteral("&Копировать"), &Editor::copy);
  copyAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  pasteAct_ = editorAction("paste", QStringLiteral("Вст&авить"), &Editor::paste);
  pasteAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
  selectAllAct_ =
      editorAction("selectAll", QStringLiteral("Выделить &все"), &Editor::selectAll);
  selectAllAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));

  findAct_ = action(QStringLiteral("&Найти..."), [this] { findBar_->open(false); });
  findAct_->setObjectName(QStringLiteral("find"));
  findAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  replaceAct_ =
      action(QStringLiteral("&Заменить..."), [this] { findBar_->open(true); });
  replaceAct_->setObjectName(QStringLiteral("replace"));
  replaceAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
  findNextAct_ = action(QStringLiteral("Найти &далее"), [this] {
    if (findBar_->isHidden()) findBar_->open(false);
    else findBar_->findNext();
  });
  findNextAct_->setShortcut(QKeySequence(Qt::Key_F3));
  findPreviousAct_ = action(QStringLiteral("Найти &назад"), [this] {
    if (findBar_->isHidden()) findBar_->open(false);
    else findBar_->findPrevious();
  });
  findPreviousAct_->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
  goToLineAct_ = action(QStringLiteral("Перейти к &строке..."), &MainWindow::goToLine);
  goToLineAct_->setObjectName(QStringLiteral("goToLine"));
  goToLineAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
  completeAct_ =
      editorAction("complete", QStringLiteral("&Дополнить имя"), &Editor::complete);
  completeAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Space));
  // The editor completes on Ctrl+Space itself; the menu entry shows the key.
  completeAct_->setShortcutContext(Qt::WidgetShortcut);

  // F12 and Ctrl+F12 run the selection when there is one, else the whole
  // text; the two entries name what each is meant for.
  runAct_ = action(QStringLiteral("Выполнить &всё"), &MainWindow::runProgram);
  runAct_->setObjectName(QStringLiteral("run"));
  runAct_->setShortcut(QKeySequence(Qt::Key_F12));
  runSelectionAct_ =
      action(QStringLiteral("Выполнить в&ыделенное"), &MainWindow::runProgram);
  runSelectionAct_->setObjectName(QStringLiteral("runSelection"));
  runSelectionAct_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F12));
  stopAct_ = action(QStringLiteral("&Остановить"), &MainWindow::stopProgram);
  stopAct_->setObjectName(QStringLiteral("stop"));
  stopAct_->setShortcut(QKeySequence(Qt::Key_Escape));
  stopAct_->setEnabled(false);

  idleOnlyActs_ = {newAct_,   openAct_,      saveAct_,     saveAsAct_,
                   exitAct_,  undoAct_,      redoAct_,     cutAct_,
                   pasteAct_, replaceAct_,   runAct_,      runSelectionAct_};
  idleOnlyActs_.append(recentFileActs_);
}

void MainWindow::createMenus() {
  fileMenu_ = menuBar()->addMenu(QStringLiteral("&Файл"));
  fileMenu_->addAction(newAct_);
  fileMenu_->addAction(openAct_);
  fileMenu_->addAction(saveAct_);
  fileMenu_->addAction(saveAsAct_);
  // Export commands (fileMenu_->insertAction(fileExportSeparator_, ...))
  // go between the save commands and the recent files.
  fileExportSeparator_ = fileMenu_->addSeparator();
  fileMenu_->addAction(ExamExport::createAction(this, runController_));
  recentSeparator_ = fileMenu_->addSeparator();
  for (QAction* act : recentFileActs_) fileMenu_->addAction(act);
  fileMenu_->addSeparator();
  fileMenu_->addAction(exitAct_);

  editMenu_ = menuBar()->addMenu(QStringLiteral("&Правка"));
  editMenu_->addAction(undoAct_);
  editMenu_->addAction(redoAct_);
  editMenu_->addSeparator();
  editMenu_->addAction(cutAct_);
  editMenu_->addAction(copyAct_);
  editMenu_->addAction(pasteAct_);
  editMenu_->addSeparator();
  editMenu_->addAction(selectAllAct_);
  editMenu_->addSeparator();
  editMenu_->addAction(findAct_);
  editMenu_->addAction(replaceAct_);
  editMenu_->addAction(findNextAct_);
  editMenu_->addAction(findPreviousAct_);
  editMenu_->addAction(goToLineAct_);
  editMenu_->addSeparator();
  editMenu_->addAction(completeAct_);

  createViewMenu();

  runMenu_ = menuBar()->addMenu(QStringLiteral("&Выполнить"));
  runMenu_->addAction(runAct_);
  runMenu_->addAction(runSelectionAct_);
  runMenu_->addSeparator();
  runMenu_->addAction(stopAct_);

  examplesMenu_ = createExamplesMenu(
      this, [this](const QString& text) { loadExample(text); });
  menuBar()->addMenu(examplesMenu_);
  idleOnlyActs_.append(examplesMenu_->menuAction());
  createHelpMenu();
  updateRecentFileActions();
}

void MainWindow::createDocks() {
  variablesDock_ = new VariablesDock(this);
  addDockWidget(Qt::RightDockWidgetArea, variablesDock_);
  resultsDock_ = new ResultsDock(this);
  addDockWidget(Qt::BottomDockWidgetArea, resultsDock_);
}

void MainWindow::createStatusBar() {
  runStatus_ = new QLabel;
  lineStatus_ = new QLabel(QString::number(editor_->caretLine()));
  lineStatus_->setMinimumWidth(
      lineStatus_->fontMetrics().horizontalAdvance(QStringLiteral("000000")));
  lineStatus_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  lineStatus_->setToolTip(QStringLiteral("Строка курсора"));
  statusBar()->addWidget(runStatus_, 1);
  statusBar()->addPermanentWidget(lineStatus_);
}

void MainWindow::readSettings() {
  QSettings settings;
  const QByteArray geometry = settings.value(kGeometryKey).toByteArray();
  if (geometry.isEmpty() || !restoreGeometry(geometry)) {
    const QRect available = screen()->availableGeometry();
    resize(available.width() * 2 / 3, available.height() * 3 / 4);
  }
  if (!restoreState(settings.value(kWindowStateKey).toByteArray())) {
    // First start: the docks take a modest share beside and under the
    // editor, once the window has its size.
    QTimer::singleShot(0, this, [this] {
      resizeDocks({variablesDock_}, {std::max(320, width() / 4)}, Qt::Horizontal);
      resizeDocks({resultsDock_}, {std::max(200, height() / 4)}, Qt::Vertical);
    });
  }
  editor_->setFontIndex(
      settings.value(kFontIndexKey, editor_->fontIndex()).toInt());
  resultsOnlyInPaneAct_->setChecked(
      settings.value(kResultsOnlyInPaneKey, false).toBool());
}

void MainWindow::writeSettings() const {
  QSettings settings;
  settings.setValue(kGeometryKey, saveGeometry());
  settings.setValue(kWindowStateKey, saveState());
  settings.setValue(kFontIndexKey, editor_->fontIndex());
  settings.setValue(kResultsOnlyInPaneKey, resultsOnlyInPaneAct_->isChecked());
}

bool MainWindow::stopBeforeClose() {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Tesmora"),
                  QStringLiteral("Программа ещё выполняется. Прервать её и "
                                 "закрыть окно?"),
                  QMessageBox::Yes | QMessageBox::No, this);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
  box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (runController_->isRunning()) {
    // The run holds the interpreter: it is stopped first, and the window
    // closes once it has ended.
    event->ignore();
    if (!closeAfterRun_ && stopBeforeClose()) {
      closeAfterRun_ = true;
      // The run may have ended while the question was open.
      if (runController_->isRunning()) runController_->stop(true);
      else QTimer::singleShot(0, this, &QWidget::close);
    }
    return;
  }
  if (!maybeSave()) {
    closeAfterRun_ = false;
    event->ignore();
    return;
  }
  writeSettings();
  event->accept();
}

void MainWindow::runProgram() {
  if (runController_->isRunning() || !saveBeforeRun()) return;
  runController_->setResultBoxes(!resultsOnlyInPaneAct_->isChecked());
  runController_->run(document_.runTitle());
}

void MainWindow::stopProgram() { runController_->stop(); }

void MainWindow::goToLine() {
  bool ok = false;
  const int line = QInputDialog::getInt(
      this, QStringLiteral("Перейти к строке"),
      QStringLiteral("Номер строки (1–%1):").arg(editor_->blockCount()),
      editor_->caretLine(), 1, editor_->blockCount(), 1, &ok);
  if (ok) editor_->goToLine(line);
  editor_->setFocus();
}

void MainWindow::takeOutcome(const RunOutcome& outcome) {
  variablesDock_->setVariables(snapshotVariables(interpreter_->context()));
  resultsDock_->addOutcome(outcome);
  if (closeAfterRun_) QTimer::singleShot(0, this, &QWidget::close);
}

void MainWindow::loadExample(const QString& text) {
  // A sample in the editor is replaced without a question; the user's own
  // changes are offered for saving first.
  if (!maybeSave()) return;
  editor_->setPlainText(text);
  document_.holdExample(QStringLiteral("Пример.tsm"));
  editor_->document()->setModified(false);
  updateTitle();
}

void MainWindow::updateTitle() {
  setWindowTitle(document_.displayName() + QStringLiteral("[*] — Tesmora"));
  setWindowModified(document_.modified);
}

void MainWindow::setRunning(bool running) {
  for (QAction* act : idleOnlyActs_) act->setEnabled(!running);
  stopAct_->setEnabled(running);
  resultsDock_->console()->setEnabled(!running);
  updateLineActions();
}

void MainWindow::showStatus(const QString& text) { runStatus_->setText(text); }

QString MainWindow::runStatusText() const { return runStatus_->text(); }

QString MainWindow::caretLineText() const { return lineStatus_->text(); }

}  // namespace tesmora::app
