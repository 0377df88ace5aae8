#include "builtins/UserFunction.h"

#include <cstring>

#include "interp/Cancellation.h"
#include "interp/Errors.h"
#include "interp/Evaluator.h"
#include "interp/Limits.h"
#include "interp/Prog.h"
#include "interp/compiled/Compiler.h"
#include "interp/compiled/Executor.h"
#include "values/Scalar.h"

namespace tesmora {
namespace {

// The scanner state of the caller, put back after the body has run.
struct SavedScanner {
  explicit SavedScanner(const Scanner& s)
      : readPos(s.readPos), tokenStart(s.tokenStart), tokenKind(s.tokenKind) {
    std::memcpy(tokenText, s.tokenText, sizeof tokenText);
  }
  void restore(Scanner& s) const {
    s.readPos = readPos;
    s.tokenStart = tokenStart;
    s.tokenKind = tokenKind;
    std::memcpy(s.tokenText, tokenText, sizeof tokenText);
  }
  const char* readPos;
  const char* tokenStart;
  int tokenKind;
  char tokenText[kTokenBufferSize];
};

// Parameters are removed when the call ends, also when it fails. A failed
// body may have left the parameters' own values on the stack: those go
// first, before the parameters that own them.
// Whether the call failed is told by `finished`, set when the body has
// given its value: asking for the uncaught exceptions costs more than the
// rest of the binding.
struct LocalBindings {
  LocalBindings(VariableTable& table, ValueStack& stack)
      : table(table), stack(stack), stackBase(stack.size()) {}
  ~LocalBindings() {
    if (!finished) stack.truncate(stackBase);
    while (count-- > 0) table.popLocal();
  }
  VariableTable& table;
  ValueStack& stack;
  const int stackBase;
  int count = 0;
  bool finished = false;
};

// Freed function values of this thread, kept for the next ones; given
// back when the thread ends. Sanitizer builds keep none, so that a use
// after free is still caught.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::size_t kKeptFunctions = 0;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr std::size_t kKeptFunctions = 0;
#else
constexpr std::size_t kKeptFunctions = 256;
#endif
#else
constexpr std::size_t kKeptFunctions = 256;
#endif

struct FreeFunctions {
  struct Block {
    Block* next;
  };
  ~FreeFunctions() {
    while (first) {
      Block* next = first->next;
      ::operator delete(first);
      first = next;
    }
  }
  Block* first = nullptr;
  std::size_t count = 0;
};
thread_local FreeFunctions freeFunctions;

}  // namespace

void* CSFuncU::operator new(std::size_t size) {
  FreeFunctions& kept = freeFunctions;
  if (size == sizeof(CSFuncU) && kept.first) {
    FreeFunctions::Block* block = kept.first;
    kept.first = block->next;
    --kept.count;
    return block;
  }
  return ::operator new(size);
}

void CSFuncU::operator delete(void* block, std::size_t size) {
  FreeFunctions& kept = freeFunctions;
  if (size == sizeof(CSFuncU) && kept.count < kKeptFunctions) {
    auto* freed = static_cast<FreeFunctions::Block*>(block);
    freed->next = kept.first;
    kept.first = freed;
    ++kept.count;
    return;
  }
  ::operator delete(block);
}

Definition::Definition(std::string name, std::string body, std::vector<Parameter> parameters)
    : name(std::move(name)), body(std::move(body)), parameters(std::move(parameters)) {
  for (const Parameter& parameter : this->parameters) {
    if (parameter.type != kScalarType) takesNumbers = false;
  }
}

const compiled::CompiledBody* Definition::compiledBody() const {
  if (!compileTried_) {
    compileTried_ = true;
    std::vector<std::string> names;
    for (const Parameter& parameter : parameters) names.push_back(parameter.name);
    compiled_ = compiled::compileBody(body, names);
  }
  return compiled_.get();
}

int* const* Definition::parameterSlots(VariableTable& table) const {
  if (slotsTable_ != table.id()) {
    slots_.clear();
    for (const Parameter& parameter : parameters) {
      slots_.push_back(table.slotFor(parameter.name));
    }
    slotsTable_ = table.id();
  }
  return slots_.data();
}

namespace {

// The name a call of `callee` is titled with (see evaluateBody).
const char* titleOf(const Definition& definition, const MatObject& callee) {
  return callee.variableName && !callee.isOrphan() ? callee.variableName
                                                   : definition.name.c_str();
}

// The body's value, the call titled `title`. The title points at a name
// that lives as long as the call: the callee's variable's or the
// definition's.
double runBody(const Definition& definition, const char* title, const char* notANumber) {
  ProgramContext& p = program();
  pollStop();
  if (p.callDepth >= kMaxCallDepth) raise("слишком большая глубина рекурсии");
  Scanner& scanner = p.scanner;
  const char* callerTitle = p.currentFunctionName;
  // On an error the depth and the title stay as they are: the report titles
  // the error with the function it happened in.
  ++p.callDepth;
  ++scanner.nestingDepth;
  p.currentFunctionName = title;
  double value = 0;
  try {
    if (const compiled::CompiledBody* body =
            p.compiledForm ? definition.compiledBody() : nullptr) {
      value = p.executor.evaluateBody(
          *body, static_cast<int>(definition.parameters.size()), notANumber);
    } else {
      // The compiled body leaves the scanner alone; the text is read with it.
      const SavedScanner saved(scanner);
      scanner.readPos = definition.body.c_str();
      scanner.scan();
      p.evaluator.evaluate();
      if (!scanner.atEnd()) raise("нет ';'");
      Popped result(p.stack.pop());
      if (result->typeCode != kScalarType) raise(notANumber);
      value = numberOf(*result);
      saved.restore(scanner);
    }
  } catch (...) {
    p.keepFunctionName();
    throw;
  }
  --scanner.nestingDepth;
  --p.callDepth;
  p.currentFunctionName = callerTitle;
  return value;
}

constexpr const char* kNotANumber = "Значение функции должно быть скаляром";

}  // namespace

double evaluateBody(const Definition& definition, const MatObject& callee,
                    const char* notANumber) {
  return runBody(definition, titleOf(definition, callee), notANumber);
}

double CSFuncU::invoke(int count, Args args) {
  ProgramContext& p = program();
  LocalBindings locals(p.variables, p.stack);
  int* const* slots = definition_->parameterSlots(p.variables);
  for (int i = 0; i < count; ++i) {
    p.variables.pushLocalInSlot(slots[i], definition_->parameters[i].name,
                                args[i]->copy());
    ++locals.count;
  }
  const double value = runBody(*definition_, titleOf(*definition_, *this), kNotANumber);
  locals.finished = true;
  return value;
}

// A number argument's copy is a new number: made here from the number.
double CSFuncU::invokeOnNumbers(const double* numbers, bool asCopy) {
  ProgramContext& p = program();
  LocalBindings locals(p.variables, p.stack);
  int* const* slots = definition_->parameterSlots(p.variables);
  const int count = argCount();
  for (int i = 0; i < count; ++i) {
    p.variables.pushLocalInSlot(slots[i], definition_->parameters[i].name,
                                makeNumber(numbers[i]));
    ++locals.count;
  }
  const char* title = asCopy ? definition_->name.c_str() : titleOf(*definition_, *this);
  const double value = runBody(*definition_, title, kNotANumber);
  locals.finished = true;
  return value;
}

double CSFuncU::eval1(double x) {
  Scalar arg(x);
  MatObject* args[] = {&arg};
  return invoke(1, args);
}

double CSFuncU::eval2(double x, double y) {
  Scalar first(x);
  Scalar second(y);
  MatObject* args[] = {&first, &second};
  return invoke(2, args);
}

double CLawUser::draw() const {
  return evaluateBody(*definition_, *this, "ошибка в определении закона");
}

}  // namespace tesmora
