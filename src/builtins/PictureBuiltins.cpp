// Showing the picture: show and qshow hand the prepared picture to the host
// and wait for the window's answer; hide and erase; and the date converters
// of the cursor display.
#include <string>
#include <vector>

#include "builtins/Rows.h"
#include "graphics/PictureLayout.h"
#include "graphics/PictureState.h"
#include "graphics/StateCommands.h"
#include "interp/Prog.h"
#include "text/Cp1251.h"

namespace tesmora {
namespace {

using graphics::picture;

ValuePtr nothing() { return std::make_unique<Void>(); }

// The host's answer for qshow's window.
enum QShowCode { kClosed = 0, kSkip = 1, kAsk = 2 };

// Shows the picture modally and returns the window's end code. Closing the
// window empties the picture, whichever host shows it.
int showModal(PictureMode mode, std::vector<std::string> menu) {
  ProgramContext& p = program();
  graphics::PictureState& state = picture();
  PictureRequest request{mode, state.title, std::move(menu), &state};
  const int code = p.host.showPicture(request);
  if (code == 0) state.erase();
  return code;
}

std::vector<std::string> menuFor(double kind) {
  if (kind == 1) return {cp("Продолжить")};
  if (kind == 2) return {cp("Да"), cp("Нет")};
  if (kind == 3) return {cp("Да"), cp("Нет"), cp("Продолжить")};
  return {};
}

ValuePtr show(int count, Args args) {
  if (count > 1) raise("show: слишком много аргументов");
  if (count == 1 && args[0]->typeCode != kScalarType) raise("несоответствие типа аргумента");
  ProgramContext& p = program();
  int code = 0;
  if (picture().empty()) {
    p.host.messageBox({BoxKind::PictureEmpty, "show()", cp("Рисунок пуст"), "OK", ""});
  } else {
    graphics::preparePicture(picture());
    code = showModal(PictureMode::Show, menuFor(count == 1 ? numberOf(*args[0]) : 0));
  }
  p.runStartMs = p.host.tickMs();
  return makeNumber(code);
}

ValuePtr questionShow(Str title, Str caption, Str question) {
  ProgramContext& p = program();
  picture().append(std::make_unique<graphics::CWinTitle>(picture(), title));
  graphics::preparePicture(picture());
  std::string answer;
  while (answer.empty()) {
    const int code = showModal(PictureMode::QShow, {cp("Пропустить"), cp("Спросить")});
    if (code == kClosed) {
      answer = "X";
    } else if (code == kSkip) {
      answer = "SKIP";
    } else if (code == kAsk) {
      const std::string pressed =
          p.host.messageBox({BoxKind::Msg, caption, question, "YES|NO|CANCEL", "(?)"});
      if (pressed == "YES" || pressed == "NO") answer = pressed;
    } else {
      raise("???");
    }
  }
  p.runStartMs = p.host.tickMs();
  return std::make_unique<String>(answer);
}

ValuePtr hide() {
  program().host.hidePicture();
  return nothing();
}

ValuePtr erase() {
  picture().erase();
  return nothing();
}

// setftime, setfdate, setfmonth: the converter must be a scalar function of
// one number.
void setDateConverter(const char* name, int kind, int count, Args args) {
  if (count > 1) raiseAbout(name, "слишком много аргументов");
  if (count == 0) raiseAbout(name, "не указана функция");
  const MatObject& f = *args[0];
  if (f.typeCode != kSFuncType && f.typeCode != kFunctionType) {
    raiseAbout(name, "несоответствие типа аргумента");
  }
  const auto* scalar = dynamic_cast<const CSFunc*>(&f);
  if (!scalar || scalar->argCount() != 1 || scalar->argType(0) != kScalarType) {
    raiseAbout(name, "аргумент должен быть скалярной  функцией от одного скалярного "
                     "аргумента");
  }
  picture().dateKind = kind;
  picture().dateConverter = f.copy();
}

void setTimeConverter(int count, Args args) { setDateConverter("setftime", 0, count, args); }
void setDayConverter(int count, Args args) { setDateConverter("setfdate", 1, count, args); }
void setMonthConverter(int count, Args args) { setDateConverter("setfmonth", 2, count, args); }

constexpr BuiltinRow kRows[] = {
    row<FunctionO_StrStrStr, questionShow>("qshow"),
    row<FunctionO_, hide>("hide"),
    row<COFunc, show>("show"),
    row<FunctionO_, erase>("erase"),
    row<Subroutine, setTimeConverter>("setftime"),
    row<Subroutine, setDayConverter>("setfdate"),
    row<Subroutine, setMonthConverter>("setfmonth"),
};

}  // namespace

std::span<const BuiltinRow> pictureBuiltins() { return kRows; }

}  // namespace tesmora
