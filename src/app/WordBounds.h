// The word around a position, as double-click and context help see it: a
// run of characters between two separators (operators, brackets,
// punctuation, quotes, blanks and line ends) or the ends of the text.
#pragma once

#include <QChar>
#include <QStringView>

namespace tesmora::app {

bool isWordSeparator(QChar c);

struct WordBounds {
  int start = 0;
  int end = 0;  // one past the last character
  bool isEmpty() const { return start == end; }
};

// The word that holds the caret at `position` (0 … text.size()): widened
// to the left from the character before the caret and to the right from the
// character after it. Empty when both neighbours are separators.
WordBounds wordAround(QStringView text, int position);

}  // namespace tesmora::app
