// The operators of the language on every pair of value kinds. The
// evaluator pushes the operands, calls one of these with them, and replaces
// them by the new value returned; an operand is never returned or changed.
#pragma once

#include <string>

#include "values/MatObject.h"

namespace tesmora {

enum class BinaryOp {
  And, Or,                                   // minimum, maximum
  Greater, GreaterEqual, Less, LessEqual, Equal, NotEqual,
  Add, Subtract, Multiply, Divide, Remainder,
  LeastSquares,                              // a \ b
  MatrixProduct,                             // a &* b
  Power,                                     // a ^ b
  LawSum,                                    // a ^+ n
  MatrixPower,                               // a &^ n
};

enum class UnaryOp {
  Negate,     // leading -
  Not,        // ! : 1 - x
  Inverse,    // ~ : reciprocal, inverse matrix
  Transpose,  // '
  Count,      // #
  Join,       // @
  Wrap,       // $
};

ValuePtr applyBinary(BinaryOp op, MatObject& left, MatObject& right);
// What applyBinary does with two numbers, for the operators up to Power
// except \ and &*: the one rule both the text path and the compiled form use.
double scalarOp(BinaryOp op, double a, double b);
inline bool isScalarOp(BinaryOp op) {
  return op <= BinaryOp::Power && op != BinaryOp::LeastSquares &&
         op != BinaryOp::MatrixProduct;
}
// A number as text + number writes it ("%g").
std::string gFormat(double x);
// Unary operators may move the cells of a temporary table instead of
// copying them; `operand` is then left empty but still owned by its holder.
ValuePtr applyUnary(UnaryOp op, MatObject& operand);

// a : b and a : b : step.
ValuePtr makeRange(const MatObject& from, const MatObject& to);
ValuePtr makeSteppedRange(const MatObject& from, const MatObject& to,
                          const MatObject& step);

}  // namespace tesmora
