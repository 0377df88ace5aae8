// a \ b: the least-squares solution of a x = b.
//
// The solution is that of the normal equations (a'a) x = a'b, but it is
// found by Householder QR with column pivoting on a itself: forming a'a
// squares the condition number, so a polynomial fit of moderate degree
// loses every digit that way, while QR keeps the accuracy the data allow.
// Where a'a has no inverse (a has dependent columns, or fewer rows than
// columns) the operator raises the inverse's message, as before.
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "interp/Cancellation.h"
#include "interp/Errors.h"
#include "values/MatrixAlgebra.h"
#include "values/Scalar.h"

namespace tesmora {
namespace {

// (a'a)^-1 a' b formed literally: kept for what QR has no answer to
// (no columns, or elements that are not finite), where it gives the
// results and messages it always gave.
ValuePtr normalEquations(const Matrix& a, const Matrix& b) {
  auto t = transposed(a);
  auto p = productMatrix(*t, a);
  std::unique_ptr<Matrix> q;
  if (p->rows() == 1 && p->cols() == 1) {
    // A single column: the inverse of the 1×1 product is its reciprocal.
    if ((*p)[0] == 0) raise("деление на ноль");
    const double reciprocal = 1 / (*p)[0];
    q = t->duplicate();
    for (int i = 0; i < q->count(); ++i) (*q)[i] *= reciprocal;
  } else {
    q = productMatrix(*inverseMatrix(*p), *t);
  }
  return matrixProduct(*q, b);
}

bool allFinite(const Matrix& m) {
  return std::all_of(m.data(), m.data() + m.count(), [](double x) { return std::isfinite(x); });
}

// Columns stored one after another, so that a column is contiguous.
class ColumnMajor {
 public:
  explicit ColumnMajor(const Matrix& m) : rows_(m.rows()), values_(std::size_t(m.count())) {
    for (int r = 0; r < m.rows(); ++r) {
      for (int c = 0; c < m.cols(); ++c) column(c)[r] = m.at(r, c);
    }
  }
  double* column(int c) { return values_.data() + std::size_t(c) * rows_; }

 private:
  int rows_;
  std::vector<double> values_;
};

// √(Σ x²) of x[from..to), scaled so that huge or tiny elements do not
// overflow or underflow.
double norm(const double* x, int from, int to) {
  double scale = 0;
  for (int i = from; i < to; ++i) scale = std::max(scale, std::fabs(x[i]));
  if (scale == 0) return 0;
  double sum = 0;
  for (int i = from; i < to; ++i) sum += (x[i] / scale) * (x[i] / scale);
  return scale * std::sqrt(sum);
}

// Applies H = I − v·v'/(−alpha·v0), stored in v[from..rows), to column x.
void reflect(const double* v, double* x, int from, int rows, double divisor) {
  double dot = 0;
  for (int i = from; i < rows; ++i) dot += v[i] * x[i];
  const double factor = dot / divisor;
  for (int i = from; i < rows; ++i) x[i] -= factor * v[i];
}

[[noreturn]] void raiseNoInverse(int columns) {
  // The messages of the inverse of a'a: a number for one column, the
  // matrix inverse otherwise.
  if (columns == 1) raise("деление на ноль");
  raise("обратная матрица не существует");
}

}  // namespace

ValuePtr leastSquares(const Matrix& a, const Matrix& b) {
  if (a.rows() != b.rows()) raise("'': не совпадает число строк");
  const int m = a.rows();
  const int n = a.cols();
  const int k = b.cols();
  if (n == 0 || !allFinite(a) || !allFinite(b)) return normalEquations(a, b);
  if (m < n) raiseNoInverse(n);

  ColumnMajor q(a);
  ColumnMajor rhs(b);
  std::vector<int> order(n);
  for (int j = 0; j < n; ++j) order[j] = j;
  std::vector<double> diagonal(n);
  const double tolerance = std::numeric_limits<double>::epsilon() * std::max(m, n);
  double largest = 0;

  for (int j = 0; j < n; ++j) {
    pollStop();
    // Pivot: the remaining column with the largest norm below row j.
    int best = j;
    double bestNorm = -1;
    for (int c = j; c < n; ++c) {
      const double size = norm(q.column(c), j, m);
      if (size > bestNorm) {
        bestNorm = size;
        best = c;
      }
    }
    if (best != j) {
      std::swap_ranges(q.column(j), q.column(j) + m, q.column(best));
      std::swap(order[j], order[best]);
    }
    if (j == 0) largest = bestNorm;
    if (!(bestNorm > tolerance * largest) || bestNorm == 0) raiseNoInverse(n);

    double* v = q.column(j);
    const double alpha = v[j] >= 0 ? -bestNorm : bestNorm;
    v[j] -= alpha;
    const double divisor = -alpha * v[j];
    for (int c = j + 1; c < n; ++c) reflect(v, q.column(c), j, m, divisor);
    for (int c = 0; c < k; ++c) reflect(v, rhs.column(c), j, m, divisor);
    diagonal[j] = alpha;
  }

  // Back substitution R x = Q'b, then the pivoted rows put back in place.
  auto result = Matrix::create(n, k);
  std::vector<double> x(n);
  for (int c = 0; c < k; ++c) {
    const double* y = rhs.column(c);
    for (int i = n - 1; i >= 0; --i) {
      double sum = y[i];
      for (int j = i + 1; j < n; ++j) sum -= q.column(j)[i] * x[j];
      x[i] = sum / diagonal[i];
    }
    for (int i = 0; i < n; ++i) result->at(order[i], c) = x[i];
  }
  if (n == 1 && k == 1) return makeNumber((*result)[0]);
  return result;
}

}  // namespace tesmora
