// The program editor: a plain-text editor in a fixed-pitch font with tab
// stops every four characters, which knows its caret line and how to put
// the caret where an error happened.
#pragma once

#include <QPlainTextEdit>

namespace tesmora::app {

class Editor : public QPlainTextEdit {
  Q_OBJECT

 public:
  static constexpr int kFontPoints = 10;
  static constexpr int kTabStopCharacters = 4;

  explicit Editor(QWidget* parent = nullptr);

  // The whole text with LF line ends, every character kept.
  QString text() const;
  // The selected text with LF line ends; empty when nothing is selected.
  QString selectedText() const;
  int selectionStart() const;
  bool hasSelection() const;

  // Places the caret at `position` with an empty selection and shows it.
  void placeCaret(int position);

  // The 1-based line that holds the caret.
  int caretLine() const;

 signals:
  void caretLineChanged(int line);

 private:
  void applyFont();
};

}  // namespace tesmora::app
