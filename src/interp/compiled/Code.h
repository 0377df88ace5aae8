// The compiled form of a program text: the statements and expressions the
// compiler read once, as a tree the executor runs instead of re-reading the
// text. Each node keeps the text positions the text path would put the
// caret at, so an error points where it always did. Only texts that are
// well formed all the way through are compiled (see Compiler.h); anything
// else stays with the text path.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "interp/Limits.h"
#include "values/Operators.h"

namespace tesmora {

class MatObject;

namespace compiled {

// Where a name's newest table entry is kept, found once per table.
struct NameSlot {
  const void* table = nullptr;
  const int* slot = nullptr;
};

enum class ExprKind {
  Number,     // a literal, pre-read
  Text,       // a string constant
  Name,       // a name looked up in the variable table
  Parameter,  // a parameter of the user function whose body this is
  Evaluate,   // one evaluation of the text path: a bounded nesting level
  Binary,
  Negate,     // the leading minus of a sum
  Prefix,     // ! ~ ' # @ $
  Range,      // a : b and a : b : c
  Call,       // callee(arguments)
};

// How an argument of a call is passed, found once: a parameter or a name
// alone in its brackets (the variable's own value), numbers only (worked
// out without the stack when they turn out numbers), or anything else.
enum class ArgumentForm : std::uint8_t { Parameter, Name, Numbers, Other };

struct Expr {
  ExprKind kind;
  // Number: the value.
  double number = 0;
  // Text: the constant; Name: the name.
  std::string text;
  // Parameter: its slot counted from the first parameter.
  int slot = 0;
  BinaryOp binary = BinaryOp::Add;
  UnaryOp unary = UnaryOp::Negate;
  // Where the caret goes while this node's operation runs: after the
  // operator token (Binary, Negate, Prefix, Range), after the callee
  // (Call), after the name (Name, when it is not defined).
  const char* errorPos = nullptr;
  // Range: after the second ":" of a stepped range.
  const char* stepErrorPos = nullptr;
  // Operands, the callee first for a Call.
  std::vector<std::unique_ptr<Expr>> operands;
  // The most stack entries the text path holds at once for this
  // expression: with that much room it cannot overflow the stack.
  int need = 1;
  // Whether the numbers-only evaluation (Executor::numeric) can succeed:
  // false when the expression holds anything but numbers, names and
  // operators on numbers, where it would give up anyway.
  bool mayBeNumber = true;
  // Call: the callee is the name iff and there are three arguments, so
  // the call may be the builtin's choice.
  bool iffCall = false;
  // Binary: both operands are literals, names or parameters.
  bool leafOperands = false;
  // An argument of a call (see ArgumentForm); the bare node of a Parameter
  // or Name form.
  ArgumentForm form = ArgumentForm::Other;
  const Expr* bare = nullptr;

  // Name: the variable table's index slot of the name (see VariableTable).
  mutable NameSlot slot_;
};

enum class StmtKind {
  Block,
  If,
  While,
  For,        // over any list
  ForRange,   // over a : b, without building the range
  Break,
  Continue,
  Assign,     // name = expression;
  Append,     // name = name + expression; appends in place to an own text
  Expression, // expression;
};

// The scanner's state when the text path would return from the statement:
// on its last token, or, after an if without else, before the next token.
struct ScannerState {
  const char* readPos = nullptr;
  const char* tokenStart = nullptr;
  int tokenKind = 0;
  std::string tokenText;
};

struct Stmt {
  StmtKind kind;
  const char* start = nullptr;     // the token start of the statement
  const char* nameEnd = nullptr;   // Assign, Append: after the target
  std::string name;                // Assign, Append, For: the variable
  std::unique_ptr<Expr> expr;      // condition, list, value
  std::vector<std::unique_ptr<Stmt>> body;  // Block: all; If: then [, else]
  bool hasElse = false;
  mutable NameSlot slot_;  // Assign, Append, For: the target's
};

// A compiled top-level-reachable statement and where the text path ends it.
struct CompiledStatement {
  std::unique_ptr<Stmt> statement;
  ScannerState end;
};

// A compiled user function or law body.
struct CompiledBody {
  std::unique_ptr<Expr> expr;
};

}  // namespace compiled
}  // namespace tesmora
