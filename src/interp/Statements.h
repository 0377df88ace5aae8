// Statements run straight from the text: a loop moves the scanner back to
// its condition or body for every iteration, a branch not taken is skipped
// token by token without being run, and break/continue unwind to the
// nearest loop as CBreak.
#pragma once

#include <string>

namespace tesmora {

class ProgramContext;
class Evaluator;
class Scanner;
class ValueStack;

class Statements {
 public:
  explicit Statements(ProgramContext& program);

  // One top-level statement: definitions and headers are allowed here.
  void executeTopLevel();
  // One statement at the current token; returns on its last token.
  void executeStatement();
  // Consumes one statement without running it.
  void skipStatement();

 private:
  void block();
  void ifStatement();
  void whileStatement();
  void forStatement();
  void nameStatement();
  void bracketStatement();
  void multipleAssignment();
  void expressionStatement();
  void requireSemicolon();
  // The current token must be this separator, else a syntax error at it.
  void expectSeparator(char separator, const char* message);

  void functionDefinition();
  void lawDefinition();
  std::string copyDefinitionBody(const char* name);
  void header();
  void rStatement();

  ProgramContext& program_;
  Scanner& scanner_;
  ValueStack& stack_;
};

}  // namespace tesmora
