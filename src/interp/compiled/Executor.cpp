#include "interp/compiled/Executor.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "builtins/BodyCall.h"
#include "builtins/UserFunction.h"
#include "interp/Errors.h"
#include "interp/Prog.h"
#include "values/Function.h"
#include "values/Matrix.h"
#include "values/Operators.h"
#include "values/Scalar.h"

namespace tesmora::compiled {
namespace {

using Entry = VariableTable::Entry;

// One evaluation level of the text path (Evaluator::evaluate).
struct EvaluationLevel {
  explicit EvaluationLevel(int& depth) : depth(depth) {
    if (depth >= kMaxExpressionDepth) raise("переполнение стека");
    ++depth;
  }
  ~EvaluationLevel() { --depth; }
  int& depth;
};

// While an operator's right operand is evaluated and the operator applied
// the caret is at the operator; afterwards it goes back. An error leaves
// it where the error put it (the destructor does not run a restore then:
// `done` is called only on success).
class CaretAt {
 public:
  CaretAt(Scanner& scanner, const char* pos) : scanner_(scanner), saved_(scanner.errorPos) {
    scanner_.setErrorPos(pos);
  }
  void done() {
    if (scanner_.nestingDepth == 0) scanner_.errorPos = saved_;
  }

 private:
  Scanner& scanner_;
  const char* saved_;
};

// Phantom numbers left over by an error go when the compiled code that
// made them is left.
struct PhantomScope {
  explicit PhantomScope(ValueStack& stack) : stack(stack), count(stack.phantoms()) {}
  ~PhantomScope() { stack.setPhantoms(count); }
  ValueStack& stack;
  int count;
};

bool numberIn(const MatObject* object, double number, double& out) {
  if (!object) {
    out = number;
    return true;
  }
  if (object->typeCode != kScalarType) return false;
  out = numberOf(*object);
  return true;
}

// A variable's own number that nothing else holds: assigning a number may
// overwrite it instead of replacing it.
Scalar* ownNumber(Entry* entry) {
  if (!entry || !entry->value || entry->value == entry->registered) return nullptr;
  MatObject* value = entry->value;
  if (value->typeCode != kScalarType || value->pinCount > 0) return nullptr;
  return static_cast<Scalar*>(value);
}

// A name alone (in brackets or not) is the variable's own value, loop
// fields and all: it must reach an assignment or a call as that value, not
// as a new number.
bool isBareName(const Expr& expr) {
  const Expr* inner = &expr;
  while (inner->kind == ExprKind::Evaluate) inner = inner->operands[0].get();
  return inner->kind == ExprKind::Name || inner->kind == ExprKind::Parameter;
}

// scalarOp() with the operators of most loops and bodies inline.
inline double arithmetic(BinaryOp op, double a, double b) {
  switch (op) {
    case BinaryOp::Add: return a + b;
    case BinaryOp::Subtract: return a - b;
    case BinaryOp::Multiply: return a * b;
    case BinaryOp::Less: return a < b;
    case BinaryOp::Greater: return a > b;
    default: return scalarOp(op, a, b);
  }
}

// An argument passed as a variable's own value (see ArgumentForm).
bool isBare(const Expr& argument) {
  return argument.form == ArgumentForm::Parameter || argument.form == ArgumentForm::Name;
}

}  // namespace

inline VariableTable::Entry* Executor::entryFor(const std::string& name, NameSlot& slot) {
  if (slot.table == &program_.variables && slot.slot) {
    return program_.variables.lookupInSlot(slot.slot);
  }
  return findEntry(name, slot);
}

void Executor::run(const CompiledStatement& compiled) {
  PhantomScope phantoms(program_.stack);
  statement(*compiled.statement);
  Scanner& scanner = program_.scanner;
  scanner.readPos = compiled.end.readPos;
  scanner.tokenStart = compiled.end.tokenStart;
  scanner.tokenKind = compiled.end.tokenKind;
  std::memcpy(scanner.tokenText, compiled.end.tokenText.c_str(),
              compiled.end.tokenText.size() + 1);
}

double Executor::evaluateBody(const CompiledBody& body, int parameterCount,
                              const char* notANumber) {
  return bodyValue(body, parameterCount, notANumber);
}

double Executor::bodyValue(const CompiledBody& body, int parameterCount,
                           const char* notANumber) {
  PhantomScope phantoms(program_.stack);
  const int savedBase = frameBase_;
  frameBase_ = program_.variables.count() - parameterCount;
  struct Restore {
    int& base;
    int saved;
    ~Restore() { base = saved; }
  } restore{frameBase_, savedBase};
  double number = 0;
  if (body.expr->mayBeNumber && numeric(*body.expr, number)) return number;
  const Value value = evaluateDirect(*body.expr);
  if (!value.object) {
    program_.stack.releasePhantom();
    return value.number;
  }
  Popped result(program_.stack.pop());
  if (result->typeCode != kScalarType) raise(notANumber);
  return numberOf(*result);
}

// ---- statements ----

void Executor::statement(const Stmt& stmt) {
  Scanner& scanner = program_.scanner;
  ValueStack& stack = program_.stack;
  scanner.setErrorPos(stmt.start);
  program_.longRunCheckPoint();
  stack.clear();
  switch (stmt.kind) {
    case StmtKind::Block:
      for (const auto& inner : stmt.body) statement(*inner);
      return;
    case StmtKind::If: {
      const bool holds = condition(*stmt.expr, "if: недопустимый тип условия");
      if (holds) statement(*stmt.body[0]);
      if (stmt.hasElse) {
        stack.clear();
        if (!holds) statement(*stmt.body[1]);
      }
      return;
    }
    case StmtKind::While:
      whileLoop(stmt);
      return;
    case StmtKind::For:
      forLoop(stmt);
      return;
    case StmtKind::ForRange:
      forRange(stmt);
      return;
    case StmtKind::Break:
      throw CBreak{1};
    case StmtKind::Continue:
      throw CBreak{0};
    case StmtKind::Assign: {
      scanner.setErrorPos(stmt.nameEnd);
      double number = 0;
      if (!isBareName(*stmt.expr) && numeric(*stmt.expr, number)) assignNumber(stmt, number);
      else assign(stmt, evaluate(*stmt.expr));
      return;
    }
    case StmtKind::Append:
      append(stmt);
      return;
    case StmtKind::Expression: {
      Value value = evaluate(*stmt.expr);
      box(value);
      return;
    }
  }
}

bool Executor::condition(const Expr& expr, const char* typeMessage) {
  double number = 0;
  if (numeric(expr, number)) return number != 0;
  const Value value = evaluate(expr);
  if (!value.object) {
    program_.stack.releasePhantom();
    return value.number != 0;
  }
  Popped popped(program_.stack.pop());
  if (popped->typeCode != kScalarType) raise(typeMessage);
  return numberOf(*popped) != 0;
}

void Executor::whileLoop(const Stmt& stmt) {
  for (;;) {
    program_.stack.clear();
    if (!condition(*stmt.expr, "while: недопустимый тип условия")) return;
    try {
      statement(*stmt.body[0]);
    } catch (const CBreak& jump) {
      if (jump.flag == 1) return;
    }
  }
}

// The assignment leaves the value on the stack, as the text path's does;
// a new value (a number or a temporary) goes into the variable itself
// instead of a copy.
void Executor::assignNumber(const Stmt& stmt, double number) {
  ValueStack& stack = program_.stack;
  if (Scalar* held = ownNumber(entryFor(stmt.name, stmt.slot_))) {
    held->value = number;
    held->loopPosition = -1;
    held->loopRowWidth = -1;
    stack.push(held);
    return;
  }
  stack.push(program_.variables.assignOwned(stmt.name, makeNumber(number)));
}

void Executor::assign(const Stmt& stmt, Value value) {
  ValueStack& stack = program_.stack;
  VariableTable& variables = program_.variables;
  if (!value.object) {
    stack.releasePhantom();
    assignNumber(stmt, value.number);
    return;
  }
  if (value.object->isTemporary()) {
    ValuePtr owned(stack.pop());
    stack.push(variables.assignOwned(stmt.name, std::move(owned)));
    return;
  }
  variables.assign(stmt.name, *value.object);
}

// t = t + s with t's own text: s is appended in place, as the text path's
// new text t + s would read. Anything else is the ordinary assignment.
void Executor::append(const Stmt& stmt) {
  Scanner& scanner = program_.scanner;
  scanner.setErrorPos(stmt.nameEnd);
  const Expr& sum = *stmt.expr->operands[0];
  const Expr& target = *sum.operands[0];
  auto* entry = entryFor(target.text, target.slot_);
  MatObject* text = entry ? entry->value : nullptr;
  if (!text || text->typeCode != kStringType || text == entry->registered ||
      text->pinCount > 0) {
    double number = 0;
    if (numeric(*stmt.expr, number)) assignNumber(stmt, number);
    else assign(stmt, evaluate(*stmt.expr));
    return;
  }
  EvaluationLevel level(program_.evaluator.depth());
  const Value left = pushed(text);
  CaretAt caret(scanner, sum.errorPos);
  const Value right = evaluate(*sum.operands[1]);
  double number = 0;
  if (right.object && right.object->typeCode == kStringType) {
    static_cast<String*>(text)->text += static_cast<String*>(right.object)->text;
  } else if (numberIn(right.object, right.number, number)) {
    static_cast<String*>(text)->text += gFormat(number);
  } else {
    const Value result = apply(BinaryOp::Add, left, right);
    caret.done();
    assign(stmt, result);
    return;
  }
  drop(right);
  caret.done();
  // The text stays on the stack as the statement's value.
}

void Executor::forLoop(const Stmt& stmt) {
  ValueStack& stack = program_.stack;
  stack.clear();
  Value value = evaluate(*stmt.expr);
  box(value);
  const Pinned list(stack.pop());
  if (list->typeCode != kMatrixType && list->typeCode != kSuperType) {
    raise("for: недопустимый тип списка");
  }
  const int count = list->elementCount();
  const int width = list->colCount();
  for (int i = 0; i < count && i < list->elementCount(); ++i) {
    stack.clear();
    ValuePtr element = list->elementAt(i);
    element->loopPosition = i;
    element->loopRowWidth = width;
    program_.variables.assignOwned(stmt.name, std::move(element));
    try {
      statement(*stmt.body[0]);
    } catch (const CBreak& jump) {
      if (jump.flag == 1) return;
    }
  }
}

// for (x in a : b) visits what the range a : b would hold without
// building it, after the same checks.
void Executor::forRange(const Stmt& stmt) {
  ValueStack& stack = program_.stack;
  stack.clear();
  double a = 0;
  double b = 0;
  double n = 0;
  {
    EvaluationLevel level(program_.evaluator.depth());
    const Expr& range = *stmt.expr->operands[0];
    const Value from = evaluate(*range.operands[0]);
    CaretAt caret(program_.scanner, range.errorPos);
    const Value to = evaluate(*range.operands[1]);
    if (!numberIn(from.object, from.number, a) || !numberIn(to.object, to.number, b)) {
      raise("операция ':' не определена");
    }
    n = std::floor(std::fabs(b - a) + 1);
    if (!std::isfinite(n)) raise("операция ':' не определена");
    if (n > maxElementCount()) raise("слишком большой массив");
    drop(to);
    drop(from);
    caret.done();
  }
  const int count = static_cast<int>(n);
  for (int i = 0; i < count; ++i) {
    stack.clear();
    const double element = b >= a ? a + i : a - i;
    auto* entry = entryFor(stmt.name, stmt.slot_);
    if (Scalar* held = ownNumber(entry)) {
      held->value = element;
      held->loopPosition = i;
      held->loopRowWidth = 1;
    } else {
      ValuePtr value = makeNumber(element);
      value->loopPosition = i;
      value->loopRowWidth = 1;
      program_.variables.assignOwned(stmt.name, std::move(value));
    }
    try {
      statement(*stmt.body[0]);
    } catch (const CBreak& jump) {
      if (jump.flag == 1) return;
    }
  }
}

// ---- expressions ----

Executor::Value Executor::number(double value) {
  program_.stack.reservePhantom();
  return {nullptr, value};
}

Executor::Value Executor::pushed(MatObject* value) {
  program_.stack.push(value);
  return {value, 0};
}

void Executor::box(Value& value) {
  if (value.object) return;
  ValueStack& stack = program_.stack;
  stack.releasePhantom();
  stack.push(makeNumber(value.number));
  value.object = stack.top();
}

void Executor::drop(Value value) {
  ValueStack& stack = program_.stack;
  if (value.object) deleteIfTemporary(stack.pop());
  else stack.releasePhantom();
}

// A name never entered has no slot yet: it is found by hashing until it has.
VariableTable::Entry* Executor::findEntry(const std::string& name, NameSlot& slot) {
  VariableTable& variables = program_.variables;
  slot.slot = variables.slotOf(name);
  slot.table = &variables;
  return slot.slot ? variables.lookupInSlot(slot.slot) : nullptr;
}

bool Executor::numeric(const Expr& expr, double& out) {
  if (!expr.mayBeNumber) return false;
  const ValueStack& stack = program_.stack;
  if (stack.size() + stack.phantoms() + expr.need > kValueStackSize) return false;
  // An operator between two names or numbers in brackets, as most
  // arguments and conditions are, without the recursion; likewise a name
  // or a number alone.
  if (expr.kind == ExprKind::Evaluate) {
    EvaluationLevel level(program_.evaluator.depth());
    const Expr& inner = *expr.operands[0];
    if (inner.kind == ExprKind::Binary && inner.leafOperands) return leafBinary(inner, out);
    bool isLeaf = true;
    const bool number = leaf(inner, out, isLeaf);
    return isLeaf ? number : pure(inner, out);
  }
  return pure(expr, out);
}

// pureBinary() with both operands leaves.
bool Executor::leafBinary(const Expr& expr, double& out) {
  double a = 0;
  bool isLeaf = true;
  if (!leaf(*expr.operands[0], a, isLeaf)) return false;
  Scanner& scanner = program_.scanner;
  const char* saved = scanner.errorPos;
  scanner.setErrorPos(expr.errorPos);
  double b = 0;
  const bool numbers = leaf(*expr.operands[1], b, isLeaf);
  if (numbers) {
    out = arithmetic(expr.binary, a, b);
  }
  if (scanner.nestingDepth == 0) scanner.errorPos = saved;
  return numbers;
}

// A name or parameter holding a number, or a literal: the operands most
// operators have, read here without a call.
inline bool Executor::leaf(const Expr& expr, double& out, bool& isLeaf) {
  const MatObject* value;
  switch (expr.kind) {
    case ExprKind::Number:
      out = expr.number;
      return true;
    case ExprKind::Name: {
      Entry* entry = entryFor(expr.text, expr.slot_);
      if (!entry || !entry->value) undefinedName(expr);
      value = entry->value;
      break;
    }
    case ExprKind::Parameter:
      value = program_.variables.entry(frameBase_ + expr.slot).value;
      break;
    default:
      isLeaf = false;
      return false;
  }
  if (value->typeCode != kScalarType) return false;
  out = numberOf(*value);
  return true;
}

void Executor::undefinedName(const Expr& expr) {
  program_.scanner.setErrorPos(expr.errorPos);
  raiseAbout(expr.text, isKeyword(expr.text.c_str()) ? "неожиданное появление"
                                                       : "нет определения");
}

bool Executor::pure(const Expr& expr, double& out) {
  bool isLeaf = true;
  const bool number = leaf(expr, out, isLeaf);
  if (isLeaf) return number;
  switch (expr.kind) {
    case ExprKind::Evaluate: {
      EvaluationLevel level(program_.evaluator.depth());
      const Expr& inner = *expr.operands[0];
      // An operator between two operands, the most frequent case, without
      // going round once more.
      if (inner.kind == ExprKind::Binary) return pureBinary(inner, out);
      return pure(inner, out);
    }
    case ExprKind::Binary:
      return pureBinary(expr, out);
    case ExprKind::Negate: {
      Scanner& scanner = program_.scanner;
      const char* saved = scanner.errorPos;
      scanner.setErrorPos(expr.errorPos);
      double x = 0;
      const bool numbers = pure(*expr.operands[0], x);
      if (numbers) out = -x;
      if (scanner.nestingDepth == 0) scanner.errorPos = saved;
      return numbers;
    }
    default:
      return false;
  }
}

inline bool Executor::pureBinary(const Expr& expr, double& out) {
  if (!isScalarOp(expr.binary)) return false;
  double a = 0;
  bool isLeaf = true;
  bool numbers = leaf(*expr.operands[0], a, isLeaf);
  if (!isLeaf) numbers = pure(*expr.operands[0], a);
  if (!numbers) return false;
  Scanner& scanner = program_.scanner;
  const char* saved = scanner.errorPos;
  scanner.setErrorPos(expr.errorPos);
  double b = 0;
  isLeaf = true;
  numbers = leaf(*expr.operands[1], b, isLeaf);
  if (!isLeaf) numbers = pure(*expr.operands[1], b);
  if (numbers) {
    out = arithmetic(expr.binary, a, b);
  }
  if (scanner.nestingDepth == 0) scanner.errorPos = saved;
  return numbers;
}

Executor::Value Executor::evaluate(const Expr& expr) {
  switch (expr.kind) {
    case ExprKind::Number:
      return number(expr.number);
    case ExprKind::Text:
      program_.stack.push(std::make_unique<String>(expr.text));
      return {program_.stack.top(), 0};
    case ExprKind::Name:
      return name(expr);
    case ExprKind::Parameter:
      return pushed(program_.variables.entry(frameBase_ + expr.slot).value);
    case ExprKind::Evaluate:
      return evaluateNested(expr);
    case ExprKind::Binary:
      return binary(expr);
    case ExprKind::Negate:
    case ExprKind::Prefix:
      return unary(expr);
    case ExprKind::Range:
      return range(expr);
    case ExprKind::Call:
      return call(expr);
  }
  return {nullptr, 0};
}

// evaluate() with a call or an operator, alone or in brackets, made at
// once: one recursion fewer for the bodies most calls have.
Executor::Value Executor::evaluateDirect(const Expr& expr) {
  if (expr.kind == ExprKind::Call) return call(expr);
  if (expr.kind == ExprKind::Evaluate) {
    const Expr& inner = *expr.operands[0];
    if (inner.kind == ExprKind::Call) {
      EvaluationLevel level(program_.evaluator.depth());
      return call(inner);
    }
    if (inner.kind == ExprKind::Binary) {
      EvaluationLevel level(program_.evaluator.depth());
      return binary(inner);
    }
  }
  return evaluate(expr);
}

Executor::Value Executor::operandValue(const Expr& expr) {
  return expr.kind == ExprKind::Call ? call(expr) : evaluate(expr);
}

Executor::Value Executor::evaluateNested(const Expr& expr) {
  EvaluationLevel level(program_.evaluator.depth());
  return evaluate(*expr.operands[0]);
}

Executor::Value Executor::name(const Expr& expr) {
  auto* entry = entryFor(expr.text, expr.slot_);
  if (!entry || !entry->value) undefinedName(expr);
  return pushed(entry->value);
}

Executor::Value Executor::binary(const Expr& expr) {
  const Value left = operandValue(*expr.operands[0]);
  CaretAt caret(program_.scanner, expr.errorPos);
  const Value right = operandValue(*expr.operands[1]);
  const Value result = apply(expr.binary, left, right);
  caret.done();
  return result;
}

Executor::Value Executor::apply(BinaryOp op, Value left, Value right) {
  double a = 0;
  double b = 0;
  if (isScalarOp(op) && numberIn(left.object, left.number, a) &&
      numberIn(right.object, right.number, b)) {
    const double result = arithmetic(op, a, b);
    drop(right);
    drop(left);
    return number(result);
  }
  Scalar leftNumber(left.number);
  Scalar rightNumber(right.number);
  ValuePtr result = applyBinary(op, left.object ? *left.object : leftNumber,
                                right.object ? *right.object : rightNumber);
  drop(right);
  drop(left);
  program_.stack.push(std::move(result));
  return {program_.stack.top(), 0};
}

Executor::Value Executor::unary(const Expr& expr) {
  int& depth = program_.evaluator.depth();
  const bool prefix = expr.kind == ExprKind::Prefix;
  if (prefix && depth >= kMaxExpressionDepth - kMaxPrefixChain) {
    raise("слишком большая глубина скобок");
  }
  CaretAt caret(program_.scanner, expr.errorPos);
  if (prefix) ++depth;
  struct Leave {
    int& depth;
    bool active;
    ~Leave() {
      if (active) --depth;
    }
  } leave{depth, prefix};
  const Value operand = evaluate(*expr.operands[0]);
  double x = 0;
  Value result;
  if ((expr.unary == UnaryOp::Negate || expr.unary == UnaryOp::Not) &&
      numberIn(operand.object, operand.number, x)) {
    drop(operand);
    result = number(expr.unary == UnaryOp::Negate ? -x : 1 - x);
  } else {
    Scalar boxed(operand.number);
    ValuePtr value = applyUnary(expr.unary, operand.object ? *operand.object : boxed);
    drop(operand);
    program_.stack.push(std::move(value));
    result = {program_.stack.top(), 0};
  }
  caret.done();
  return result;
}

Executor::Value Executor::range(const Expr& expr) {
  ValueStack& stack = program_.stack;
  Value from = evaluate(*expr.operands[0]);
  CaretAt caret(program_.scanner, expr.errorPos);
  Value to = evaluate(*expr.operands[1]);
  Scalar fromNumber(from.number);
  Scalar toNumber(to.number);
  MatObject& first = from.object ? *from.object : fromNumber;
  MatObject& last = to.object ? *to.object : toNumber;
  ValuePtr result;
  if (expr.operands.size() == 2) {
    result = makeRange(first, last);
    drop(to);
    drop(from);
  } else {
    program_.scanner.setErrorPos(expr.stepErrorPos);
    Value step = evaluate(*expr.operands[2]);
    Scalar stepNumber(step.number);
    result = makeSteppedRange(first, last, step.object ? *step.object : stepNumber);
    drop(step);
    drop(to);
    drop(from);
  }
  stack.push(std::move(result));
  caret.done();
  return {stack.top(), 0};
}

// A call whose callee is a user function taking numbers and whose
// arguments turn out numbers binds them without boxing them; any other
// call, and one whose arguments turn out otherwise, is the generic call,
// with the values the text path would have on the stack.
Executor::Value Executor::call(const Expr& expr) {
  bool chosen = false;
  const Value function = callee(*expr.operands[0], chosen);
  const int count = static_cast<int>(expr.operands.size()) - 1;
  ValueStack& stack = program_.stack;
  const int calleeIndex = stack.size() - 1;
  int next = 1;
  if (function.object->typeCode == kSFuncType) {
    CSFuncU* user = static_cast<CSFunc*>(function.object)->asUserFunction();
    if (user && user->takesNumbers(count)) {
      double numbers[kMaxParameters];
      while (next <= count && numberArgument(*expr.operands[next], numbers[next - 1])) ++next;
      if (next > count) return callOnNumbers(expr, *user, chosen, numbers, count);
      boxNumbers(numbers, next - 1);
      ++next;
    }
  }
  if (chosen) {
    MatObject*& held = stack.at(calleeIndex);
    held = held->copy().release();
  }
  for (; next <= count; ++next) pushArgument(*expr.operands[next]);
  return callTop(expr, count);
}

Executor::Value Executor::callee(const Expr& expr, bool& chosen) {
  if (expr.kind == ExprKind::Call && expr.iffCall) {
    const Expr& name = *expr.operands[0];
    const Entry* entry = entryFor(name.text, name.slot_);
    if (entry && entry->value && entry->value == entry->registered) {
      return choice(expr, entry->value, chosen);
    }
  }
  if (expr.kind == ExprKind::Name) return name(expr);
  Value value = evaluate(expr);
  box(value);
  return value;
}

// The builtin iff(c, a, b) with c 0 or 1 chooses a or b and returns a copy
// of it; a user function chosen is handed over itself, the call then titled
// as the copy's would be. The arguments are all evaluated, as for any
// call; anything but such a choice is the builtin's call.
Executor::Value Executor::choice(const Expr& expr, MatObject* iff, bool& chosen) {
  ValueStack& stack = program_.stack;
  Value result{};
  if (choiceOfNames(expr, iff, result, chosen)) return result;
  pushed(iff);
  double condition = 0;
  const bool number = numberArgument(*expr.operands[1], condition);
  pushArgument(*expr.operands[2]);
  pushArgument(*expr.operands[3]);
  MatObject* whenFalse = stack.pop();
  MatObject* whenTrue = stack.pop();
  if (number && (condition == 1 || condition == 0)) {
    MatObject* picked = condition == 1 ? whenTrue : whenFalse;
    if (picked->typeCode == kSFuncType &&
        static_cast<CSFunc*>(picked)->asUserFunction()) {
      stack.releasePhantom();
      stack.pop();  // iff, the registry's
      deleteIfTemporary(picked == whenTrue ? whenFalse : whenTrue);
      chosen = !picked->isTemporary();
      return pushed(picked);
    }
  }
  if (number) {
    stack.releasePhantom();
    stack.push(makeNumber(condition));
  }
  stack.push(whenTrue);
  stack.push(whenFalse);
  return callTop(expr, 3);
}

// iff(c, f, g) with f and g names or parameters alone, as a choice between
// functions mostly is, and c numbers: what choice() does, without putting
// on the stack what it would take off again. There is room on the stack
// for all choice() would hold, so nothing here overflows, and the rest is
// found in the same order with the same errors. False, with nothing done,
// when the arguments are not such.
bool Executor::choiceOfNames(const Expr& expr, MatObject* iff, Value& result, bool& chosen) {
  const Expr& test = *expr.operands[1];
  const Expr& whenTrueArgument = *expr.operands[2];
  const Expr& whenFalseArgument = *expr.operands[3];
  if (!isBare(whenTrueArgument) || !isBare(whenFalseArgument)) return false;
  ValueStack& stack = program_.stack;
  if (stack.size() + stack.phantoms() + std::max(4, 1 + test.need) > kValueStackSize) {
    return false;
  }
  double condition = 0;
  if (test.form == ArgumentForm::Numbers) {
    if (!numeric(test, condition)) return false;
  } else if (isBare(test)) {
    const MatObject* value = bareValue(test);
    if (value->typeCode != kScalarType) return false;
    condition = numberOf(*value);
  } else {
    return false;
  }
  MatObject* whenTrue = bareValue(whenTrueArgument);
  MatObject* whenFalse = bareValue(whenFalseArgument);
  if (condition == 1 || condition == 0) {
    MatObject* picked = condition == 1 ? whenTrue : whenFalse;
    if (picked->typeCode == kSFuncType && static_cast<CSFunc*>(picked)->asUserFunction()) {
      chosen = true;  // a variable's own value, never a temporary
      result = pushed(picked);
      return true;
    }
  }
  stack.push(iff);
  stack.push(makeNumber(condition));
  stack.push(whenTrue);
  stack.push(whenFalse);
  result = callTop(expr, 3);
  return true;
}

bool Executor::numberArgument(const Expr& expr, double& out) {
  ValueStack& stack = program_.stack;
  switch (expr.form) {
    case ArgumentForm::Parameter:
    case ArgumentForm::Name: {
      MatObject* value = bareValue(expr);
      if (value->typeCode != kScalarType) {
        stack.push(value);
        return false;
      }
      stack.reservePhantom();
      out = numberOf(*value);
      return true;
    }
    case ArgumentForm::Numbers:
      if (numeric(expr, out)) {
        stack.reservePhantom();
        return true;
      }
      break;
    case ArgumentForm::Other:
      break;
  }
  const Value value = evaluate(expr);
  if (!value.object) {
    out = value.number;
    return true;
  }
  if (value.object->typeCode != kScalarType) return false;
  out = numberOf(*value.object);
  deleteIfTemporary(stack.pop());
  stack.reservePhantom();
  return true;
}

void Executor::pushArgument(const Expr& expr) {
  double number = 0;
  switch (expr.form) {
    case ArgumentForm::Parameter:
    case ArgumentForm::Name:
      program_.stack.push(bareValue(expr));
      return;
    case ArgumentForm::Numbers:
      if (numeric(expr, number)) {
        program_.stack.push(makeNumber(number));
        return;
      }
      break;
    case ArgumentForm::Other:
      break;
  }
  Value argument = evaluate(expr);
  box(argument);
}

// An argument that is a name or a parameter alone, as most are: its value,
// found as evaluate would find it before pushing it (the nesting level
// checked, an undefined name raised).
MatObject* Executor::bareValue(const Expr& expr) {
  if (program_.evaluator.depth() >= kMaxExpressionDepth) raise("переполнение стека");
  const Expr& inner = *expr.bare;
  if (expr.form == ArgumentForm::Parameter) {
    return program_.variables.entry(frameBase_ + inner.slot).value;
  }
  Entry* entry = entryFor(inner.text, inner.slot_);
  if (!entry || !entry->value) undefinedName(inner);
  return entry->value;
}

void Executor::boxNumbers(const double* numbers, int count) {
  ValueStack& stack = program_.stack;
  MatObject* top = stack.pop();
  for (int i = 0; i < count; ++i) {
    stack.releasePhantom();
    stack.push(makeNumber(numbers[i]));
  }
  stack.push(top);
}

// What CSFuncU::invokeOnNumbers does, here with the body evaluated at
// once; a body left to the text path is left to it.
Executor::Value Executor::callOnNumbers(const Expr& expr, CSFuncU& function, bool asCopy,
                                        const double* numbers, int count) {
  ValueStack& stack = program_.stack;
  CaretAt caret(program_.scanner, expr.errorPos);
  methodCallFlag() = 0;
  const Definition& definition = function.definition();
  const CompiledBody* body = definition.compiledBody();
  double value = 0;
  if (!body) {
    value = function.invokeOnNumbers(numbers, asCopy);
  } else {
    VariableTable& variables = program_.variables;
    ParameterBindings bindings(variables, stack);
    int* const* slots = definition.parameterSlots(variables);
    for (int i = 0; i < count; ++i) {
      variables.pushLocalNumberInSlot(slots[i], definition.parameters[i].name, numbers[i]);
      ++bindings.count;
    }
    BodyCall call(program_, asCopy ? definition.name.c_str() : callTitle(definition, function));
    try {
      value = bodyValue(*body, count, kNotANumberMessage);
    } catch (...) {
      call.fail();
      throw;
    }
    call.finish();
    bindings.finished = true;
  }
  stack.setPhantoms(stack.phantoms() - count);
  deleteIfTemporary(stack.pop());
  caret.done();
  return number(value);
}

Executor::Value Executor::callTop(const Expr& expr, int count) {
  ValueStack& stack = program_.stack;
  CaretAt caret(program_.scanner, expr.errorPos);
  methodCallFlag() = 0;
  ValuePtr result = stack.peek(count)->call(count, stack.topArgs(count));
  stack.popDelete(count + 1);
  stack.push(std::move(result));
  caret.done();
  return {stack.top(), 0};
}

}  // namespace tesmora::compiled
