// The three exceptions a run can end with. Errors are never return codes:
// whatever goes wrong throws one of these, and only the run driver catches
// them and turns them into the error report (title, text, caret).
#pragma once

#include <string>
#include <string_view>

namespace tesmora {

// A message error. `message` and `subject` are Windows-1251 text; the
// subject (the error context name) names what the error is about (a
// variable, a builtin, a number token) and the report shows it in front of
// the message as SUBJECT + ":  " + MESSAGE.
struct ScriptError {
  std::string message;
  std::string subject;
};

// A wrongly typed argument of a call. The report formats it by argument
// count and name (see argTypeErrorText).
struct CArgTypeError {
  int index = 0;           // 0-based, after the method-call shift
  int count = 0;           // argument count, after the method-call shift
  std::string name;        // the function's name; empty when it has none
  std::string suffix;      // "" or " элемента" (Windows-1251)
};

// break (flag 1) and continue (flag 0) unwinding to the nearest loop.
struct CBreak {
  int flag = 1;
};

// Raise a message given as a UTF-8 literal (converted to Windows-1251).
[[noreturn]] void raise(std::string_view utf8Message);
// The same with a subject already in Windows-1251 (a name from the text).
[[noreturn]] void raiseAbout(std::string_view subject1251,
                             std::string_view utf8Message);
// A message already in Windows-1251.
[[noreturn]] void raise1251(std::string message1251,
                            std::string subject1251 = {});

std::string argTypeErrorText(const CArgTypeError& error);

}  // namespace tesmora
