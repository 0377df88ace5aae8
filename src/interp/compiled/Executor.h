// The executor runs the compiled form of Code.h the way the text path runs
// the text: the same value stack, variable table and operations, the same
// caret positions, statement-start checks (long-run question, Stop, stack
// clearing) and limits. What it saves is the reading: no token is scanned,
// no number re-read, a name is found through a remembered table entry or
// a parameter slot, and numbers stay unboxed between operations.
#pragma once

#include "interp/VariableTable.h"
#include "interp/compiled/Code.h"

namespace tesmora {

class ProgramContext;
class MatObject;
class CSFuncU;

namespace compiled {

class Executor {
 public:
  explicit Executor(ProgramContext& program) : program_(program) {}

  // Runs a statement compiled by compileStatement and leaves the scanner
  // where the text path would.
  void run(const CompiledStatement& compiled);

  // The value of a compiled body called with its parameters as the newest
  // `parameterCount` table entries; not a number raises `notANumber`.
  double evaluateBody(const CompiledBody& body, int parameterCount,
                      const char* notANumber);

 private:
  // evaluateBody() for the calls made here.
  [[gnu::always_inline]] inline double bodyValue(const CompiledBody& body, int parameterCount,
                                                 const char* notANumber);
  // An expression's value: a stack entry (object set, at the stack's top)
  // or an unboxed number counted as a phantom entry.
  struct Value {
    MatObject* object;
    double number;
  };

  void statement(const Stmt& stmt);
  void assign(const Stmt& stmt, Value value);
  void assignNumber(const Stmt& stmt, double number);
  void append(const Stmt& stmt);
  void whileLoop(const Stmt& stmt);
  void forLoop(const Stmt& stmt);
  void forRange(const Stmt& stmt);
  bool condition(const Expr& expr, const char* typeMessage);

  // Numbers only: an expression of numbers, names holding numbers and
  // operators on numbers is worked out without the stack (there is room
  // for all it would hold, so it cannot overflow). False, with nothing
  // changed, when the expression holds anything else; the caller then
  // evaluates it in full. An error is raised exactly as in full.
  [[gnu::always_inline]] inline bool numeric(const Expr& expr, double& out);
  bool pure(const Expr& expr, double& out);
  bool pureBinary(const Expr& expr, double& out);
  [[gnu::always_inline]] inline bool leafBinary(const Expr& expr, double& out);
  [[gnu::always_inline]] inline bool leaf(const Expr& expr, double& out, bool& isLeaf);
  [[noreturn, gnu::cold]] void undefinedName(const Expr& expr);
  Value evaluate(const Expr& expr);
  [[gnu::always_inline]] inline Value evaluateNested(const Expr& expr);
  [[gnu::always_inline]] inline Value evaluateDirect(const Expr& expr);
  [[gnu::always_inline]] inline Value operandValue(const Expr& expr);
  [[gnu::always_inline]] inline Value name(const Expr& expr);
  [[gnu::always_inline]] inline Value binary(const Expr& expr);
  [[gnu::always_inline]] inline Value apply(BinaryOp op, Value left, Value right);
  Value unary(const Expr& expr);
  Value range(const Expr& expr);
  Value call(const Expr& expr);
  // The callee of a call, pushed. `chosen`: it is the choice of iff,
  // handed over uncopied, and stands for its copy.
  [[gnu::always_inline]] inline Value callee(const Expr& expr, bool& chosen);
  [[gnu::always_inline]] inline Value choice(const Expr& expr, MatObject* iff, bool& chosen);
  [[gnu::always_inline]] inline bool choiceOfNames(const Expr& expr, MatObject* iff, Value& result, bool& chosen);
  // An argument that is a number, counted as a phantom entry; false when it
  // is not, with its value pushed.
  [[gnu::always_inline]] inline bool numberArgument(const Expr& expr, double& out);
  void pushArgument(const Expr& expr);
  // An argument of the Parameter or Name form: the variable's value.
  [[gnu::always_inline]] inline MatObject* bareValue(const Expr& expr);
  // The first `count` arguments, phantom numbers below the pushed top
  // entry, made stack entries.
  void boxNumbers(const double* numbers, int count);
  [[gnu::always_inline]] inline Value callOnNumbers(const Expr& expr, CSFuncU& function, bool asCopy,
                      const double* numbers, int count);
  // Calls the function below the `count` topmost entries on them.
  Value callTop(const Expr& expr, int count);

  [[gnu::always_inline]] inline Value number(double value);
  [[gnu::always_inline]] inline Value pushed(MatObject* value);
  // Makes an unboxed number a stack entry.
  [[gnu::always_inline]] inline void box(Value& value);
  // Removes the topmost value, deleting it if it is a temporary.
  [[gnu::always_inline]] inline void drop(Value value);
  [[gnu::always_inline]] inline VariableTable::Entry* entryFor(const std::string& name, NameSlot& slot);
  VariableTable::Entry* findEntry(const std::string& name, NameSlot& slot);

  ProgramContext& program_;
  int frameBase_ = 0;  // the first parameter's table entry
};

}  // namespace compiled
}  // namespace tesmora
