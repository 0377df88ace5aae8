#include "interp/Interpreter.h"

#include <pthread.h>

#include <exception>
#include <functional>

#include "interp/Prog.h"
#include "interp/RunDriver.h"
#include "values/Random.h"

namespace tesmora {
namespace {

// Programs recurse through the evaluator; a run gets a native stack large
// enough for every nesting the interpreter's own limits allow. The memory
// is reserved, not committed, until it is used.
constexpr std::size_t kRunStackBytes = std::size_t(512) << 20;

void* runTask(void* task) {
  (*static_cast<std::function<void()>*>(task))();
  return nullptr;
}

void runOnLargeStack(std::function<void()> task) {
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, kRunStackBytes);
  pthread_t thread;
  const bool started = pthread_create(&thread, &attributes, runTask, &task) == 0;
  pthread_attr_destroy(&attributes);
  if (started) {
    pthread_join(thread, nullptr);
  } else {
    task();  // no thread to be had: run here, with the stack we have
  }
}

}  // namespace

Interpreter::Interpreter(Host& host)
    : context_(std::make_unique<ProgramContext>(host)) {}

Interpreter::~Interpreter() = default;

RunReport Interpreter::run(const RunRequest& request) {
  RunReport report;
  std::exception_ptr failure;
  runOnLargeStack([&] {
    try {
      report = runText(*context_, request);
    } catch (...) {
      failure = std::current_exception();
    }
  });
  if (failure) std::rethrow_exception(failure);
  return report;
}

void Interpreter::seed(std::uint32_t value) { seedRandom(value); }

ProgramContext& Interpreter::context() { return *context_; }

}  // namespace tesmora
