#include "app/Editor.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>

#include "app/TextBridge.h"

namespace tesmora::app {

namespace {

QFont programFont(int points) {
  const QString preferred = QStringLiteral("Courier New");
  QFont font = QFontDatabase::hasFamily(preferred)
                   ? QFont(preferred)
                   : QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setStyleHint(QFont::TypeWriter);
  font.setPointSize(points);
  return font;
}

}  // namespace

Editor::Editor(QWidget* parent) : QPlainTextEdit(parent) {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  applyFont();
  connect(this, &QPlainTextEdit::cursorPositionChanged, this,
          [this] { emit caretLineChanged(caretLine()); });
}

void Editor::applyFont() {
  const QFont font = programFont(kFontPoints);
  setFont(font);
  setTabStopDistance(QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')) *
                     kTabStopCharacters);
}

QString Editor::text() const { return editorText(document()->toRawText()); }

QString Editor::selectedText() const {
  return editorText(textCursor().selectedText());
}

int Editor::selectionStart() const { return textCursor().selectionStart(); }

bool Editor::hasSelection() const { return textCursor().hasSelection(); }

void Editor::placeCaret(int position) {
  QTextCursor cursor = textCursor();
  const int last = std::max(0, document()->characterCount() - 1);
  cursor.setPosition(std::clamp(position, 0, last));
  setTextCursor(cursor);
  ensureCursorVisible();
}

int Editor::caretLine() const { return textCursor().blockNumber() + 1; }

}  // namespace tesmora::app
