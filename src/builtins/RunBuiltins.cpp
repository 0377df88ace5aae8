// Builtins that change the run itself: the long-run clock and the
// element-count limit.
#include <cmath>

#include "builtins/Rows.h"
#include "interp/Limits.h"
#include "interp/Prog.h"

namespace tesmora {
namespace {

// timer(x): restart the long-run clock with a limit of x seconds; x <= 0
// turns the question off for the rest of the run.
ValuePtr restartTimer(double seconds) {
  ProgramContext& p = program();
  p.runStartMs = p.host.tickMs();
  p.timeLimit = seconds;
  p.longRunCheck = seconds > 0;
  return std::make_unique<Void>();
}

// setmaxdim(n): the largest element count of matrices and tables for this run.
ValuePtr setMaxDimension(double n) {
  if (!(n >= 0 && n <= kMaxElementsCap && n == std::floor(n))) {
    raise("недопустимое значение размерности");
  }
  setMaxElementCount(static_cast<int>(n));
  return std::make_unique<Void>();
}

constexpr BuiltinRow kRows[] = {
    row<FunctionO_D, restartTimer>("timer"),
    row<FunctionO_D, setMaxDimension>("setmaxdim"),
};

}  // namespace

std::span<const BuiltinRow> runBuiltins() { return kRows; }

}  // namespace tesmora
