// The program editor: a plain-text editor in a fixed-pitch font of a size
// the user chooses, with tab stops every four characters and narrow blank
// margins. It knows its caret line, how to put the caret where an error
// happened, and selects a whole word of the language on a double-click.
#pragma once

#include <QPlainTextEdit>

namespace tesmora::app {

class Editor : public QPlainTextEdit {
  Q_OBJECT

 public:
  static constexpr int kTabStopCharacters = 4;
  // Blank pixels left and right of the text; the left one is wider so that
  // the caret at the start of a line is easy to see and to click.
  static constexpr int kLeftMargin = 10;
  static constexpr int kRightMargin = 2;

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

  // The index of the current size in the font size table (EditorFont.h).
  int fontIndex() const { return fontIndex_; }
  // Switches to the size at `index` (clamped to the table).
  void setFontIndex(int index);

  // Selects the word around `position` (WordBounds.h); with no word there
  // the caret just moves to `position`.
  void selectWordAt(int position);

 signals:
  void caretLineChanged(int line);
  void fontIndexChanged(int index);

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void applyFont();
  void applyMargins();

  int fontIndex_;
};

}  // namespace tesmora::app
