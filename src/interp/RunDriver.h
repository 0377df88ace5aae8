// The run driver: one execution of a program text, from the pre-check to
// the value shown, the elapsed time and, when something goes wrong, the
// error report with its title, text and caret position.
#pragma once

#include <cstdint>
#include <string>

#include "interp/Interpreter.h"

namespace tesmora {

class ProgramContext;

RunReport runText(ProgramContext& program, const RunRequest& request);

// "Выполнено за ..." for an elapsed time in milliseconds.
std::string elapsedStatus(std::int64_t ms);

}  // namespace tesmora
