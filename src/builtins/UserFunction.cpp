#include "builtins/UserFunction.h"

#include <cstring>

#include "builtins/BodyCall.h"
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

const compiled::CompiledBody* Definition::compileFirst() const {
  compileTried_ = true;
  std::vector<std::string> names;
  for (const Parameter& parameter : parameters) names.push_back(parameter.name);
  compiled_ = compiled::compileBody(body, names);
  return compiled_.get();
}

int* const* Definition::findSlots(VariableTable& table) const {
  slots_.clear();
  for (const Parameter& parameter : parameters) {
    slots_.push_back(table.slotFor(parameter.name));
  }
  slotsTable_ = table.id();
  return slots_.data();
}

namespace {

// The body's value, the call titled `title`. The title points at a name
// that lives as long as the call: the callee's variable's or the
// definition's.
double runBody(const Definition& definition, const char* title, const char* notANumber) {
  ProgramContext& p = program();
  Scanner& scanner = p.scanner;
  BodyCall call(p, title);
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
    call.fail();
    throw;
  }
  call.finish();
  return value;
}

}  // namespace

double evaluateBody(const Definition& definition, const MatObject& callee,
                    const char* notANumber) {
  return runBody(definition, callTitle(definition, callee), notANumber);
}

double CSFuncU::invoke(int count, Args args) {
  ProgramContext& p = program();
  ParameterBindings locals(p.variables, p.stack);
  int* const* slots = definition_->parameterSlots(p.variables);
  for (int i = 0; i < count; ++i) {
    p.variables.pushLocalInSlot(slots[i], definition_->parameters[i].name,
                                args[i]->copy());
    ++locals.count;
  }
  const double value = runBody(*definition_, callTitle(*definition_, *this), kNotANumberMessage);
  locals.finished = true;
  return value;
}

// A number argument's copy is a new number: made here from the number.
double CSFuncU::invokeOnNumbers(const double* numbers, bool asCopy) {
  ProgramContext& p = program();
  ParameterBindings locals(p.variables, p.stack);
  int* const* slots = definition_->parameterSlots(p.variables);
  const int count = argCount();
  for (int i = 0; i < count; ++i) {
    p.variables.pushLocalNumberInSlot(slots[i], definition_->parameters[i].name, numbers[i]);
    ++locals.count;
  }
  const char* title = asCopy ? definition_->name.c_str() : callTitle(*definition_, *this);
  const double value = runBody(*definition_, title, kNotANumberMessage);
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
