// Statements run straight from the text: a loop moves the scanner back to
// its condition or body for every iteration, a branch not taken is skipped
// token by token without being run, and break/continue unwind to the
// nearest loop as CBreak. This text path is the reference: a statement the
// compiled form (interp/compiled) can read is read once and run from its
// compiled form instead, with the same behaviour; any other stays here.
#pragma once

#include <string>

namespace tesmora {

class ProgramContext;
class Evaluator;
class Scanner;
class ValueStack;
namespace compiled {
struct CompiledStatement;
}

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
  // The compiled form of the statement at the current token, compiled at
  // its first run; null when it is left to the text path.
  const compiled::CompiledStatement* compiledStatementHere();
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

// Consumes one statement starting at the scanner's current token without
// running it: the skipping rules of branches not taken and loops ended.
void skipStatementText(Scanner& scanner);

}  // namespace tesmora
