// The message of the script error an action raises, for tests that hold
// messages word for word.
#pragma once

#include <functional>
#include <string>

#include "interp/Errors.h"

namespace tesmora {

inline std::string messageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const ScriptError& error) {
    return error.message;
  }
  return "(no error)";
}

}  // namespace tesmora
