#include "interp/Interpreter.h"

#include "interp/LargeStack.h"
#include "interp/Prog.h"
#include "interp/RunDriver.h"
#include "values/Random.h"

namespace tesmora {

Interpreter::Interpreter(Host& host)
    : context_(std::make_unique<ProgramContext>(host)) {}

Interpreter::~Interpreter() = default;

RunReport Interpreter::run(const RunRequest& request) {
  RunReport report;
  runOnLargeStack([&] {
    report = runText(*context_, request);
    return 0;
  });
  return report;
}

void Interpreter::seed(std::uint32_t value) { seedRandom(value); }

ProgramContext& Interpreter::context() { return *context_; }

}  // namespace tesmora
