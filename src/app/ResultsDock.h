// The results pane: the history of runs (time, caption and text of the
// result, or the error with its message; clicking an error puts the caret
// where it happened) and, under it, a one-line console whose lines run as
// fragments with the variables kept. Up and Down walk the console's
// history.
#pragma once

#include <QDockWidget>
#include <QLineEdit>
#include <QStringList>

class QListWidget;
class QListWidgetItem;

namespace tesmora::app {

struct RunOutcome;

// The text a console line runs as: a statement typed without its final
// ";" ("x = 5") gets one, so that it need not be typed; an expression
// ("x * 2") stays as it is.
QString consoleProgramText(const QString& line);

// The console's input line with its history.
class ConsoleLine : public QLineEdit {
  Q_OBJECT

 public:
  explicit ConsoleLine(QWidget* parent = nullptr);

 signals:
  void submitted(const QString& line);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QStringList history_;
  int position_ = 0;  // history_.size(): the line being typed
  QString typing_;
};

class ResultsDock : public QDockWidget {
  Q_OBJECT

 public:
  explicit ResultsDock(QWidget* parent = nullptr);

  void addOutcome(const RunOutcome& outcome);

  QListWidget* history() const { return history_; }
  ConsoleLine* console() const { return console_; }

 signals:
  // A console line to run as a fragment.
  void consoleLineEntered(const QString& line);
  // The user clicked an error of an editor run.
  void errorActivated(int position);

 private:
  void activate(QListWidgetItem* item);

  QListWidget* history_;
  ConsoleLine* console_;
};

}  // namespace tesmora::app
