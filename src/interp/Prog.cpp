#include "interp/Prog.h"

#include <cstdlib>
#include <string_view>

#include "builtins/Registry.h"
#include "interp/Cancellation.h"
#include "interp/Errors.h"
#include "text/Cp1251.h"
#include "values/Random.h"

namespace tesmora {
namespace {
ProgramContext* gProgram = nullptr;
thread_local bool tHelperThread = false;
}

ProgramContext& program() { return *gProgram; }

ProgramContext::ProgramContext(Host& host) : host(host) {
  gProgram = this;
  const char* textPath = std::getenv("TESMORA_TEXT_PATH");
  compiledForm = !(textPath && std::string_view(textPath) == "1");
  seedRandom(static_cast<std::uint32_t>(host.wallClock()));
  registerBuiltins(variables);
}

ProgramContext::~ProgramContext() {
  stack.clear();
  if (gProgram == this) gProgram = nullptr;
}

void ProgramContext::stopIfRequested() {
  if (!stopRequested.load(std::memory_order_relaxed)) return;
  stopRequested.store(false, std::memory_order_relaxed);
  raise("Выполнение прекращено пользователем");
}

void ProgramContext::keepFunctionName() {
  if (!failedFunctionNames.empty() && currentFunctionName == failedFunctionNames.back().c_str()) {
    return;  // kept by the call that failed first
  }
  currentFunctionName = failedFunctionNames.emplace_back(currentFunctionName).c_str();
}

void ProgramContext::longRunCheckPoint() {
  stopIfRequested();
  if (!longRunCheck) return;
  if (host.checkTickMs() - runStartMs <= timeLimit * 1000) return;
  BoxRequest box;
  box.kind = BoxKind::LongRun;
  box.caption = cp("Предупреждение");
  box.text = cp("Программа работает слишком долго. Прервать вычисления?");
  box.buttons = "YES|NO";
  box.icon = "(?)";
  if (host.messageBox(box) == "YES") raise("Выполнение прекращено пользователем");
  longRunCheck = false;
}

void requestStop() {
  if (ProgramContext* p = gProgram) p->stopRequested.store(true, std::memory_order_relaxed);
}

void leavePollsToInterpreterThread() { tHelperThread = true; }

void pollStop() {
  if (gProgram != nullptr && !tHelperThread) gProgram->poll();
}

}  // namespace tesmora
