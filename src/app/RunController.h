// The Run command: takes the program text from the editor (or a line of
// the console), runs it on a worker thread with a deep stack while the
// window stays alive, and shows the outcome: the result box, or the error
// box with the caret put where the error happened. Stop ends a run at its
// next cancellation point.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

#include "interp/Interpreter.h"

class QWidget;

namespace tesmora::app {

class Editor;

// What a finished run leaves for the panes: the report, when it ended,
// what was run, and where its error lies in the editor.
struct RunOutcome {
  RunReport report;
  QDateTime finishedAt;
  bool fragment = false;
  // The text came from the console, not from the editor.
  bool fromConsole = false;
  // The console line, or empty for an editor run.
  QString consoleLine;
  // The editor position of the error, or -1 (no error, or a console run).
  int errorPosition = -1;
};

class RunController : public QObject {
  Q_OBJECT

 public:
  // Deeply nested expressions and user functions recurse in the
  // interpreter; the worker's stack is sized for them.
  static constexpr unsigned kRunStackBytes = 512u * 1024u * 1024u;

  RunController(Interpreter& interpreter, Editor* editor, QWidget* window,
                QObject* parent = nullptr);

  // Runs the selected text (a fragment) or, without a selection, the whole
  // text, under the document title `title`.
  void run(const QString& title);
  // Runs one console line as a fragment: the variables of earlier runs
  // stay, the editor is left alone, and the outcome goes to the results
  // pane only (no box).
  void runConsoleLine(const QString& line, const QString& title);

  // Asks the running program to stop; it ends with "Выполнение прекращено
  // пользователем" and keeps its variables. With `quietly`, the run ends
  // without its result or error box (the window is about to close).
  void stop(bool quietly = false);

  bool isRunning() const { return running_; }

  // false: results and errors go to the results pane only, without boxes.
  void setResultBoxes(bool shown) { resultBoxes_ = shown; }
  bool resultBoxes() const { return resultBoxes_; }

 signals:
  void runStarted();
  void runFinished();
  // After runFinished, before any box: what the run left.
  void outcomeReady(const tesmora::app::RunOutcome& outcome);
  // The first status pane's text at the end of a run.
  void statusChanged(const QString& text);

 private:
  struct Source {
    QString text;
    bool fragment = false;
    int textStart = 0;
    bool fromConsole = false;
  };
  void start(const Source& source, const QString& title);
  RunReport execute(const RunRequest& request);
  void showOutcome(const RunOutcome& outcome);

  Interpreter& interpreter_;
  Editor* editor_;
  QWidget* window_;
  bool running_ = false;
  bool quiet_ = false;
  bool resultBoxes_ = true;
};

}  // namespace tesmora::app
