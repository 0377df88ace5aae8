// The numeric matrix: a rectangular table of doubles stored row by row.
// Vectors are matrices with one column (ranges) or one row (string codes).
// A matrix is also a scalar function of its indices, so M(i) and M(i, j)
// go through the general call protocol and accept matrices of indices.
#pragma once

#include <memory>
#include <vector>

#include "values/CLaw.h"
#include "values/ElementStorage.h"
#include "values/Function.h"

namespace tesmora {


// Holds the matrix's cached empirical law, built on first use by the law
// and frequency builtins and forgotten on every element assignment.
class preMatrix : public CSFunc {
 public:
  preMatrix() : CSFunc(kMatrixType) {}
  ~preMatrix() override;
  std::unique_ptr<CLaw> cachedLaw;
};

class Matrix : public preMatrix {
 public:
  // Bounded by the element-count limit ("слишком большой массив"): ranges,
  // literals, copies and the results of operations.
  static std::unique_ptr<Matrix> create(int rows, int cols);
  // As create, but the elements are left unset: only for callers that
  // write every element before the matrix is used.
  static std::unique_ptr<Matrix> createForOverwrite(int rows, int cols);
  // Sizes given by the user as numbers: x(m, n) and builtins.
  static std::unique_ptr<Matrix> fromSizes(double rows, double cols);
  // A column of n given as a number: x(n).
  static std::unique_ptr<Matrix> column(double n);
  // Without the limit (internal tables).
  static std::unique_ptr<Matrix> createUnbounded(int rows, int cols);

  int rows() const { return rows_; }
  int cols() const { return cols_; }
  int count() const { return rows_ * cols_; }
  double* data() { return elements_.get(); }
  const double* data() const { return elements_.get(); }
  double& at(int r, int c) { return elements_[std::size_t(r) * cols_ + c]; }
  double at(int r, int c) const { return elements_[std::size_t(r) * cols_ + c]; }
  double& operator[](int i) { return elements_[i]; }
  double operator[](int i) const { return elements_[i]; }

  ValuePtr elementAt(int index) const override;
  ValuePtr copy() const override;
  int colCount() const override { return cols_; }
  int rowCount() const override { return rows_; }
  int elementCount() const override { return count(); }
  int elementType() const override { return kScalarType; }
  int literalClass() const override { return kMatrixType; }
  double mean() const override;
  double variance() const override;
  void setElement(int count, Args args) override;
  ValuePtr elementAtRC(int row, int col) const override;

  // As a function of its indices: one or two numbers.
  int argCount() const override { return -1; }
  int maxArgs() const override { return 2; }
  int minArgs() const override { return 1; }
  int argType(int) const override { return kScalarType; }
  double invoke(int count, Args args) override;
  double eval1(double x) override;
  double eval2(double x, double y) override;

  // A copy of this matrix's shape and elements, of this matrix's class.
  virtual std::unique_ptr<Matrix> duplicate() const;

 protected:
  Matrix(int rows, int cols);

 private:
  struct ForOverwrite {};
  Matrix(int rows, int cols, ForOverwrite);

  int rows_;
  int cols_;
  ElementBuffer elements_;
};

// A colour: a 1×3 matrix of red, green, blue, each meant to lie in 0..255.
// Inside a matrix literal a colour stays one value (the literal becomes a
// super-matrix).
class CColor final : public Matrix {
 public:
  CColor(double red, double green, double blue);
  int literalClass() const override { return kMixedType; }
  std::unique_ptr<Matrix> duplicate() const override;
};

// The 32-bit drawing value blue·65536 + green·256 + red of a 3-element
// matrix; a component outside 0..255 raises "недопустимый цвет".
unsigned packColor(const Matrix& color);

// The element-count limit shared by matrices and super-matrices.
int maxElementCount();
void setMaxElementCount(int limit);

inline Matrix& asMatrix(MatObject& value) { return static_cast<Matrix&>(value); }
inline const Matrix& asMatrix(const MatObject& value) {
  return static_cast<const Matrix&>(value);
}

}  // namespace tesmora
