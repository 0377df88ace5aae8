// The program editor: a plain-text editor in a fixed-pitch font of a size
// the user chooses, with tab stops every four characters, a line-number
// gutter and narrow blank margins beside the text. It colours the language
// (LanguageHighlighter), marks the caret's line and the bracket matching
// the one at the caret, completes builtin names and shows their arguments,
// knows its caret line, puts the caret (and a wavy mark) where an error
// happened, and selects a whole word of the language on a double-click.
#pragma once

#include <QPlainTextEdit>

class QCompleter;
class QStringListModel;

namespace tesmora::app {

class LanguageHighlighter;

class Editor : public QPlainTextEdit {
  Q_OBJECT

 public:
  static constexpr int kTabStopCharacters = 4;
  // Blank pixels left and right of the text; the left one is wider so that
  // the caret at the start of a line is easy to see and to click. The left
  // margin lies between the line numbers and the text.
  static constexpr int kLeftMargin = 10;
  static constexpr int kRightMargin = 2;
  // Completion is offered once a name has this many characters.
  static constexpr int kCompletionPrefix = 3;

  explicit Editor(QWidget* parent = nullptr);
  ~Editor() override;

  // The whole text with LF line ends, every character kept.
  QString text() const;
  // The selected text with LF line ends; empty when nothing is selected.
  QString selectedText() const;
  int selectionStart() const;
  bool hasSelection() const;

  // Places the caret at `position` with an empty selection and shows it.
  void placeCaret(int position);
  // Marks the error at `position` with a wavy underline until the text
  // changes.
  void markError(int position);
  // The marked error position, or -1.
  int errorMark() const { return errorPosition_; }

  // The 1-based line that holds the caret.
  int caretLine() const;
  // Puts the caret at the start of the 1-based `line` (clamped).
  void goToLine(int line);

  // The index of the current size in the font size table (EditorFont.h).
  int fontIndex() const { return fontIndex_; }
  // Switches to the size at `index` (clamped to the table).
  void setFontIndex(int index);

  // Selects the word around `position` (WordBounds.h); with no word there
  // the caret just moves to `position`.
  void selectWordAt(int position);

  // The width of the line-number gutter in pixels.
  int lineNumberWidth() const;
  LanguageHighlighter* highlighter() const { return highlighter_; }
  QCompleter* completer() const { return completer_; }
  // Opens the completion list for the name before the caret.
  void complete();
  // The call tip last shown ("sin(число) → число"), empty when none.
  QString callTip() const { return callTip_; }
  // The positions of the bracket at the caret and of its partner, or -1.
  QPair<int, int> matchedBrackets() const { return brackets_; }

 signals:
  void caretLineChanged(int line);
  void fontIndexChanged(int index);

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  // Only text is pasted. An empty clipboard (a mime object without any
  // format, as X11 reports it when no program owns the clipboard) never
  // reaches QPlainTextEdit: Qt 6.4 reads the first format of the list
  // without checking that there is one and crashes.
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  friend class LineNumberArea;
  void applyFont();
  void applyMargins();
  void paintLineNumbers(QPaintEvent* event);
  void updateExtraSelections();
  void findMatchingBracket();
  QString wordBeforeCaret() const;
  void insertCompletion(const QString& name);
  void showCallTipFor(const QString& name);
  void refreshUserFunctions();

  int fontIndex_;
  QWidget* lineNumbers_;
  LanguageHighlighter* highlighter_;
  QCompleter* completer_;
  QStringListModel* completionModel_;
  int errorPosition_ = -1;
  QPair<int, int> brackets_{-1, -1};
  QString callTip_;
};

}  // namespace tesmora::app
