#include "values/MatrixAlgebra.h"

#include <cmath>
#include <utility>

#include "interp/Errors.h"
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

// The product as a matrix, whatever its size.
std::unique_ptr<Matrix> productMatrix(const Matrix& a, const Matrix& b) {
  if (a.cols() != b.rows()) raise("Матричное произведение не определено");
  auto result = Matrix::create(a.rows(), b.cols());
  for (int i = 0; i < a.rows(); ++i) {
    for (int j = 0; j < b.cols(); ++j) {
      long double sum = 0;
      for (int k = 0; k < a.cols(); ++k) {
        sum += static_cast<long double>(a.at(i, k)) * b.at(k, j);
      }
      result->at(i, j) = static_cast<double>(sum);
    }
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

ValuePtr matrixPower(const Matrix& m, double n) {
  if (!(n >= 0 && n == std::floor(n)) || m.rows() != m.cols()) {
    raise("операция '^' не определена");
  }
  auto result = identityMatrix(m.rows());
  for (double i = 0; i < n; ++i) result = productMatrix(*result, m);
  if (m.rows() == 1 && n >= 1) return makeNumber((*result)[0]);
  return result;
}

std::unique_ptr<Matrix> inverseMatrix(const Matrix& m) {
  if (m.rows() != m.cols()) raise("неквадратная матрица");
  const int n = m.rows();
  auto a = m.duplicate();
  auto r = identityMatrix(n);
  for (int j = 0; j < n; ++j) {
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
