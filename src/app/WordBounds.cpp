#include "app/WordBounds.h"

#include <QStringView>

#include <algorithm>

namespace tesmora::app {

namespace {

// Operators, brackets and punctuation of the language, the double quote,
// and the blanks and line ends.
constexpr QStringView kSeparators =
    u"+-*/%^\\'()[]{}=!~:,;&<>?|#@$. \r\n\t\"";

}  // namespace

bool isWordSeparator(QChar c) {
  // A QTextDocument ends its lines with a paragraph separator.
  return kSeparators.contains(c) || c == QChar::ParagraphSeparator;
}

WordBounds wordAround(QStringView text, int position) {
  WordBounds word;
  word.start = word.end = std::clamp(position, 0, int(text.size()));
  while (word.start > 0 && !isWordSeparator(text[word.start - 1]))
    --word.start;
  while (word.end < text.size() && !isWordSeparator(text[word.end]))
    ++word.end;
  return word;
}

}  // namespace tesmora::app
