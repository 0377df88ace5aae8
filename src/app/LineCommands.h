// The line commands: put a prefix (a TAB, or "//" to comment out) at the
// start of the selected lines, or take one off them.
//
// The lines concerned are those that begin inside the selection, and the
// first selected line too when the selection starts at the start of a line.
// A line that merely ends where the selection starts is left alone, so that
// a selection of whole lines never touches the line above it.
#pragma once

#include <QString>
#include <QStringView>

class QPlainTextEdit;

namespace tesmora::app {

inline constexpr QStringView kTabPrefix = u"\t";
inline constexpr QStringView kCommentPrefix = u"//";

enum class PrefixEdit { Insert, Remove };

// The selected text (LF line ends) with the prefix inserted on every
// concerned line that is not empty, or with one prefix removed from every
// concerned line that starts with it. `startsLine`: the selection begins at
// the start of the text or right after a line end.
QString editLinePrefixes(QStringView selected, bool startsLine,
                         QStringView prefix, PrefixEdit edit);

// Applies the edit to the editor's selection as one undo step, selects the
// changed text and marks the document modified. Does nothing without a
// selection.
void editSelectedLines(QPlainTextEdit& editor, QStringView prefix,
                       PrefixEdit edit);

}  // namespace tesmora::app
