#include "interp/Evaluator.h"

#include <charconv>
#include <cstring>
#include <exception>
#include <vector>

#include "interp/Errors.h"
#include "interp/Prog.h"
#include "values/Function.h"
#include "values/Matrix.h"
#include "values/Operators.h"
#include "values/Scalar.h"
#include "values/SuperMatrix.h"

namespace tesmora {
namespace {

// While an operator's right operand is read and the operator applied, the
// caret goes just after the operator token; afterwards it goes back. An
// error leaves it where the error put it.
class ErrorPosScope {
 public:
  ErrorPosScope(Scanner& scanner, const char* pos)
      : scanner_(scanner),
        saved_(scanner.errorPos),
        exceptions_(std::uncaught_exceptions()) {
    scanner_.setErrorPos(pos);
  }
  ~ErrorPosScope() {
    if (scanner_.nestingDepth == 0 && std::uncaught_exceptions() == exceptions_) {
      scanner_.errorPos = saved_;
    }
  }

 private:
  Scanner& scanner_;
  const char* saved_;
  int exceptions_;
};

// Applies the operator to the two topmost values and replaces them.
void applyTop(ValueStack& stack, BinaryOp op) {
  ValuePtr result = applyBinary(op, *stack.peek(1), *stack.peek(0));
  stack.popDelete(2);
  stack.push(std::move(result));
}

void applyTop(ValueStack& stack, UnaryOp op) {
  ValuePtr result = applyUnary(op, *stack.top());
  stack.popDelete(1);
  stack.push(std::move(result));
}

}  // namespace

bool isKeyword(const char* name) {
  for (const char* keyword : {"for", "in", "do", "while", "if", "else"}) {
    if (std::strcmp(name, keyword) == 0) return true;
  }
  return false;
}

Evaluator::Evaluator(ProgramContext& program)
    : program_(program), scanner_(program.scanner), stack_(program.stack) {}

void Evaluator::evaluate() {
  if (scanner_.isSeparator(';')) raise("пустое выражение");
  if (depth_ >= kMaxExpressionDepth) raise("переполнение стека");
  ++depth_;
  struct Leave {
    int& depth;
    ~Leave() { --depth; }
  } leave{depth_};
  logical();
}

void Evaluator::logical() {
  comparison();
  for (;;) {
    BinaryOp op;
    if (scanner_.isSeparator('&')) op = BinaryOp::And;
    else if (scanner_.isSeparator('|')) op = BinaryOp::Or;
    else return;
    ErrorPosScope at(scanner_, scanner_.readPos);
    scanner_.scan();
    comparison();
    applyTop(stack_, op);
  }
}

void Evaluator::comparison() {
  range();
  if (scanner_.tokenKind != kSeparatorToken) return;
  const char first = scanner_.tokenText[0];
  const char second = scanner_.tokenText[1];
  BinaryOp op;
  switch (first) {
    case '<':
      if (second != 0 && second != '=') {
        scanner_.setErrorPos(scanner_.readPos);
        raise("Нарушен синтаксис '<'");
      }
      op = second == '=' ? BinaryOp::LessEqual : BinaryOp::Less;
      break;
    case '>':
      op = second == '=' ? BinaryOp::GreaterEqual : BinaryOp::Greater;
      break;
    case '=':
      if (second != '=') {
        scanner_.setErrorPos(scanner_.readPos);
        raise("Нарушен синтаксис '='");
      }
      op = BinaryOp::Equal;
      break;
    case '!':
      if (second != '=') {
        scanner_.setErrorPos(scanner_.readPos);
        raise("Нарушен синтаксис '!'");
      }
      op = BinaryOp::NotEqual;
      break;
    default:
      return;
  }
  ErrorPosScope at(scanner_, scanner_.readPos);
  scanner_.scan();
  range();
  applyTop(stack_, op);
}

void Evaluator::range() {
  sum();
  if (!scanner_.isSeparator(':')) return;
  ErrorPosScope at(scanner_, scanner_.readPos);
  scanner_.scan();
  sum();
  if (!scanner_.isSeparator(':')) {
    ValuePtr result = makeRange(*stack_.peek(1), *stack_.peek(0));
    stack_.popDelete(2);
    stack_.push(std::move(result));
    return;
  }
  scanner_.setErrorPos(scanner_.readPos);
  scanner_.scan();
  sum();
  ValuePtr result =
      makeSteppedRange(*stack_.peek(2), *stack_.peek(1), *stack_.peek(0));
  stack_.popDelete(3);
  stack_.push(std::move(result));
}

void Evaluator::sum() {
  if (scanner_.isSeparator('-')) {
    ErrorPosScope at(scanner_, scanner_.readPos);
    scanner_.scan();
    product();
    applyTop(stack_, UnaryOp::Negate);
  } else {
    product();
  }
  for (;;) {
    BinaryOp op;
    if (scanner_.isSeparator('+')) op = BinaryOp::Add;
    else if (scanner_.isSeparator('-')) op = BinaryOp::Subtract;
    else return;
    ErrorPosScope at(scanner_, scanner_.readPos);
    scanner_.scan();
    product();
    applyTop(stack_, op);
  }
}

void Evaluator::product() {
  power();
  for (;;) {
    if (scanner_.tokenKind != kSeparatorToken) return;
    const char* t = scanner_.tokenText;
    BinaryOp op;
    if (t[1] == 0 && t[0] == '*') op = BinaryOp::Multiply;
    else if (t[1] == 0 && t[0] == '/') op = BinaryOp::Divide;
    else if (t[1] == 0 && t[0] == '%') op = BinaryOp::Remainder;
    else if (t[1] == 0 && t[0] == '\\') op = BinaryOp::LeastSquares;
    else if (t[0] == '&' && t[1] == '*') op = BinaryOp::MatrixProduct;
    else return;
    ErrorPosScope at(scanner_, scanner_.readPos);
    scanner_.scan();
    power();
    applyTop(stack_, op);
  }
}

void Evaluator::power() {
  prefix();
  if (scanner_.tokenKind != kSeparatorToken) return;
  const char* t = scanner_.tokenText;
  BinaryOp op;
  if (t[0] == '^' && t[1] == 0) op = BinaryOp::Power;
  else if (t[0] == '^' && t[1] == '+') op = BinaryOp::LawSum;
  else if (t[0] == '&' && t[1] == '^') op = BinaryOp::MatrixPower;
  else return;
  ErrorPosScope at(scanner_, scanner_.readPos);
  scanner_.scan();
  prefix();
  applyTop(stack_, op);
}

void Evaluator::prefix() {
  if (scanner_.tokenKind != kSeparatorToken || scanner_.tokenText[1] != 0) {
    postfix();
    return;
  }
  UnaryOp op;
  switch (scanner_.tokenText[0]) {
    case '!': op = UnaryOp::Not; break;
    case '~': op = UnaryOp::Inverse; break;
    case '\'': op = UnaryOp::Transpose; break;
    case '#': op = UnaryOp::Count; break;
    case '@': op = UnaryOp::Join; break;
    case '$': op = UnaryOp::Wrap; break;
    default:
      postfix();
      return;
  }
  if (depth_ >= kMaxExpressionDepth - kMaxPrefixChain) {
    raise("слишком большая глубина скобок");
  }
  ErrorPosScope at(scanner_, scanner_.readPos);
  scanner_.scan();
  ++depth_;
  struct Leave {
    int& depth;
    ~Leave() { --depth; }
  } leave{depth_};
  prefix();
  applyTop(stack_, op);
}

void Evaluator::postfix() {
  primary();
  for (;;) {
    if (scanner_.isSeparator('(')) {
      call(scanner_.tokenStart);
    } else if (scanner_.isSeparator('.')) {
      methodOrProperty();
    } else {
      return;
    }
  }
}

void Evaluator::call(const char* calleeEnd) {
  scanner_.scan();
  bool assignment = false;
  const int count = argumentList(true, assignment);
  if (assignment) {
    // target(i, ...) = value: must be the outermost operation.
    if (stack_.size() > count + 2) raise("нарушен синтаксис оператора '='");
    MatObject* target = stack_.peek(count + 1);
    target->setElement(count, stack_.topArgs(count + 1));
    MatObject* value = stack_.pop();
    stack_.popDelete(count);
    stack_.push(value);
    return;
  }
  ErrorPosScope at(scanner_, calleeEnd);
  MatObject* callee = stack_.peek(count);
  methodCallFlag() = 0;
  ValuePtr result = callee->call(count, stack_.topArgs(count));
  stack_.popDelete(count + 1);
  stack_.push(std::move(result));
}

void Evaluator::methodOrProperty() {
  scanner_.scan();
  if (scanner_.tokenKind != kNameToken) {
    scanner_.setErrorPos(scanner_.tokenStart);
    raise("нет имени метода");
  }
  const char* nameEnd = scanner_.readPos;
  MatObject* receiver = stack_.top();
  if (auto* entry = program_.variables.lookup(scanner_.tokenText, receiver->typeCode)) {
    stack_.insertBelowTop(entry->value);
    scanner_.scan();
    if (!scanner_.isSeparator('(')) {
      scanner_.setErrorPos(nameEnd);
      raise("объект не имеет свойств");
    }
    scanner_.scan();
    bool assignment = false;
    const int count = argumentList(false, assignment) + 1;
    ErrorPosScope at(scanner_, nameEnd);
    methodCallFlag() = 1;
    ValuePtr result = entry->value->call(count, stack_.topArgs(count));
    methodCallFlag() = 0;
    stack_.popDelete(count + 1);
    stack_.push(std::move(result));
    return;
  }

  const char* property = scanner_.tokenText;
  const bool num = std::strcmp(property, "num") == 0;
  const bool row = std::strcmp(property, "row") == 0;
  const bool col = std::strcmp(property, "col") == 0;
  scanner_.setErrorPos(nameEnd);
  if (!num && !row && !col) raiseAbout(property, "неизвестный метод");
  const int position = receiver->loopPosition;
  const int width = receiver->loopRowWidth;
  if (width < 1) {
    raiseAbout(property, "данным свойством обладают только переменные цикла for");
  }
  const int value = num ? position + 1
                  : row ? position / width + 1
                        : position % width + 1;
  stack_.popDelete(1);
  stack_.push(makeNumber(value));
  scanner_.scan();
}

int Evaluator::argumentList(bool allowAssignment, bool& assignment) {
  int count = 0;
  if (scanner_.isSeparator(')')) {
    scanner_.scan();
  } else {
    for (;;) {
      evaluate();
      ++count;
      if (scanner_.isSeparator(',')) {
        scanner_.scan();
        continue;
      }
      if (scanner_.isSeparator(')')) {
        scanner_.scan();
        break;
      }
      scanner_.setErrorPos(scanner_.tokenStart);
      raise("нет ',' между аргументами");
    }
  }
  assignment = allowAssignment && scanner_.isSeparator('=');
  if (assignment) {
    scanner_.scan();
    evaluate();
  }
  return count;
}

void Evaluator::primary() {
  switch (scanner_.tokenKind) {
    case kEndToken:
      scanner_.setErrorPos(scanner_.tokenStart);
      raise(program_.expressionMode ? "неожиданный конец выражения"
                                    : "неожиданный конец программы");
    case kNumberToken:
      number();
      return;
    case kStringToken:
      stack_.push(std::make_unique<String>(scanner_.tokenText));
      scanner_.scan();
      return;
    case kNameToken:
      name();
      return;
    default:
      break;
  }
  if (scanner_.isSeparator('(')) {
    scanner_.scan();
    evaluate();
    if (!scanner_.isSeparator(')')) {
      scanner_.setErrorPos(scanner_.tokenStart);
      raise("нет )");
    }
    scanner_.scan();
    return;
  }
  if (scanner_.isSeparator('[')) {
    scanner_.scan();
    matrixLiteral();
    return;
  }
  scanner_.setErrorPos(scanner_.tokenStart);
  raise("Нарушен синтаксис выражения");
}

void Evaluator::number() {
  const char* text = scanner_.tokenText;
  // Whole numbers of up to 15 digits are exact doubles: read them directly.
  double value = 0;
  int digits = 0;
  while (digits < 16 && text[digits] >= '0' && text[digits] <= '9') {
    value = value * 10 + (text[digits] - '0');
    ++digits;
  }
  if (text[digits] == 0 && digits < 16) {
    stack_.push(makeNumber(value));
    scanner_.scan();
    return;
  }
  const char* end = text + std::strlen(text);
  const auto [stop, error] = std::from_chars(text, end, value);
  if (stop != end || error != std::errc()) {
    scanner_.setErrorPos(scanner_.readPos);
    raiseAbout(text, "неверно задано число");
  }
  stack_.push(makeNumber(value));
  scanner_.scan();
}

void Evaluator::name() {
  const char* name = scanner_.tokenText;
  MatObject* value = program_.variables.lookupValue(name, 0);
  if (!value) {
    scanner_.setErrorPos(scanner_.readPos);
    raiseAbout(name, isKeyword(name) ? "неожиданное появление" : "нет определения");
  }
  stack_.push(value);
  scanner_.scan();
}

void Evaluator::matrixLiteral() {
  struct Row {
    int firstItem;
    int height;
  };
  VectObjects items;
  std::vector<Row> rows;
  int width = -1;
  int height = 0;
  for (;;) {
    Row row{items.size(), 0};
    int rowWidth = 0;
    for (;;) {
      evaluate();
      MatObject* item = stack_.pop();
      items.append(item);
      if (items.size() == row.firstItem + 1) {
        row.height = item->rowCount();
      } else if (item->rowCount() != row.height) {
        raise("различное число строк");
      }
      rowWidth += item->colCount();
      if (!scanner_.isSeparator(',')) break;
      scanner_.scan();
    }
    if (width < 0) width = rowWidth;
    else if (rowWidth != width) raise("различное число столбцов");
    height += row.height;
    rows.push_back(row);
    if (!scanner_.isSeparator(';')) break;
    scanner_.scan();
  }
  if (!scanner_.isSeparator(']')) {
    scanner_.setErrorPos(scanner_.tokenStart);
    raise("нет ]");
  }

  const bool numeric = items.literalClass() == kMatrixType;
  std::unique_ptr<Matrix> matrix;
  std::unique_ptr<CSuperMatrix> table;
  if (numeric) matrix = Matrix::create(height, width);
  else table = CSuperMatrix::create(height, width);

  int top = 0;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const int end = r + 1 < rows.size() ? rows[r + 1].firstItem : items.size();
    int left = 0;
    for (int i = rows[r].firstItem; i < end; ++i) {
      const MatObject& item = *items[i];
      if (item.elementCount() < 0) {
        if (numeric) matrix->at(top, left) = numberOf(item);
        else table->setCell((top * width) + left, item.copy());
      } else {
        for (int y = 0; y < item.rowCount(); ++y) {
          for (int x = 0; x < item.colCount(); ++x) {
            if (numeric) {
              matrix->at(top + y, left + x) = asMatrix(item).at(y, x);
            } else {
              table->setCell((top + y) * width + left + x, item.elementAtRC(y, x));
            }
          }
        }
      }
      left += item.colCount();
    }
    top += rows[r].height;
  }
  if (numeric) stack_.push(std::move(matrix));
  else stack_.push(std::move(table));
  scanner_.scan();
}

}  // namespace tesmora
