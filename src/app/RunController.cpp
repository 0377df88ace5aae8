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

// The editor is read-only and the wait cursor shows while a program runs.
class BusyEditor {
 public:
  explicit BusyEditor(Editor* editor) : editor_(editor) {
    editor_->setReadOnly(true);
    QApplication::setOverrideCursor(Qt::WaitCursor);
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
  if (running_) return;

  RunRequest request;
  request.fragment = editor_->hasSelection();
  const int textStart = request.fragment ? editor_->selectionStart() : 0;
  const QString text =
      request.fragment ? editor_->selectedText() : editor_->text();

  Cp1251Text runText = toCp1251CrLf(text);
  if (!runText.ok) {
    showTextBox(window_, QMessageBox::Critical, QStringLiteral("Ошибка"),
                QStringLiteral("Символа «%1» нет в кодировке Windows-1251: "
                               "программу нельзя выполнить.")
                    .arg(runText.badCharacter));
    editor_->placeCaret(textStart + runText.badPosition);
    return;
  }
  request.text = std::move(runText.bytes);
  const QByteArray titleUtf8 = title.toUtf8();
  utf8ToCp1251(std::string_view(titleUtf8.constData(), titleUtf8.size()),
               request.title);

  running_ = true;
  emit runStarted();
  RunReport report;
  {
    BusyEditor busy(editor_);
    report = execute(request);
  }
  running_ = false;
  emit runFinished();

  window_->raise();
  window_->activateWindow();
  if (!report.status.empty()) emit statusChanged(fromCp1251(report.status));
  showOutcome(report, textStart, request.text);
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

void RunController::showOutcome(const RunReport& report, int textStart,
                                const std::string& runText) {
  if (report.ok) {
    if (report.shown) {
      showTextBox(window_, QMessageBox::NoIcon, fromCp1251(report.caption),
                  fromCp1251(report.text));
    }
    return;
  }
  showTextBox(window_, QMessageBox::Critical, fromCp1251(report.errorTitle),
              fromCp1251(report.errorMessage));
  editor_->placeCaret(textStart +
                      editorPositionOf(runText, report.errorOffset));
}

}  // namespace tesmora::app
