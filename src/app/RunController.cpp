#include "app/RunController.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QThread>
#include <QWidget>

#include <exception>
#include <memory>

#include "app/Editor.h"
#include "app/MessageBoxes.h"
#include "app/TextBridge.h"
#include "interp/Cancellation.h"
#include "text/Cp1251.h"

namespace tesmora::app {

namespace {

// The report of a failure that escaped the interpreter itself (for
// instance memory exhaustion): the run ends like any failed run.
RunReport escapedFailureReport(const char* what) {
  RunReport report;
  report.ok = false;
  report.errorTitle = cp("Ошибка");
  report.errorMessage = what;
  report.status = cp("Выполнено с ошибкой");
  return report;
}

// The editor is read-only and the busy cursor shows while a program runs
// (an arrow with a clock: the Stop button can still be clicked).
class BusyEditor {
 public:
  explicit BusyEditor(Editor* editor) : editor_(editor) {
    editor_->setReadOnly(true);
    QApplication::setOverrideCursor(Qt::BusyCursor);
  }
  ~BusyEditor() {
    QApplication::restoreOverrideCursor();
    editor_->setReadOnly(false);
  }
  BusyEditor(const BusyEditor&) = delete;
  BusyEditor& operator=(const BusyEditor&) = delete;

 private:
  Editor* editor_;
};

}  // namespace

RunController::RunController(Interpreter& interpreter, Editor* editor,
                             QWidget* window, QObject* parent)
    : QObject(parent), interpreter_(interpreter), editor_(editor),
      window_(window) {}

void RunController::run(const QString& title) {
  Source source;
  source.fragment = editor_->hasSelection();
  source.textStart = source.fragment ? editor_->selectionStart() : 0;
  source.text = source.fragment ? editor_->selectedText() : editor_->text();
  start(source, title);
}

void RunController::runConsoleLine(const QString& line, const QString& title) {
  Source source;
  source.text = line;
  source.fragment = true;
  source.fromConsole = true;
  start(source, title);
}

void RunController::stop(bool quietly) {
  if (!running_) return;
  quiet_ = quiet_ || quietly;
  requestStop();
}

void RunController::start(const Source& source, const QString& title) {
  if (running_) return;

  RunRequest request;
  request.fragment = source.fragment;
  Cp1251Text runText = toCp1251CrLf(source.text);
  if (!runText.ok) {
    showTextBox(window_, QMessageBox::Critical, QStringLiteral("Ошибка"),
                QStringLiteral("Символа «%1» нет в кодировке Windows-1251: "
                               "программу нельзя выполнить.")
                    .arg(runText.badCharacter));
    if (!source.fromConsole)
      editor_->placeCaret(source.textStart + runText.badPosition);
    return;
  }
  request.text = std::move(runText.bytes);
  const QByteArray titleUtf8 = title.toUtf8();
  utf8ToCp1251(std::string_view(titleUtf8.constData(), titleUtf8.size()),
               request.title);

  running_ = true;
  quiet_ = false;
  emit runStarted();
  RunOutcome outcome;
  {
    BusyEditor busy(editor_);
    outcome.report = execute(request);
  }
  running_ = false;
  outcome.finishedAt = QDateTime::currentDateTime();
  outcome.fragment = source.fragment;
  outcome.fromConsole = source.fromConsole;
  if (source.fromConsole) outcome.consoleLine = source.text;
  if (!outcome.report.ok && !source.fromConsole)
    outcome.errorPosition =
        source.textStart +
        editorPositionOf(request.text, outcome.report.errorOffset);
  emit runFinished();
  emit outcomeReady(outcome);

  if (quiet_) return;
  window_->raise();
  window_->activateWindow();
  if (!outcome.report.status.empty())
    emit statusChanged(fromCp1251(outcome.report.status));
  showOutcome(outcome);
}

RunReport RunController::execute(const RunRequest& request) {
  RunReport report;
  std::exception_ptr failure;
  std::unique_ptr<QThread> worker(QThread::create([&] {
    try {
      report = interpreter_.run(request);
    } catch (...) {
      failure = std::current_exception();
    }
  }));
  worker->setStackSize(kRunStackBytes);

  // The GUI thread keeps serving events (painting, and the dialogs the
  // program opens through the host) until the worker is done.
  QEventLoop loop;
  connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
  worker->start();
  loop.exec();
  worker->wait();

  if (failure) {
    try {
      std::rethrow_exception(failure);
    } catch (const std::exception& error) {
      return escapedFailureReport(error.what());
    } catch (...) {
      return escapedFailureReport("?");
    }
  }
  return report;
}

void RunController::showOutcome(const RunOutcome& outcome) {
  // A console line answers in the results pane only.
  if (outcome.fromConsole) return;
  const RunReport& report = outcome.report;
  if (report.ok) {
    if (report.shown && resultBoxes_) {
      showTextBox(window_, QMessageBox::NoIcon, fromCp1251(report.caption),
                  fromCp1251(report.text));
    }
    return;
  }
  // Errors always get their box: the setting covers results only.
  showTextBox(window_, QMessageBox::Critical, fromCp1251(report.errorTitle),
              fromCp1251(report.errorMessage));
  if (outcome.errorPosition >= 0) {
    editor_->placeCaret(outcome.errorPosition);
    editor_->markError(outcome.errorPosition);
  }
}

}  // namespace tesmora::app
