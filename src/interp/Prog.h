// ProgramContext: the one interpreter context of the process. It holds the
// scanner, the value stack, the variable table, the run fields and the
// display buffer, and knows its host. Every part of the core reaches it
// through program().
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <unordered_map>

#include "interp/Evaluator.h"
#include "interp/Host.h"
#include "interp/Scanner.h"
#include "interp/Statements.h"
#include "interp/ValueStack.h"
#include "interp/VariableTable.h"
#include "interp/compiled/Code.h"
#include "interp/compiled/Executor.h"
#include "values/Display.h"

namespace tesmora {

class ProgramContext {
 public:
  explicit ProgramContext(Host& host);
  ~ProgramContext();
  ProgramContext(const ProgramContext&) = delete;
  ProgramContext& operator=(const ProgramContext&) = delete;

  Host& host;
  Scanner scanner;
  ValueStack stack;
  VariableTable variables;
  DisplayBuffer display;
  Evaluator evaluator{*this};
  Statements statements{*this};
  compiled::Executor executor{*this};
  // The statements of the running text read once, by the token start of
  // their first token; null for those left to the text path. Emptied when
  // a run starts: the text of the last run is gone.
  std::unordered_map<const char*, std::unique_ptr<compiled::CompiledStatement>>
      compiledStatements;
  // False runs everything on the text path (TESMORA_TEXT_PATH=1 in the
  // environment): the reference the compiled form is tested against.
  bool compiledForm = true;

  // Run fields.
  std::string documentTitle;
  std::int64_t runStartMs = 0;     // when the run (or the last timer call) began
  double timeLimit = 10.0;         // seconds before the long-run question
  bool longRunCheck = true;
  bool expressionMode = false;
  bool fragmentRun = false;
  int questionCounter = 0;
  // Calls in progress that bind no names are bounded separately (see
  // kMaxCallDepth); this counts every user function and law call.
  int callDepth = 0;
  // The title of the user function being evaluated: the name of the
  // variable holding it, or the name it was defined under. A call points
  // at its function's own name instead of copying it; a failing call keeps
  // the name in failedFunctionNames, as the function and the variable
  // naming it may be gone by the time the error is reported.
  const char* currentFunctionName = "";
  std::deque<std::string> failedFunctionNames;
  void keepFunctionName();
  // Asks whether to stop when the run has taken longer than its limit, and
  // ends the run when a stop was requested (interp/Cancellation.h).
  void longRunCheckPoint();
  // Set by requestStop() from any thread; cleared when a run starts and when
  // the stop it asked for has been raised.
  std::atomic<bool> stopRequested{false};
  // Counts pollStop() calls between two looks at the clock.
  unsigned pollsSinceClock = 0;
  // Raises the stop message if a stop was requested.
  void stopIfRequested();
  // What pollStop() does (interp/Cancellation.h), inline for the calls of
  // user functions. Reading the clock costs far more than the flag: it is
  // looked at only now and then, which still asks the long-run question
  // within milliseconds.
  void poll() {
    if (stopRequested.load(std::memory_order_relaxed)) stopIfRequested();
    constexpr unsigned kLongRunPollInterval = 1024;
    if (++pollsSinceClock < kLongRunPollInterval) return;
    pollsSinceClock = 0;
    longRunCheckPoint();
  }
};

// The process's interpreter context.
ProgramContext& program();

}  // namespace tesmora
