// The Run command: takes the program text from the editor, runs it on a
// worker thread with a deep stack while the window stays alive, and shows
// the outcome: the result box, or the error box with the caret put where
// the error happened.
#pragma once

#include <QObject>
#include <QString>

#include "interp/Interpreter.h"

class QWidget;

namespace tesmora::app {

class Editor;

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

  bool isRunning() const { return running_; }

 signals:
  void runStarted();
  void runFinished();
  // The first status pane's text at the end of a run.
  void statusChanged(const QString& text);

 private:
  RunReport execute(const RunRequest& request);
  void showOutcome(const RunReport& report, int textStart,
                   const std::string& runText);

  Interpreter& interpreter_;
  Editor* editor_;
  QWidget* window_;
  bool running_ = false;
};

}  // namespace tesmora::app
