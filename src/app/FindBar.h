// The find and replace bar under the editor: a pattern, a replacement,
// "match case" and "whole word" options (a word ends at the language's
// separators, as for double-click), the count of matches, and the
// commands next, previous, replace and replace all.
#pragma once

#include <QList>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace tesmora::app {

class Editor;

// Where `pattern` occurs in `text`: the start of every match, left to
// right, without overlaps.
QList<int> findMatches(const QString& text, const QString& pattern,
                       bool matchCase, bool wholeWord);

class FindBar : public QWidget {
  Q_OBJECT

 public:
  explicit FindBar(Editor* editor, QWidget* parent = nullptr);

  // Shows the bar, with the replacement row when `replace`, the editor's
  // selected word as the pattern, and the focus in the pattern field.
  void open(bool replace);

  void setPattern(const QString& pattern);
  void setReplacement(const QString& replacement);
  void setMatchCase(bool on);
  void setWholeWord(bool on);

  int matchCount() const { return int(matches_.size()); }
  QString countText() const;

 public slots:
  // Selects the next (previous) match after (before) the caret, wrapping
  // around the text; false when there is none.
  bool findNext();
  bool findPrevious();
  // Replaces the selected match and moves to the next one.
  void replaceCurrent();
  // Replaces every match as one undo step; returns how many.
  int replaceAll();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void recount();
  bool selectionIsMatch() const;

  Editor* editor_;
  QLineEdit* pattern_;
  QLineEdit* replacement_;
  QCheckBox* matchCase_;
  QCheckBox* wholeWord_;
  QLabel* count_;
  QList<QWidget*> replaceRow_;
  QList<int> matches_;
};

}  // namespace tesmora::app
