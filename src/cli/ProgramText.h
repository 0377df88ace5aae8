// Turning command-line material into the interpreter's form: program texts,
// titles and typed answers become Windows-1251; program texts get CR LF
// line ends.
#pragma once

#include <string>
#include <string_view>

#include "cli/CliOptions.h"

namespace tesmora::cli {

// A RUN ready for the interpreter: every text is Windows-1251.
struct PreparedRun {
  std::string text;   // CR LF line ends
  std::string title;  // document title
  bool fragment = false;
  std::vector<std::string> answers;
  std::optional<std::string> pictureFile;
  PictureSize pictureSize;
};

// Reads and decodes the program text of `run` and works out its title.
// Throws UsageError for an unreadable file or a character that
// Windows-1251 cannot hold.
PreparedRun prepareRun(const RunSource& run);

// Program text from raw bytes: valid UTF-8 holding a byte of 128 or more is
// converted from UTF-8, anything else is taken as Windows-1251; every lone
// LF becomes CR LF. `sourceName` names the text in the error message.
std::string decodeProgramText(std::string_view bytes,
                              std::string_view sourceName);

// A title or a typed answer: the same decision, without line-end changes.
// `what` names it in the error message.
std::string decodeArgumentText(std::string_view bytes, std::string_view what);

// The default document title: the file's name without directory and
// without its extension; "Untitled" for -e and standard input.
std::string defaultTitleBytes(const RunSource& run);

}  // namespace tesmora::cli
