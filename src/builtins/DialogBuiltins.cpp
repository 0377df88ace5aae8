// Builtins that talk to the user while a program runs: message boxes
// (message, msg, picmsg, yes, cprint), the line-input dialog (getstr) and
// the status bar (setstatus). Every box is modal; time spent waiting for
// the user does not count towards the long-run question.
#include <string>
#include <string_view>

#include "builtins/Rows.h"
#include "interp/Prog.h"
#include "io/RunStatus.h"
#include "text/Cp1251.h"

namespace tesmora {
namespace {

ValuePtr nothing() { return std::make_unique<Void>(); }

// The long-run clock starts again once the user has answered.
std::string ask(const BoxRequest& box) {
  ProgramContext& p = program();
  std::string pressed = p.host.messageBox(box);
  p.runStartMs = p.host.tickMs();
  return pressed;
}

// Appends a value's full display form. The empty value adds nothing (its
// display would otherwise wipe what the earlier arguments collected).
void appendDisplay(DisplayBuffer& display, const MatObject& value) {
  if (value.typeCode == kVoidType) return;
  display.displayFull(value);
}

void message(int count, Args args) {
  DisplayBuffer& display = program().display;
  display.reset();
  for (int i = 0; i < count; ++i) {
    if (i > 0) display.append("\n\r");
    appendDisplay(display, *args[i]);
  }
  ask({BoxKind::Message, "message", display.text(), "OK", ""});
}

void clipboardPrint(int count, Args args) {
  DisplayBuffer& display = program().display;
  display.reset();
  for (int i = 0; i < count; ++i) {
    appendDisplay(display, *args[i]);
    if (i + 1 < count && args[i]->typeCode != kStringType) display.append("\n\r\n\r");
  }
  const std::string& text = display.text();
  const std::string answer = ask({BoxKind::CPrint, cp("Поместить в буфер обмена?"),
                                  text, "YES|NO", "(?)"});
  // The clipboard takes plain text, which ends at its first zero byte.
  if (answer == "YES") program().host.setClipboardText(text.substr(0, text.find('\0')));
}

constexpr std::string_view kIcons[] = {"", "(X)", "(?)", "!", "(i)"};
constexpr std::string_view kButtonSets[] = {
    "OK",     "OK|CANCEL",    "ABORT|RETRY|IGNORE", "YES|NO|CANCEL",
    "YES|NO", "RETRY|CANCEL", "CANCEL|TRY|CONTINUE"};

template <std::size_t N>
bool isOneOf(const std::string& text, const std::string_view (&choices)[N]) {
  for (std::string_view choice : choices) {
    if (text == choice) return true;
  }
  return false;
}

// The result is the name of the pressed button, "" when the box was closed
// without one.
ValuePtr messageBox(Str caption, Str icon, Str text, Str buttons) {
  if (!isOneOf(icon, kIcons)) raise("Недопустимый тип значка перед сообщением");
  if (!isOneOf(buttons, kButtonSets)) raise("Недопустимый набор кнопок после сообщения");
  return std::make_unique<String>(ask({BoxKind::Msg, caption, text, buttons, icon}));
}

ValuePtr pictureMessage(Str caption, Str text) {
  ask({BoxKind::PicMsg, caption, text, "OK", ""});
  return nothing();
}

ValuePtr yes(Str question) {
  const std::string answer =
      ask({BoxKind::Yes, program().documentTitle, question, "YES|NO", "(?)"});
  return makeNumber(answer == "YES" ? 1 : 0);
}

ValuePtr getString(Str prompt) {
  ProgramContext& p = program();
  std::string typed = p.host.getString(prompt);
  p.runStartMs = p.host.tickMs();
  return std::make_unique<String>(std::move(typed));
}

// The run's own status ("Выполняется с 14:05") followed by the program's text;
// the window repaints so that the bar shows it while the program goes on.
ValuePtr setStatus(Str text) {
  Host& host = program().host;
  host.setStatus(runStartStatus() + ".  " + text);
  host.processEvents();
  return nothing();
}

constexpr BuiltinRow kRows[] = {
    row<FunctionO_Str, setStatus>("setstatus"),
    row<Subroutine, clipboardPrint>("cprint"),
    row<Subroutine, message>("message"),
    row<FunctionO_Str, yes>("yes"),
    row<FunctionO_StrStr, pictureMessage>("picmsg"),
    row<FunctionO_Str, getString>("getstr"),
    row<FunctionO_StrStrStrStr, messageBox>("msg"),
};

}  // namespace

std::span<const BuiltinRow> dialogBuiltins() { return kRows; }

}  // namespace tesmora
