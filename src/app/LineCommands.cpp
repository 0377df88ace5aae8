#include "app/LineCommands.h"

#include <QPlainTextEdit>
#include <QTextCursor>

#include "app/TextBridge.h"

namespace tesmora::app {

namespace {

void editLine(QStringView line, QStringView prefix, PrefixEdit edit,
              QString& out) {
  if (edit == PrefixEdit::Insert) {
    if (!line.isEmpty()) out += prefix;
    out += line;
  } else {
    out += line.startsWith(prefix) ? line.mid(prefix.size()) : line;
  }
}

}  // namespace

QString editLinePrefixes(QStringView selected, bool startsLine,
                         QStringView prefix, PrefixEdit edit) {
  QString out;
  out.reserve(selected.size() * 2);
  bool concerned = startsLine;
  qsizetype lineStart = 0;
  while (true) {
    const qsizetype lineEnd = selected.indexOf(u'\n', lineStart);
    const QStringView line =
        selected.mid(lineStart, lineEnd < 0 ? -1 : lineEnd - lineStart);
    if (concerned) {
      editLine(line, prefix, edit, out);
    } else {
      out += line;
    }
    if (lineEnd < 0) break;
    out += u'\n';
    lineStart = lineEnd + 1;
    concerned = true;  // every later line begins inside the selection
  }
  return out;
}

void editSelectedLines(QPlainTextEdit& editor, QStringView prefix,
                       PrefixEdit edit) {
  QTextCursor cursor = editor.textCursor();
  if (!cursor.hasSelection()) return;
  const int start = cursor.selectionStart();

  QTextCursor atStart(editor.document());
  atStart.setPosition(start);
  const QString changed = editLinePrefixes(
      editorText(cursor.selectedText()), atStart.atBlockStart(), prefix, edit);

  cursor.beginEditBlock();
  cursor.insertText(changed);
  cursor.endEditBlock();
  cursor.setPosition(start);
  cursor.setPosition(start + int(changed.size()), QTextCursor::KeepAnchor);
  editor.setTextCursor(cursor);
  editor.document()->setModified(true);
}

}  // namespace tesmora::app
