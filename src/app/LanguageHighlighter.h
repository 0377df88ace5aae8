// Syntax colours of the program text: keywords, numbers, strings,
// comments, operators, builtin names (from the registry) and the names of
// the functions the program itself defines. The colours follow the
// palette: a light and a dark scheme, each readable on its background.
#pragma once

#include <QColor>
#include <QPalette>
#include <QSet>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

namespace tesmora::app {

enum class TokenStyle { Plain, Keyword, Number, String, Comment, Operator,
                        Builtin, UserFunction };

struct SyntaxToken {
  int start = 0;
  int length = 0;
  TokenStyle style = TokenStyle::Plain;
};

// The styled tokens of one line; `userFunctions` are the names the
// program defines with `function`.
QList<SyntaxToken> tokenizeLine(const QString& line,
                                const QSet<QString>& userFunctions);

// The names after `function` (and `law`) in a program text.
QSet<QString> definedFunctionNames(const QString& text);

// true for a palette whose text background is dark.
bool isDarkPalette(const QPalette& palette);

class LanguageHighlighter : public QSyntaxHighlighter {
  Q_OBJECT

 public:
  explicit LanguageHighlighter(QTextDocument* document);

  // Chooses the light or the dark scheme for `palette` and redraws.
  void setPalette(const QPalette& palette);
  // Redraws when the program's own function names changed.
  void setUserFunctions(const QSet<QString>& names);

  QColor colorOf(TokenStyle style) const;

 protected:
  void highlightBlock(const QString& text) override;

 private:
  QHash<int, QTextCharFormat> formats_;
  QSet<QString> userFunctions_;
};

}  // namespace tesmora::app
