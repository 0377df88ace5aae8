#include "values/Operators.h"

#include <cmath>
#include <cstdio>
#include <string_view>

#include "builtins/FunctionClasses.h"
#include "interp/Cancellation.h"
#include "interp/Errors.h"
#include "interp/Prog.h"
#include "values/Arithmetic.h"
#include "values/MatrixAlgebra.h"

namespace tesmora {
namespace {

// The function objects of the operators, for all pairs of operands that
// have no rule of their own: calling them checks the types and applies the
// operator element by element to tables and discrete laws.
double minimum(double a, double b) { return a < b ? a : b; }
double maximum(double a, double b) { return a > b ? a : b; }
double greater(double a, double b) { return a > b; }
double greaterEqual(double a, double b) { return a >= b; }
double less(double a, double b) { return a < b; }
double lessEqual(double a, double b) { return a <= b; }
double equal(double a, double b) { return a == b; }
double notEqual(double a, double b) { return a != b; }
double add(double a, double b) { return a + b; }
double subtract(double a, double b) { return a - b; }
double multiply(double a, double b) { return a * b; }
double standardPower(double a, double b) { return std::pow(a, b); }

// Byte order of texts: unsigned bytes, a prefix is the smaller.
int compareTexts(const std::string& a, const std::string& b) {
  return std::string_view(a).compare(b);
}
double textGreater(Str a, Str b) { return compareTexts(a, b) > 0; }
double textGreaterEqual(Str a, Str b) { return compareTexts(a, b) >= 0; }
double textLess(Str a, Str b) { return compareTexts(a, b) < 0; }
double textLessEqual(Str a, Str b) { return compareTexts(a, b) <= 0; }
double textEqual(Str a, Str b) { return compareTexts(a, b) == 0; }
double textNotEqual(Str a, Str b) { return compareTexts(a, b) != 0; }

template <class Object, class Routine>
Object* named(Routine routine, const char* name) {
  static_assert(sizeof(Object) > 0);
  auto* object = new Object(routine);
  object->fixedName = name;
  return object;
}

// Created once, alive for the whole process.
struct OperatorObjects {
  SF_DD* number[18] = {};
  SF_StrStr* text[18] = {};
  OperatorObjects() {
    auto set = [&](BinaryOp op, double (*routine)(double, double), const char* name) {
      number[static_cast<int>(op)] = named<SF_DD>(routine, name);
    };
    auto setText = [&](BinaryOp op, double (*routine)(Str, Str), const char* name) {
      text[static_cast<int>(op)] = named<SF_StrStr>(routine, name);
    };
    set(BinaryOp::GreaterEqual, greaterEqual, "Операция 'число >= число'");
    set(BinaryOp::Greater, greater, "Операция 'число > число'");
    set(BinaryOp::LessEqual, lessEqual, "Операция 'число <= число'");
    set(BinaryOp::Less, less, "Операция 'число < число'");
    set(BinaryOp::Equal, equal, "Операция 'число == число'");
    set(BinaryOp::NotEqual, notEqual, "Операция 'число != число'");
    set(BinaryOp::And, minimum, "Операция '&'");
    set(BinaryOp::Or, maximum, "Операция '|'");
    set(BinaryOp::Add, add, "Операция '+'");
    set(BinaryOp::Subtract, subtract, "Операция '-'");
    set(BinaryOp::Multiply, multiply, "Операция '*'");
    set(BinaryOp::Divide, checkedDivide, "Операция '/'");
    set(BinaryOp::Remainder, integerRemainder, nullptr);
    set(BinaryOp::Power, standardPower, "Операция '^'");
    setText(BinaryOp::GreaterEqual, textGreaterEqual, "Операция 'строка >= строка'");
    setText(BinaryOp::Greater, textGreater, "Операция 'строка > строка'");
    setText(BinaryOp::LessEqual, textLessEqual, "Операция 'строка <= строка'");
    setText(BinaryOp::Less, textLess, "Операция 'строка < строка'");
    setText(BinaryOp::Equal, textEqual, "Операция 'строка == строка'");
    setText(BinaryOp::NotEqual, textNotEqual, "Операция 'строка != строка'");
  }
};

const OperatorObjects& operatorObjects() {
  static const OperatorObjects* objects = new OperatorObjects();  // never freed: process-wide
  return *objects;
}

bool isComparison(BinaryOp op) {
  return op >= BinaryOp::Greater && op <= BinaryOp::NotEqual;
}

}  // namespace

double scalarOp(BinaryOp op, double a, double b) {
  switch (op) {
    case BinaryOp::And: return minimum(a, b);
    case BinaryOp::Or: return maximum(a, b);
    case BinaryOp::Greater: return a > b;
    case BinaryOp::GreaterEqual: return a >= b;
    case BinaryOp::Less: return a < b;
    case BinaryOp::LessEqual: return a <= b;
    case BinaryOp::Equal: return a == b;
    case BinaryOp::NotEqual: return a != b;
    case BinaryOp::Add: return a + b;
    case BinaryOp::Subtract: return a - b;
    case BinaryOp::Multiply: return a * b;
    case BinaryOp::Divide: return checkedDivide(a, b);
    case BinaryOp::Remainder: return integerRemainder(a, b);
    case BinaryOp::Power: return powerRule(a, b);
    default: return 0;  // not an elementwise operator
  }
}

namespace {

// The size-mismatch message of each elementwise operator.
const char* sizeMessage(BinaryOp op) {
  switch (op) {
    case BinaryOp::Multiply: return "Не совпадают размеры матриц";
    case BinaryOp::Divide:
    case BinaryOp::Power: return "не совпадают размеры";
    default: return "не совпадают размеры матриц";
  }
}

ValuePtr elementwise(BinaryOp op, const MatObject& left, const MatObject& right) {
  const bool leftMatrix = left.typeCode == kMatrixType;
  const bool rightMatrix = right.typeCode == kMatrixType;
  const Matrix& shape = leftMatrix ? asMatrix(left) : asMatrix(right);
  if (leftMatrix && rightMatrix) {
    const Matrix& b = asMatrix(right);
    if (shape.rows() != b.rows() || shape.cols() != b.cols()) raise(sizeMessage(op));
    if (op == BinaryOp::Divide) {
      for (int i = 0; i < b.count(); ++i) {
        if (b[i] == 0) raise("деление на ноль");
      }
    }
  }
  if (op == BinaryOp::Divide && !rightMatrix && numberOf(right) == 0) {
    raise("деление на ноль");
  }
  auto result = Matrix::createForOverwrite(shape.rows(), shape.cols());
  const double a0 = leftMatrix ? 0 : numberOf(left);
  const double b0 = rightMatrix ? 0 : numberOf(right);
  for (int i = 0; i < shape.count(); ++i) {
    const double a = leftMatrix ? asMatrix(left)[i] : a0;
    const double b = rightMatrix ? asMatrix(right)[i] : b0;
    (*result)[i] = scalarOp(op, a, b);
  }
  return result;
}

}  // namespace

std::string gFormat(double x) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%g", x);
  return buffer;
}

namespace {

ValuePtr textOp(BinaryOp op, const MatObject& left, const MatObject& right) {
  const auto& a = static_cast<const String&>(left).text;
  const auto& b = static_cast<const String&>(right).text;
  switch (op) {
    case BinaryOp::Add: return std::make_unique<String>(a + b);
    case BinaryOp::Greater: return makeNumber(textGreater(a, b));
    case BinaryOp::GreaterEqual: return makeNumber(textGreaterEqual(a, b));
    case BinaryOp::Less: return makeNumber(textLess(a, b));
    case BinaryOp::LessEqual: return makeNumber(textLessEqual(a, b));
    case BinaryOp::Equal: return makeNumber(textEqual(a, b));
    default: return makeNumber(textNotEqual(a, b));
  }
}

// @P: a table of numbers, of numeric matrices or of tables joined into one
// value, its cells placed as blocks like the items of a literal.
ValuePtr joinTable(const CSuperMatrix& table) {
  const std::string subject = table.variableName ? table.variableName : "";
  if (table.count() == 0) raiseAbout(subject, "нет элементов");
  const int kind = table.uniformType();
  if (kind == kScalarType) {
    auto result = Matrix::create(table.rows(), table.cols());
    for (int i = 0; i < table.count(); ++i) (*result)[i] = numberOf(*table.cell(i));
    return result;
  }
  if (kind != kMatrixType && kind != kSuperType) {
    raiseAbout(subject, "операция @ не определена");
  }
  const bool matrices = kind == kMatrixType;
  int height = 0;
  int width = -1;
  for (int r = 0; r < table.rows(); ++r) {
    const int rowHeight = table.cell(r, 0)->rowCount();
    int rowWidth = 0;
    for (int c = 0; c < table.cols(); ++c) {
      if (table.cell(r, c)->rowCount() != rowHeight) {
        raiseAbout(subject, matrices ? "в объединяемых матрицах различное число строк"
                                     : "в объединяемых суперматрицах различное число строк");
      }
      rowWidth += table.cell(r, c)->colCount();
    }
    if (width >= 0 && rowWidth != width) {
      raiseAbout(subject, matrices ? "в объединяемых матрицах различное число столбцов"
                                   : "в объединяемых суперматрицах различное число столбцов");
    }
    width = rowWidth;
    height += rowHeight;
  }
  std::unique_ptr<Matrix> numbers;
  std::unique_ptr<CSuperMatrix> cells;
  if (matrices) numbers = Matrix::create(height, width);
  else cells = CSuperMatrix::create(height, width);
  int top = 0;
  for (int r = 0; r < table.rows(); ++r) {
    int left = 0;
    for (int c = 0; c < table.cols(); ++c) {
      const MatObject& block = *table.cell(r, c);
      for (int y = 0; y < block.rowCount(); ++y) {
        for (int x = 0; x < block.colCount(); ++x) {
          if (matrices) numbers->at(top + y, left + x) = asMatrix(block).at(y, x);
          else cells->setCell((top + y) * width + left + x, block.elementAtRC(y, x));
        }
      }
      left += block.colCount();
    }
    top += table.cell(r, 0)->rowCount();
  }
  if (matrices) return numbers;
  return cells;
}

bool allTexts(const CSuperMatrix& table) {
  return table.uniformType() == kStringType;
}

ValuePtr concatenateTables(const CSuperMatrix& a, const CSuperMatrix& b) {
  if (a.rows() != b.rows() || a.cols() != b.cols()) raise("не совпадают размеры суперматриц");
  auto result = CSuperMatrix::create(a.rows(), a.cols());
  for (int i = 0; i < a.count(); ++i) {
    result->setCell(i, std::make_unique<String>(static_cast<String&>(*a.cell(i)).text +
                                                static_cast<String&>(*b.cell(i)).text));
  }
  return result;
}

// The operator's function object applied to the two operands.
ValuePtr generic(BinaryOp op, MatObject& left, MatObject& right) {
  const auto& objects = operatorObjects();
  MatObject* args[] = {&left, &right};
  CSFunc* object = objects.number[static_cast<int>(op)];
  if (isComparison(op) && left.typeCode != kScalarType && left.typeCode != kMatrixType) {
    object = objects.text[static_cast<int>(op)];
  }
  methodCallFlag() = 0;
  return object->call(2, args);
}

// L ^+ n: the law of the sum of n independent copies of L, added one by
// one to the law concentrated at 0.
ValuePtr lawSum(MatObject& law, double n) {
  if (!(n >= 1 && n == std::floor(n))) raise("операция '^+' не определена");
  ValuePtr sum = makeNumber(0);
  for (double i = 0; i < n; ++i) {
    // A large n takes long: let the user stop it like a long loop.
    pollStop();
    sum = generic(BinaryOp::Add, *sum, law);
  }
  return sum;
}

bool numeric(int code) { return code == kScalarType || code == kMatrixType; }

}  // namespace

ValuePtr applyBinary(BinaryOp op, MatObject& left, MatObject& right) {
  const int a = left.typeCode;
  const int b = right.typeCode;
  if (a == kScalarType && b == kScalarType && op <= BinaryOp::Power &&
      op != BinaryOp::LeastSquares && op != BinaryOp::MatrixProduct) {
    return makeNumber(scalarOp(op, numberOf(left), numberOf(right)));
  }
  switch (op) {
    case BinaryOp::MatrixProduct:
      if (a != kMatrixType || b != kMatrixType) {
        raise("Матричное умножение применяется только к матрицам");
      }
      return matrixProduct(asMatrix(left), asMatrix(right));
    case BinaryOp::LeastSquares:
      if (a != kMatrixType || b != kMatrixType) raise("операция '' не определена");
      return leastSquares(asMatrix(left), asMatrix(right));
    case BinaryOp::MatrixPower:
      if (a != kMatrixType || b != kScalarType) {
        raise("Матричное возведение в степень применимо\t\tтолько к матрице и числу");
      }
      return matrixPower(asMatrix(left), numberOf(right));
    case BinaryOp::LawSum:
      if (a != kLawType || b != kScalarType) {
        raise("Операция ^+ применима только к закону и числу");
      }
      return lawSum(left, numberOf(right));
    case BinaryOp::Remainder:
      if ((a == kMatrixType && b == kScalarType) || (a == kScalarType && b == kMatrixType)) {
        return elementwise(op, left, right);
      }
      if (b == kLawType || (a == kLawType && b == kScalarType)) return generic(op, left, right);
      raise("операция '%' не определена");
    default:
      break;
  }
  if (numeric(a) && numeric(b)) return elementwise(op, left, right);
  if (a == kStringType && b == kStringType &&
      (op == BinaryOp::Add || isComparison(op))) {
    return textOp(op, left, right);
  }
  if (op == BinaryOp::Add) {
    if (a == kStringType && b == kScalarType) {
      return std::make_unique<String>(static_cast<String&>(left).text + gFormat(numberOf(right)));
    }
    if (a == kScalarType && b == kStringType) {
      return std::make_unique<String>(gFormat(numberOf(left)) + static_cast<String&>(right).text);
    }
    if (a == kSuperType && b == kSuperType && allTexts(asSuper(left)) &&
        allTexts(asSuper(right))) {
      return concatenateTables(asSuper(left), asSuper(right));
    }
  }
  if ((op == BinaryOp::Equal || op == BinaryOp::NotEqual) && !(a == kStringType && b == kStringType)) {
    // == and != use the routine of two numbers for every other pair.
    MatObject* args[] = {&left, &right};
    methodCallFlag() = 0;
    return operatorObjects().number[static_cast<int>(op)]->call(2, args);
  }
  return generic(op, left, right);
}

ValuePtr applyUnary(UnaryOp op, MatObject& operand) {
  const int code = operand.typeCode;
  switch (op) {
    case UnaryOp::Negate:
    case UnaryOp::Not: {
      const auto apply = [op](double x) { return op == UnaryOp::Negate ? -x : 1 - x; };
      if (code == kScalarType) return makeNumber(apply(numberOf(operand)));
      if (code == kMatrixType) {
        const Matrix& m = asMatrix(operand);
        auto result = Matrix::create(m.rows(), m.cols());
        for (int i = 0; i < m.count(); ++i) (*result)[i] = apply(m[i]);
        return result;
      }
      raise(op == UnaryOp::Negate ? "операция '-' не определена" : "Операция '!' не определена");
    }
    case UnaryOp::Inverse:
      if (code == kScalarType) return makeNumber(checkedDivide(1, numberOf(operand)));
      if (code == kMatrixType) return inverseMatrix(asMatrix(operand));
      raise("операция '~' не определена");
    case UnaryOp::Transpose:
      if (code == kMatrixType) return transposed(asMatrix(operand));
      if (code == kSuperType) {
        auto& table = asSuper(operand);
        auto result = CSuperMatrix::create(table.cols(), table.rows());
        const bool move = table.isTemporary();
        for (int r = 0; r < table.rows(); ++r) {
          for (int c = 0; c < table.cols(); ++c) {
            const int from = r * table.cols() + c;
            result->setCell(c * table.rows() + r,
                            move ? table.takeCell(from) : table.cell(from)->copy());
          }
        }
        return result;
      }
      raise("Оператор ' не определен");
    case UnaryOp::Count:
      if (code == kMatrixType || code == kSuperType) return makeNumber(operand.elementCount());
      raise("Операция '#' не определена");
    case UnaryOp::Join:
      if (code == kSuperType) return joinTable(asSuper(operand));
      raise("Операция '@' не определена");
    case UnaryOp::Wrap: {
      auto result = CSuperMatrix::create(1, 1);
      result->setCell(0, operand.copy());
      return result;
    }
  }
  return nullptr;
}

ValuePtr makeRange(const MatObject& from, const MatObject& to) {
  if (from.typeCode != kScalarType || to.typeCode != kScalarType) {
    raise("операция ':' не определена");
  }
  const double a = numberOf(from);
  const double b = numberOf(to);
  const double n = std::floor(std::fabs(b - a) + 1);
  if (!std::isfinite(n)) raise("операция ':' не определена");
  if (n > maxElementCount()) raise("слишком большой массив");
  auto result = Matrix::createForOverwrite(static_cast<int>(n), 1);
  for (int i = 0; i < result->count(); ++i) (*result)[i] = b >= a ? a + i : a - i;
  return result;
}

ValuePtr makeSteppedRange(const MatObject& from, const MatObject& to,
                          const MatObject& step) {
  const char* undefined = "операция '::' не определена";
  if (from.typeCode != kScalarType || to.typeCode != kScalarType ||
      step.typeCode != kScalarType) {
    raise(undefined);
  }
  const double a = numberOf(from);
  const double b = numberOf(to);
  const double c = numberOf(step);
  if (c == 0 || (c > 0 && a > b) || (c < 0 && a < b)) raise(undefined);
  const double e = (b - a) / c;
  const double n = std::floor(e + 1e-7);
  if (!std::isfinite(n)) raise(undefined);
  if (n + 1 > maxElementCount()) raise("слишком большой массив");
  auto result = Matrix::create(static_cast<int>(n) + 1, 1);
  for (int i = 0; i < n; ++i) (*result)[i] = a + c * i;
  (*result)[static_cast<int>(n)] = e == n ? b : a + c * n;
  return result;
}

}  // namespace tesmora
