#include "values/MatrixAlgebra.h"

#include <atomic>
#include <cmath>
#include <system_error>
#include <thread>
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

namespace {

// Products of at least this many multiplications (about a millisecond of
// work) share their rows with a second thread.
constexpr double kSharedProductSize = 1 << 21;

// Rows of the result are handed out one at a time, to this thread and, for
// a large product on a machine with more than one core, to one helper. Each
// element is the same dot product whichever thread computes it, so the
// result does not depend on the sharing. Only this thread polls for a stop;
// when it leaves (done, stopped, or failed) the helper stops taking rows and
// is joined before anything is freed.
void multiplyRows(const double* a, const double* columns, int rows, int inner, int cols,
                  double* out) {
  std::atomic<int> nextRow{0};
  std::atomic<bool> abandoned{false};
  const auto work = [&](bool polls) {
    for (int i; (i = nextRow.fetch_add(1)) < rows;) {
      if (polls) pollStop();
      if (abandoned.load(std::memory_order_relaxed)) return;
      rowTimesRows(a + std::size_t(i) * inner, columns, inner, cols,
                   out + std::size_t(i) * cols);
    }
  };
  std::thread helper;
  if (double(rows) * inner * cols >= kSharedProductSize &&
      std::thread::hardware_concurrency() > 1) {
    try {
      helper = std::thread(work, false);
    } catch (const std::system_error&) {
      // No thread to be had: this one does all the rows.
    }
  }
  struct Joiner {
    std::thread& helper;
    std::atomic<bool>& abandoned;
    ~Joiner() {
      abandoned = true;
      if (helper.joinable()) helper.join();
    }
  } joiner{helper, abandoned};
  work(true);
}

}  // namespace

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
  multiplyRows(a.data(), columns.data(), a.rows(), inner, b.cols(), result->data());
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

}  // namespace tesmora
