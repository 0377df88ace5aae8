// The expression evaluator: recursive descent over the scanner's tokens,
// straight from the text. Every sub-expression leaves its value on the
// value stack; every operator, call and literal replaces its operands on
// the stack by one new value.
#pragma once

namespace tesmora {

// Nested expressions (brackets inside function bodies inside recursion)
// deeper than this would exhaust the native stack.
inline constexpr int kMaxExpressionDepth = 50000;
// Chains of prefix operators are not bounded by brackets.
inline constexpr int kMaxPrefixChain = 10000;

class ProgramContext;

// The words an undefined name is reported as "неожиданное появление" for.
bool isKeyword(const char* name);
class Scanner;
class ValueStack;

class Evaluator {
 public:
  explicit Evaluator(ProgramContext& program);

  // Evaluates one expression starting at the current token and leaves its
  // value on the stack; the current token is then the first one after it.
  void evaluate();
  // The nesting of evaluations in progress, shared with the compiled form.
  int& depth() { return depth_; }

 private:
  void logical();     // a & b, a | b
  void comparison();  // > >= < <= == !=, once
  void range();       // a : b, a : b : c, once
  void sum();         // leading -, then + -
  void product();     // * / % \ &*
  void power();       // ^ ^+ &^, once
  void prefix();      // ! ~ ' # @ $
  void postfix();     // calls, methods, loop properties
  void primary();     // number, string, name, ( ), [ ]

  void call(const char* calleeEnd);
  void methodOrProperty();
  // Reads arguments up to ")"; reports an element assignment "(...) = v".
  int argumentList(bool allowAssignment, bool& assignment);
  void matrixLiteral();
  void number();
  void name();

  ProgramContext& program_;
  Scanner& scanner_;
  ValueStack& stack_;
  int depth_ = 0;
};

}  // namespace tesmora
