#include "app/Editor.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>

#include "app/EditorFont.h"
#include "app/TextBridge.h"
#include "app/WordBounds.h"

namespace tesmora::app {

Editor::Editor(QWidget* parent)
    : QPlainTextEdit(parent), fontIndex_(kInitialFontIndex) {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  applyFont();
  applyMargins();
  connect(this, &QPlainTextEdit::cursorPositionChanged, this,
          [this] { emit caretLineChanged(caretLine()); });
}

void Editor::setFontIndex(int index) {
  index = std::clamp(index, 0, lastFontIndex());
  if (index == fontIndex_) return;
  fontIndex_ = index;
  applyFont();
  emit fontIndexChanged(fontIndex_);
}

void Editor::applyFont() {
  const QFont font = editorFont(fontIndex_);
  setFont(font);
  setTabStopDistance(QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')) *
                     kTabStopCharacters);
}

void Editor::applyMargins() {
  // The margins lie outside the viewport; the editor paints them in the
  // text's background colour, and shows the arrow cursor over them (the
  // viewport keeps the text cursor).
  document()->setDocumentMargin(0);
  setViewportMargins(kLeftMargin, 0, kRightMargin, 0);
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
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

void Editor::selectWordAt(int position) {
  const int last = std::max(0, document()->characterCount() - 1);
  const QTextBlock block = document()->findBlock(std::clamp(position, 0, last));
  // A line end always ends a word, so the line's own text is enough.
  const WordBounds word =
      wordAround(block.text(), position - block.position());
  QTextCursor cursor(document());
  cursor.setPosition(block.position() + word.start);
  cursor.setPosition(block.position() + word.end, QTextCursor::KeepAnchor);
  setTextCursor(cursor);
}

void Editor::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QPlainTextEdit::mouseDoubleClickEvent(event);
    return;
  }
  selectWordAt(cursorForPosition(event->position().toPoint()).position());
  event->accept();
}

}  // namespace tesmora::app
