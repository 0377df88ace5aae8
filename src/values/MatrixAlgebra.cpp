#include "values/MatrixAlgebra.h"

#include <cmath>
#include <utility>
#include <vector>

#include "interp/Cancellation.h"
#include "interp/Errors.h"
#include "values/CompensatedDot.h"
#include "values/Scalar.h"

namespace tesmora {

std::unique_ptr<Matrix> transposed(const Matrix& m) {
  auto result = Matrix::create(m.cols(), m.rows());
  for (int r = 0; r < m.rows(); ++r) {
    for (int c = 0; c < m.cols(); ++c) result->at(c, r) = m.at(r, c);
  }
  return result;
}

std::unique_ptr<Matrix> identityMatrix(int n) {
  auto result = Matrix::create(n, n);
  for (int i = 0; i < n; ++i) result->at(i, i) = 1;
  return result;
}

// The product as a matrix, whatever its size. B is transposed first, so
// that every element is a dot product of two rows lying in memory one
// number after the other; a stop is honoured between two rows of the result.
std::unique_ptr<Matrix> productMatrix(const Matrix& a, const Matrix& b) {
  if (a.cols() != b.rows()) raise("Матричное произведение не определено");
  auto result = Matrix::create(a.rows(), b.cols());
  const int inner = a.cols();
  std::vector<double> columns(std::size_t(b.cols()) * inner);
  for (int k = 0; k < inner; ++k) {
    for (int j = 0; j < b.cols(); ++j) columns[std::size_t(j) * inner + k] = b.at(k, j);
  }
  for (int i = 0; i < a.rows(); ++i) {
    pollStop();
    rowTimesRows(a.data() + std::size_t(i) * inner, columns.data(), inner, b.cols(),
                 result->data() + std::size_t(i) * b.cols());
  }
  return result;
}

static ValuePtr numberIfSingle(std::unique_ptr<Matrix> m) {
  if (m->rows() == 1 && m->cols() == 1) return makeNumber((*m)[0]);
  return m;
}

ValuePtr matrixProduct(const Matrix& a, const Matrix& b) {
  return numberIfSingle(productMatrix(a, b));
}

// Exponents are doubles; beyond 2^53 every one is even, and 2^1024 is not
// finite: squaring ends after at most 1024 steps whatever n is.
ValuePtr matrixPower(const Matrix& m, double n) {
  if (!(n >= 0 && n == std::floor(n) && std::isfinite(n)) || m.rows() != m.cols()) {
    raise("операция '^' не определена");
  }
  // Binary powering: M^n = product of M^(2^i) over the set bits of n. The
  // first factor is taken as it is (I·P = P), never multiplied by the
  // identity: 0·inf would turn an overflowed power into NaN.
  if (n == 0) return identityMatrix(m.rows());
  std::unique_ptr<Matrix> result;
  std::unique_ptr<Matrix> square;
  const Matrix* power = &m;
  for (double rest = n; rest > 0;) {
    pollStop();
    if (std::fmod(rest, 2) == 1) {
      result = result ? productMatrix(*result, *power) : power->duplicate();
    }
    rest = std::floor(rest / 2);
    if (rest > 0) {
      square = productMatrix(*power, *power);
      power = square.get();
    }
  }
  if (m.rows() == 1) return makeNumber((*result)[0]);
  return result;
}

std::unique_ptr<Matrix> inverseMatrix(const Matrix& m) {
  if (m.rows() != m.cols()) raise("неквадратная матрица");
  const int n = m.rows();
  auto a = m.duplicate();
  auto r = identityMatrix(n);
  for (int j = 0; j < n; ++j) {
    pollStop();
    int best = j;
    for (int k = j + 1; k < n; ++k) {
      if (std::fabs(a->at(k, j)) > std::fabs(a->at(best, j))) best = k;
    }
    if (!(std::fabs(a->at(best, j)) >= 1e-300)) raise("обратная матрица не существует");
    for (int c = 0; c < n; ++c) {
      std::swap(a->at(j, c), a->at(best, c));
      std::swap(r->at(j, c), r->at(best, c));
    }
    const double pivot = a->at(j, j);
    for (int c = 0; c < n; ++c) {
      a->at(j, c) /= pivot;
      r->at(j, c) /= pivot;
    }
    for (int k = 0; k < n; ++k) {
      if (k == j) continue;
      const double e = a->at(k, j);
      for (int c = 0; c < n; ++c) {
        a->at(k, c) -= e * a->at(j, c);
        r->at(k, c) -= e * r->at(j, c);
      }
    }
  }
  return r;
}

}  // namespace tesmora
