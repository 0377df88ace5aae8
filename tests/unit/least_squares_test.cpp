// a \ b against solutions known exactly: an ill-conditioned polynomial fit
// (data that a degree-9 polynomial reproduces exactly, which the normal
// equations cannot recover), a well-conditioned fit compared with the
// normal equations it replaces, pivoting past a zero-norm leading column,
// and the messages of the inverse where a'a has none.
#include <gtest/gtest.h>

#include "ScriptErrorMessage.h"

#include <cmath>
#include <functional>

#include "interp/Errors.h"
#include "text/Cp1251.h"
#include "values/MatrixAlgebra.h"
#include "values/Scalar.h"

namespace tesmora {
namespace {

std::unique_ptr<Matrix> matrixOf(int rows, int cols, const std::function<double(int, int)>& f) {
  auto m = Matrix::createUnbounded(rows, cols);
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) m->at(r, c) = f(r, c);
  }
  return m;
}

const Matrix& asMatrixValue(const ValuePtr& v) { return static_cast<const Matrix&>(*v); }

TEST(LeastSquares, RecoversAnIllConditionedPolynomialExactly) {
  // Vandermonde of 40 points of [0, 1], degree 9: cond ≈ 1e7, so a'a has
  // cond ≈ 1e14 and the normal equations keep only about two digits.
  const int degree = 9;
  auto a = matrixOf(40, degree + 1, [](int r, int c) { return std::pow(r / 39.0, c); });
  auto b = matrixOf(40, 1, [&](int r, int) {
    double y = 0;
    for (int c = degree; c >= 0; --c) y = y * (r / 39.0) + (c + 1);
    return y;
  });
  const auto x = leastSquares(*a, *b);
  for (int c = 0; c <= degree; ++c) EXPECT_NEAR(asMatrixValue(x)[c], c + 1, 1e-6) << c;
}

TEST(LeastSquares, AgreesWithTheNormalEquationsWhenWellConditioned) {
  auto a = matrixOf(12, 3, [](int r, int c) { return std::pow(r + 1.0, c); });
  auto b = matrixOf(12, 2, [](int r, int c) { return c == 0 ? std::sin(r) : r * r - 3.0; });
  const auto x = leastSquares(*a, *b);
  const auto t = transposed(*a);
  const auto normal = productMatrix(*inverseMatrix(*productMatrix(*t, *a)), *productMatrix(*t, *b));
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(asMatrixValue(x)[i], (*normal)[i], 1e-11) << i;
  EXPECT_NEAR(asMatrixValue(x).at(2, 1), 1, 1e-12);  // r² − 3 = (t − 1)² − 3 exactly
}

TEST(LeastSquares, PivotsPastAZeroLeadingColumnEntry) {
  auto a = matrixOf(3, 2, [](int r, int c) { return c == 0 ? (r == 1 ? 2 : 0) : r + 1.0; });
  auto b = matrixOf(3, 1, [](int r, int) { return r + 1.0; });
  const auto x = leastSquares(*a, *b);
  EXPECT_NEAR(asMatrixValue(x)[0], 0, 1e-15);
  EXPECT_NEAR(asMatrixValue(x)[1], 1, 1e-15);
}

TEST(LeastSquares, KeepsTheMessagesOfTheInverse) {
  auto single = matrixOf(2, 1, [](int, int) { return 0; });
  auto dependent = matrixOf(3, 2, [](int r, int c) { return (r + 1.0) * (c + 1); });
  auto wide = matrixOf(2, 3, [](int r, int c) { return r * 3.0 + c + 1; });
  auto two = matrixOf(2, 1, [](int r, int) { return r; });
  auto three = matrixOf(3, 1, [](int r, int) { return r; });
  EXPECT_EQ(messageOf([&] { leastSquares(*single, *two); }), cp("деление на ноль"));
  EXPECT_EQ(messageOf([&] { leastSquares(*dependent, *three); }),
            cp("обратная матрица не существует"));
  EXPECT_EQ(messageOf([&] { leastSquares(*wide, *two); }), cp("обратная матрица не существует"));
  EXPECT_EQ(messageOf([&] { leastSquares(*two, *three); }), cp("'': не совпадает число строк"));
  // One column and one right-hand side: the result is a number.
  EXPECT_EQ(leastSquares(*three, *three)->typeCode, kScalarType);
}

}  // namespace
}  // namespace tesmora
