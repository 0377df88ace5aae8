// The Qt edge of the text rules: the interpreter and the files hold
// Windows-1251 bytes with CR LF line ends, the editor holds a QString whose
// lines end in a single LF.
#pragma once

#include <QString>

#include <cstddef>
#include <string>
#include <string_view>

namespace tesmora::app {

// Windows-1251 text as the user reads it (captions, messages, values):
// CR LF pairs become LF, everything else is kept.
QString fromCp1251(std::string_view text);

// The editor's text as the interpreter reads it.
struct Cp1251Text {
  bool ok = true;
  std::string bytes;        // Windows-1251, CR LF line ends
  int badPosition = 0;      // editor position of the first character that
                            // Windows-1251 cannot hold, when !ok
  QString badCharacter;     // that character
};
Cp1251Text toCp1251CrLf(const QString& editorText);

// The editor's characters of a QTextDocument: paragraph separators of the
// selection and of the raw text become LF. Non-breaking spaces are kept
// (QTextDocument::toPlainText would turn them into plain spaces).
QString editorText(const QString& rawText);

// The editor position of a byte offset into a run text: every byte is one
// character, except that a CR LF pair is one editor position. An offset
// between CR and LF lands at the end of that line; past the end, at the end.
int editorPositionOf(std::string_view runText, std::size_t offset);

}  // namespace tesmora::app
