#include "interp/Prog.h"

#include "builtins/Registry.h"
#include "interp/Errors.h"
#include "text/Cp1251.h"
#include "values/Random.h"

namespace tesmora {
namespace {
ProgramContext* gProgram = nullptr;
}

ProgramContext& program() { return *gProgram; }

ProgramContext::ProgramContext(Host& host) : host(host) {
  gProgram = this;
  seedRandom(static_cast<std::uint32_t>(host.wallClock()));
  registerBuiltins(variables);
}

ProgramContext::~ProgramContext() {
  stack.clear();
  if (gProgram == this) gProgram = nullptr;
}

void ProgramContext::longRunCheckPoint() {
  if (!longRunCheck) return;
  if (host.tickMs() - runStartMs <= timeLimit * 1000) return;
  BoxRequest box;
  box.kind = BoxKind::LongRun;
  box.caption = cp("Предупреждение");
  box.text = cp("Программа работает слишком долго. Прервать вычисления?");
  box.buttons = "YES|NO";
  box.icon = "(?)";
  if (host.messageBox(box) == "YES") raise("Выполнение прекращено пользователем");
  longRunCheck = false;
}

}  // namespace tesmora
