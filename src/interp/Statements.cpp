#include "interp/Statements.h"

#include <cstring>
#include <vector>

#include "builtins/UserFunction.h"
#include "exam/QuestionFile.h"
#include "interp/Errors.h"
#include "interp/Evaluator.h"
#include "interp/Prog.h"
#include "interp/Question.h"
#include "interp/compiled/Compiler.h"
#include "values/Matrix.h"
#include "values/Scalar.h"
#include "values/SuperMatrix.h"

namespace tesmora {
namespace {

// Copies a token's text into a name buffer of the same size.
void copyName(char (&to)[kTokenBufferSize], const char* from) {
  std::strncpy(to, from, kTokenBufferSize - 1);
  to[kTokenBufferSize - 1] = 0;
}

// The truth of a condition popped off the stack: a number, non-zero (NaN
// counts as true).
bool popCondition(ValueStack& stack, const char* typeMessage) {
  Popped value(stack.pop());
  if (value->typeCode != kScalarType) raise(typeMessage);
  return numberOf(*value) != 0;
}

int parameterType(const char* word) {
  static const struct {
    const char* word;
    int type;
  } kTypeWords[] = {{"scalar", kScalarType}, {"matrix", kMatrixType},
                    {"supermatrix", kSuperType}, {"function", kSFuncType},
                    {"law", kLawType}, {"string", kStringType}};
  for (const auto& entry : kTypeWords) {
    if (std::strcmp(word, entry.word) == 0) return entry.type;
  }
  return 0;
}

}  // namespace

Statements::Statements(ProgramContext& program)
    : program_(program), scanner_(program.scanner), stack_(program.stack) {}

void Statements::executeTopLevel() {
  scanner_.setErrorPos(scanner_.readPos);
  if (scanner_.isName("law")) lawDefinition();
  else if (scanner_.tokenKind == kSeparatorToken && scanner_.is("<<")) header();
  else if (scanner_.isName("function")) functionDefinition();
  else executeStatement();
}

void Statements::executeStatement() {
  if (const compiled::CompiledStatement* compiled = compiledStatementHere()) {
    program_.executor.run(*compiled);
    return;
  }
  scanner_.setErrorPos(scanner_.tokenStart);
  program_.longRunCheckPoint();
  stack_.clear();
  if (scanner_.isSeparator('{')) block();
  else if (scanner_.isName("if")) ifStatement();
  else if (scanner_.isName("while")) whileStatement();
  else if (scanner_.isName("for")) forStatement();
  else if (scanner_.isName("break")) throw CBreak{1};
  else if (scanner_.isName("continue")) throw CBreak{0};
  else if (scanner_.tokenKind == kNameToken) nameStatement();
  else if (scanner_.isSeparator('[')) bracketStatement();
  else expressionStatement();
}

const compiled::CompiledStatement* Statements::compiledStatementHere() {
  auto& cache = program_.compiledStatements;
  auto found = cache.find(scanner_.tokenStart);
  if (found == cache.end()) {
    found = cache.emplace(scanner_.tokenStart, compiled::compileStatement(scanner_.tokenStart))
                .first;
  }
  return found->second.get();
}

void Statements::block() {
  scanner_.scan();
  while (!scanner_.isSeparator('}')) {
    executeStatement();
    scanner_.scan();
  }
}

void Statements::ifStatement() {
  const char* syntax = "нарушен синтаксис оператора 'if'";
  scanner_.scan();
  expectSeparator('(', syntax);
  scanner_.scan();
  program_.evaluator.evaluate();
  expectSeparator(')', syntax);
  const bool condition = popCondition(stack_, "if: недопустимый тип условия");
  scanner_.scan();
  if (condition) executeStatement();
  else skipStatement();
  scanner_.scan();
  if (scanner_.isName("else")) {
    scanner_.scan();
    stack_.clear();
    if (condition) skipStatement();
    else executeStatement();
  } else {
    scanner_.readPos = scanner_.tokenStart;
  }
}

void Statements::whileStatement() {
  const char* syntax = "нарушен синтаксис оператора 'while'";
  scanner_.scan();
  expectSeparator('(', syntax);
  const char* conditionStart = scanner_.readPos;
  for (;;) {
    stack_.clear();
    scanner_.readPos = conditionStart;
    scanner_.scan();
    program_.evaluator.evaluate();
    expectSeparator(')', syntax);
    const bool condition = popCondition(stack_, "while: недопустимый тип условия");
    const char* bodyStart = scanner_.readPos;
    scanner_.scan();
    if (!condition) {
      skipStatement();
      return;
    }
    try {
      executeStatement();
    } catch (const CBreak& jump) {
      if (jump.flag == 1) {
        scanner_.readPos = bodyStart;
        scanner_.scan();
        skipStatement();
        return;
      }
    }
  }
}

void Statements::forStatement() {
  const char* syntax = "нарушен синтаксис оператора 'for'";
  const auto fail = [&](bool atToken) {
    if (atToken) scanner_.setErrorPos(scanner_.tokenStart);
    raise(syntax);
  };
  scanner_.scan();
  if (!scanner_.isSeparator('(')) fail(true);
  scanner_.scan();
  if (scanner_.tokenKind != kNameToken) fail(true);
  char variable[kTokenBufferSize];
  copyName(variable, scanner_.tokenText);
  scanner_.scan();
  if (!scanner_.isName("in")) fail(false);
  scanner_.scan();
  stack_.clear();
  program_.evaluator.evaluate();
  // The body reads the list's own variable: it sees in-place changes, and
  // the loop goes on over the old value if the body rebinds the variable.
  const Pinned list(stack_.pop());
  if (list->typeCode != kMatrixType && list->typeCode != kSuperType) {
    raise("for: недопустимый тип списка");
  }
  if (!scanner_.isSeparator(')')) fail(true);

  const int count = list->elementCount();
  const int width = list->colCount();
  const char* bodyStart = scanner_.readPos;
  for (int i = 0; i < count && i < list->elementCount(); ++i) {
    scanner_.readPos = bodyStart;
    // The last body statement may have left the loop variable's value on
    // the stack; assigning the variable deletes that value.
    stack_.clear();
    ValuePtr element = list->elementAt(i);
    element->loopPosition = i;
    element->loopRowWidth = width;
    program_.variables.assign(variable, *element);
    scanner_.scan();
    try {
      executeStatement();
    } catch (const CBreak& jump) {
      scanner_.readPos = bodyStart;
      scanner_.scan();
      skipStatement();
      if (jump.flag == 1) return;
    }
  }
  if (count == 0) {
    scanner_.readPos = bodyStart;
    scanner_.scan();
    skipStatement();
  }
}

void Statements::nameStatement() {
  const char* nameStart = scanner_.tokenStart;
  const char* nameEnd = scanner_.readPos;
  char name[kTokenBufferSize];
  copyName(name, scanner_.tokenText);
  scanner_.scan();
  if (!scanner_.isSeparator('=')) {
    scanner_.readPos = nameStart;
    scanner_.scan();
    expressionStatement();
    return;
  }
  scanner_.setErrorPos(nameEnd);
  scanner_.scan();
  program_.evaluator.evaluate();
  program_.variables.assign(name, *stack_.top());
  requireSemicolon();
}

void Statements::bracketStatement() {
  const char* bracketStart = scanner_.tokenStart;
  do {
    scanner_.scan();
  } while (!scanner_.atEnd() && !scanner_.isSeparator(']'));
  if (!scanner_.atEnd()) scanner_.scan();
  const bool multiple = scanner_.isSeparator('=');
  scanner_.readPos = bracketStart;
  scanner_.scan();
  if (multiple) multipleAssignment();
  else expressionStatement();
}

void Statements::multipleAssignment() {
  const auto syntaxError = [this] {
    scanner_.setErrorPos(scanner_.tokenStart);
    raise("нарушен синтаксис");
  };
  int targets = 0;
  scanner_.scan();
  while (!scanner_.isSeparator(']')) {
    if (scanner_.tokenKind == kNameToken) {
      stack_.push(std::make_unique<String>(scanner_.tokenText));
      ++targets;
      scanner_.scan();
      if (scanner_.isSeparator(',')) scanner_.scan();
      else if (!scanner_.isSeparator(']')) syntaxError();
    } else if (scanner_.isSeparator(',')) {
      stack_.push(std::make_unique<Void>());
      ++targets;
      scanner_.scan();
    } else {
      syntaxError();
    }
  }
  scanner_.scan();  // the "="
  scanner_.scan();
  program_.evaluator.evaluate();
  requireSemicolon();
  // Assigning may rebind the right-hand side's own variable.
  const Pinned values(stack_.pop());
  if (values->typeCode != kMatrixType && values->typeCode != kSuperType) {
    raise("Недопустимый тип правой части оператора множественного присваивания");
  }
  if (values->elementCount() < targets) {
    raise("В левой части оператора множественного присваивания слишком много элементов");
  }
  for (int k = 0; k < targets; ++k) {
    const MatObject* target = stack_.peek(targets - 1 - k);
    if (target->typeCode != kStringType) continue;
    ValuePtr element = values->elementAt(k);
    program_.variables.assign(static_cast<const String*>(target)->text, *element);
  }
  stack_.popDelete(targets);
}

void Statements::expressionStatement() {
  program_.evaluator.evaluate();
  requireSemicolon();
}

void Statements::requireSemicolon() { expectSeparator(';', "нет ';'"); }

void Statements::expectSeparator(char separator, const char* message) {
  if (!scanner_.isSeparator(separator)) {
    scanner_.setErrorPos(scanner_.tokenStart);
    raise(message);
  }
}

void Statements::skipStatement() { skipStatementText(scanner_); }

void skipStatementText(Scanner& scanner) {
  const char* failure =
      "Ошибка при пропуске оператора. Попробуйте окружить оператор фигурными скобками";
  if (scanner.isSeparator('{')) {
    int depth = 1;
    while (depth > 0) {
      scanner.scan();
      if (scanner.atEnd()) raise(failure);
      if (scanner.isSeparator('{')) ++depth;
      else if (scanner.isSeparator('}')) --depth;
    }
    return;
  }
  if (scanner.isName("if")) {
    scanner.scan();
    int parentheses = 0;
    do {
      if (scanner.atEnd()) raise(failure);
      if (scanner.isSeparator('(')) ++parentheses;
      else if (scanner.isSeparator(')')) --parentheses;
      scanner.scan();
    } while (parentheses > 0);
    skipStatementText(scanner);
    scanner.scan();
    if (scanner.isName("else")) {
      scanner.scan();
      skipStatementText(scanner);
    } else {
      scanner.readPos = scanner.tokenStart;
    }
    return;
  }
  int squares = 0;
  int braces = 0;
  for (;;) {
    if (scanner.atEnd()) raise(failure);
    if (scanner.isSeparator('[')) {
      ++squares;
    } else if (scanner.isSeparator(']')) {
      --squares;
    } else if (scanner.isSeparator('{')) {
      ++braces;
    } else if (scanner.isSeparator('}')) {
      if (--braces == 0 && squares <= 0) return;
    } else if (scanner.isSeparator(';') && squares <= 0 && braces <= 0) {
      return;
    }
    scanner.scan();
  }
}

std::string Statements::copyDefinitionBody(const char* name) {
  const char* p = scanner_.readPos;
  const char* start = p;
  int round = 0;
  int square = 0;
  for (; *p && *p != ';'; ++p) {
    if (p[0] == '/' && p[1] == '/') {
      // A comment runs to the line end; its ";" does not end the body,
      // but its brackets are counted like any others.
      for (; *p && *p != '\r'; ++p) {
        if (*p == '(') ++round;
        else if (*p == ')') --round;
        else if (*p == '[') ++square;
        else if (*p == ']') --square;
        if (round < 0) raiseAbout(name, "нарушен баланс круглых скобок");
        if (square < 0) raiseAbout(name, "нарушен баланс квадратных скобок");
      }
      if (!*p) break;
      continue;
    }
    if (*p == '(') ++round;
    else if (*p == ')') --round;
    else if (*p == '[') ++square;
    else if (*p == ']') --square;
    if (round < 0) raiseAbout(name, "нарушен баланс круглых скобок");
    if (square < 0) raiseAbout(name, "нарушен баланс квадратных скобок");
  }
  if (round != 0) raiseAbout(name, "нарушен баланс круглых скобок");
  if (square != 0) raiseAbout(name, "нарушен баланс квадратных скобок");
  if (p - start > kDefinitionBufferSize - 1) {
    raiseAbout(name, "слишком длинное определение");
  }
  scanner_.readPos = p;
  return std::string(start, p);
}

void Statements::functionDefinition() {
  const char* error = "ошибка в определении функции";
  scanner_.scan();
  if (scanner_.tokenKind != kNameToken) raise(error);
  char name[kTokenBufferSize];
  copyName(name, scanner_.tokenText);
  scanner_.scan();
  if (!scanner_.isSeparator('(')) raise(error);
  std::vector<Parameter> parameters;
  scanner_.scan();
  if (!scanner_.isSeparator(')')) {
    for (;;) {
      if (scanner_.tokenKind != kNameToken) raise(error);
      Parameter parameter;
      if (const int type = parameterType(scanner_.tokenText)) {
        parameter.type = type;
        scanner_.scan();
        if (scanner_.tokenKind != kNameToken || parameterType(scanner_.tokenText)) {
          raise(error);
        }
      }
      parameter.name = scanner_.tokenText;
      parameters.push_back(std::move(parameter));
      scanner_.scan();
      if (scanner_.isSeparator(')')) break;
      if (!scanner_.isSeparator(',')) raise(error);
      if (static_cast<int>(parameters.size()) == kMaxParameters) {
        raise("Слишком много аргументов в определении функции");
      }
      scanner_.scan();
    }
  }
  scanner_.scan();
  if (!scanner_.isSeparator('=')) raise(error);
  const bool withParameters = !parameters.empty();
  auto function = std::make_unique<CSFuncU>(std::make_shared<const Definition>(
      name, copyDefinitionBody(name), std::move(parameters)));
  program_.variables.assign(name, *function);
  if (withParameters) stack_.push(std::move(function));
  scanner_.scan();
}

void Statements::lawDefinition() {
  const char* error = "ошибка в определении закона";
  scanner_.scan();
  if (scanner_.tokenKind != kNameToken) raise("ошибка в определении функции");
  char name[kTokenBufferSize];
  copyName(name, scanner_.tokenText);
  scanner_.scan();
  if (!scanner_.isSeparator('(')) raise(error);
  scanner_.scan();
  if (!scanner_.isSeparator(')')) raise(error);
  scanner_.scan();
  if (!scanner_.isSeparator('=')) raise(error);
  auto law = std::make_unique<CLawUser>(std::make_shared<const Definition>(
      name, copyDefinitionBody(name), std::vector<Parameter>{}));
  program_.variables.assign(name, *law);
  stack_.push(std::move(law));
  scanner_.scan();
}

void Statements::header() {
  const char* p = scanner_.readPos;
  if (std::strncmp(p, "R>>", 3) == 0) {
    scanner_.readPos = p + 3;
    rStatement();
    return;
  }
  if (std::strncmp(p, "Question>>", 10) == 0) {
    scanner_.readPos = p + 10;
    program_.variables.resetVariables();
    return;
  }
  scanner_.scan();
  if (scanner_.tokenKind == kNameToken) {
    scanner_.scan();
    if (scanner_.tokenKind == kSeparatorToken && scanner_.is(">>")) {
      raise("Неожиданное появление заголовка");
    }
  }
  raise("Неправильно задан заголовок");
}

void Statements::rStatement() {
  const char* syntax = "нарушен синтаксис R-оператора";
  std::vector<std::string> names;
  for (;;) {
    scanner_.scan();
    if (scanner_.isSeparator(';')) break;
    if (scanner_.isSeparator(',')) continue;
    if (scanner_.tokenKind != kNameToken) raise(syntax);
    if (!program_.variables.lookupValue(scanner_.tokenText, 0)) {
      raiseAbout(scanner_.tokenText, "переменная не определена");
    }
    names.emplace_back(scanner_.tokenText);
  }
  auto table = CSuperMatrix::create(static_cast<int>(names.size()), 2);
  for (std::size_t i = 0; i < names.size(); ++i) {
    table->setCell(static_cast<int>(2 * i), std::make_unique<String>(names[i]));
    table->setCell(static_cast<int>(2 * i + 1),
                   program_.variables.lookupValue(names[i], 0)->copy());
  }
  scanner_.scan();
  if (scanner_.atEnd()) {
    stack_.push(std::move(table));
    return;
  }
  if (!(scanner_.tokenKind == kSeparatorToken && scanner_.is("<<"))) raise(syntax);
  ValuePtr question = buildQuestion(scanner_, *table);
  const auto& written = static_cast<const CSuperMatrix&>(*question);
  stack_.push(std::move(question));
  ++program_.questionCounter;
  program_.variables.resetVariables();
  writeQuestion(written, program_.questionCounter);
}

}  // namespace tesmora
