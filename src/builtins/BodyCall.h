// The two halves of every call of a user function or law body, shared by
// the generic call (UserFunction.cpp) and the compiled form's call of
// numbers (interp/compiled/Executor.cpp), so both do exactly the same.
#pragma once

#include "interp/Errors.h"
#include "interp/Limits.h"
#include "interp/Prog.h"

namespace tesmora {

// Parameters are removed when the call ends, also when it fails. A failed
// body may have left the parameters' own values on the stack: those go
// first, before the parameters that own them.
// Whether the call failed is told by `finished`, set when the body has
// given its value: asking for the uncaught exceptions costs more than the
// rest of the binding.
struct ParameterBindings {
  ParameterBindings(VariableTable& table, ValueStack& stack)
      : table(table), stack(stack), stackBase(stack.size()) {}
  ~ParameterBindings() {
    if (!finished) stack.truncate(stackBase);
    while (count-- > 0) table.popLocal();
  }
  ParameterBindings(const ParameterBindings&) = delete;
  ParameterBindings& operator=(const ParameterBindings&) = delete;
  VariableTable& table;
  ValueStack& stack;
  const int stackBase;
  int count = 0;
  bool finished = false;
};

// The run of a body, titled `title` (a name that lives as long as the
// call: the callee's variable's or the definition's): a Stop is looked
// for, the depth bounded, and the title put up. `finish` takes the title
// down when the body has given its value; a failed body leaves the depth
// and its title as they are (the report titles the error with the
// function it happened in), the title kept by `fail`, to be called from
// the handler the failure passes.
class BodyCall {
 public:
  BodyCall(ProgramContext& p, const char* title) : p_(p) {
    p.poll();  // pollStop(): p is the program
    if (p.callDepth >= kMaxCallDepth) raise("слишком большая глубина рекурсии");
    callerTitle_ = p.currentFunctionName;
    ++p.callDepth;
    ++p.scanner.nestingDepth;
    p.currentFunctionName = title;
  }
  BodyCall(const BodyCall&) = delete;
  BodyCall& operator=(const BodyCall&) = delete;
  void finish() {
    --p_.scanner.nestingDepth;
    --p_.callDepth;
    p_.currentFunctionName = callerTitle_;
  }
  [[gnu::cold]] void fail() { p_.keepFunctionName(); }

 private:
  ProgramContext& p_;
  const char* callerTitle_ = nullptr;
};

}  // namespace tesmora
