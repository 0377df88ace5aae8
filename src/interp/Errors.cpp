#include "interp/Errors.h"

#include <cstdio>

#include "text/Cp1251.h"

namespace tesmora {

void raise(std::string_view utf8Message) {
  throw ScriptError{cp(utf8Message), {}};
}

void raiseAbout(std::string_view subject1251, std::string_view utf8Message) {
  throw ScriptError{cp(utf8Message), std::string(subject1251)};
}

void raise1251(std::string message1251, std::string subject1251) {
  throw ScriptError{std::move(message1251), std::move(subject1251)};
}

std::string argTypeErrorText(const CArgTypeError& error) {
  const std::string kind = cp("недопустимый тип");
  const std::string argument = cp(" аргумента");
  std::string text;
  if (!error.name.empty()) text = error.name + ": " + kind;
  else text = cp("Недопустимый тип");
  text += error.suffix + argument;
  if (error.count >= 2) text += " " + std::to_string(error.index + 1);
  return text;
}

}  // namespace tesmora
