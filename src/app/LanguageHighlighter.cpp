#include "app/LanguageHighlighter.h"

#include <QRegularExpression>

#include "app/BuiltinCatalogue.h"
#include "app/WordBounds.h"

namespace tesmora::app {

namespace {

const QSet<QString>& keywords() {
  static const QSet<QString> words = {
      QStringLiteral("if"),     QStringLiteral("else"),
      QStringLiteral("while"),  QStringLiteral("for"),
      QStringLiteral("in"),     QStringLiteral("break"),
      QStringLiteral("continue"), QStringLiteral("function"),
      QStringLiteral("law"),    QStringLiteral("scalar"),
      QStringLiteral("matrix"), QStringLiteral("supermatrix"),
      QStringLiteral("string")};
  return words;
}

bool isNameStart(QChar c) { return c.isLetter() || c == u'_'; }
bool isNamePart(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

int numberEnd(const QString& line, int i) {
  const int n = int(line.size());
  while (i < n && line[i].isDigit()) ++i;
  if (i < n && line[i] == u'.') {
    ++i;
    while (i < n && line[i].isDigit()) ++i;
  }
  if (i < n && (line[i] == u'e' || line[i] == u'E')) {
    int j = i + 1;
    if (j < n && (line[j] == u'+' || line[j] == u'-')) ++j;
    if (j < n && line[j].isDigit()) {
      i = j;
      while (i < n && line[i].isDigit()) ++i;
    }
  }
  return i;
}

struct Scheme {
  TokenStyle style;
  QColor light, dark;
  bool bold = false;
  bool italic = false;
};

const Scheme kSchemes[] = {
    {TokenStyle::Keyword, QColor(0x00, 0x33, 0xb3), QColor(0xcc, 0x99, 0xff), true},
    {TokenStyle::Number, QColor(0x16, 0x7d, 0x7f), QColor(0x8f, 0xd9, 0xd2)},
    {TokenStyle::String, QColor(0x06, 0x7d, 0x17), QColor(0xa5, 0xd6, 0x7f)},
    {TokenStyle::Comment, QColor(0x8c, 0x8c, 0x8c), QColor(0x8a, 0x93, 0x9e), false, true},
    {TokenStyle::Operator, QColor(0x80, 0x3c, 0x00), QColor(0xf2, 0xb4, 0x6d)},
    {TokenStyle::Builtin, QColor(0x87, 0x10, 0x94), QColor(0x7a, 0xc4, 0xff)},
    {TokenStyle::UserFunction, QColor(0x00, 0x62, 0x7a), QColor(0xff, 0xd7, 0x66), true},
};

}  // namespace

QList<SyntaxToken> tokenizeLine(const QString& line,
                                const QSet<QString>& userFunctions) {
  QList<SyntaxToken> tokens;
  const int n = int(line.size());
  int i = 0;
  while (i < n) {
    const QChar c = line[i];
    const int start = i;
    TokenStyle style = TokenStyle::Plain;
    if (c == u'/' && i + 1 < n && line[i + 1] == u'/') {
      i = n;
      style = TokenStyle::Comment;
    } else if (c == u'"') {
      const qsizetype close = line.indexOf(u'"', i + 1);
      i = close < 0 ? n : int(close) + 1;
      style = TokenStyle::String;
    } else if (c.isDigit() ||
               (c == u'.' && i + 1 < n && line[i + 1].isDigit())) {
      i = numberEnd(line, i);
      style = TokenStyle::Number;
    } else if (isNameStart(c)) {
      while (i < n && isNamePart(line[i])) ++i;
      const QString word = line.mid(start, i - start);
      if (keywords().contains(word)) style = TokenStyle::Keyword;
      else if (userFunctions.contains(word)) style = TokenStyle::UserFunction;
      else if (BuiltinCatalogue::instance().contains(word))
        style = TokenStyle::Builtin;
    } else {
      ++i;
      if (isWordSeparator(c) && !c.isSpace() && c != u'"')
        style = TokenStyle::Operator;
    }
    if (style != TokenStyle::Plain) tokens.append({start, i - start, style});
  }
  return tokens;
}

QSet<QString> definedFunctionNames(const QString& text) {
  static const QRegularExpression definition(
      QStringLiteral("(?:^|[;{}\\s])(?:function|law)\\s+([\\w]+)"),
      QRegularExpression::UseUnicodePropertiesOption);
  QSet<QString> names;
  for (auto it = definition.globalMatch(text); it.hasNext();)
    names.insert(it.next().captured(1));
  return names;
}

bool isDarkPalette(const QPalette& palette) {
  return palette.color(QPalette::Base).lightnessF() < 0.5;
}

LanguageHighlighter::LanguageHighlighter(QTextDocument* document)
    : QSyntaxHighlighter(document) {
  setPalette(QPalette());
}

void LanguageHighlighter::setPalette(const QPalette& palette) {
  const bool dark = isDarkPalette(palette);
  formats_.clear();
  for (const Scheme& scheme : kSchemes) {
    QTextCharFormat format;
    format.setForeground(dark ? scheme.dark : scheme.light);
    if (scheme.bold) format.setFontWeight(QFont::Bold);
    format.setFontItalic(scheme.italic);
    formats_.insert(int(scheme.style), format);
  }
  rehighlight();
}

void LanguageHighlighter::setUserFunctions(const QSet<QString>& names) {
  if (names == userFunctions_) return;
  userFunctions_ = names;
  rehighlight();
}

QColor LanguageHighlighter::colorOf(TokenStyle style) const {
  return formats_.value(int(style)).foreground().color();
}

void LanguageHighlighter::highlightBlock(const QString& text) {
  for (const SyntaxToken& token : tokenizeLine(text, userFunctions_))
    setFormat(token.start, token.length, formats_.value(int(token.style)));
}

}  // namespace tesmora::app
