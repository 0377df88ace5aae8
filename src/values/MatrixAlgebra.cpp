#include "values/MatrixAlgebra.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <utility>

#include "interp/Cancellation.h"
#include "interp/Errors.h"
#include "values/CompensatedDot.h"
#include "values/Scalar.h"
#include "values/SpareThread.h"

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

// Products of at least this many multiplications (some 50 µs of work on
// one core; waking the spare thread costs a few) share their rows with the
// spare thread.
constexpr double kSharedProductSize = 3e5;

// The right factor's columns are taken in blocks of about this many bytes,
// which stay in a core's own cache while the rows of the left factor pass
// over them.
constexpr std::size_t kColumnBlockBytes = 384 * 1024;

// Columns of a block: a multiple of eight (the widest vector path's step).
int columnsPerBlock(const ProductColumns& columns) {
  const std::size_t pairBytes = std::max<std::size_t>(1, columns.quads() * 8 * sizeof(double));
  const std::size_t eights = std::max<std::size_t>(1, kColumnBlockBytes / pairBytes / 4);
  return int(std::min<std::size_t>(eights * 8, std::size_t(std::max(columns.cols(), 1))));
}

// Rows are handed out this many at a time: an even number, as the widest
// vector path takes rows in twos, and few enough that the rows and a group
// of columns stay in a core's first cache together.
constexpr int kRowsPerPiece = 4;

// The result is handed out a few rows of one column block at a time,
// blocks one after the other, to this thread and, for a large product, to
// the spare thread. Each element is the same dot product whichever thread
// computes it, so the result does not depend on the sharing. Only this
// thread polls for a stop; when it leaves (done, stopped, or failed) the
// spare thread stops taking pieces and is waited for before anything is
// freed.
void multiplyRows(const double* a, const ProductColumns& columns, int rows, double* out) {
  const int inner = columns.inner();
  const int cols = columns.cols();
  const int perBlock = columnsPerBlock(columns);
  const int blocks = (cols + perBlock - 1) / perBlock;
  const int bands = (rows + kRowsPerPiece - 1) / kRowsPerPiece;
  const long long pieces = (long long)(bands) * blocks;
  std::atomic<long long> nextPiece{0};
  std::atomic<bool> abandoned{false};
  const auto takePieces = [&](bool polls) {
    for (long long piece; (piece = nextPiece.fetch_add(1)) < pieces;) {
      if (polls) pollStop();
      if (abandoned.load(std::memory_order_relaxed)) return;
      const int row = int(piece % bands) * kRowsPerPiece;
      const int first = int(piece / bands) * perBlock;
      const int end = std::min(cols, first + perBlock);
      rowsTimesColumnRange(a + std::size_t(row) * inner, std::min(kRowsPerPiece, rows - row),
                           columns, first, end, out + std::size_t(row) * cols + first,
                           std::size_t(cols));
    }
  };
  if (double(rows) * inner * cols < kSharedProductSize) {
    takePieces(true);
    return;
  }
  shareWithSpareThread([&](bool onSpare) {
    if (onSpare) return takePieces(false);
    try {
      takePieces(true);
    } catch (...) {
      abandoned = true;
      throw;
    }
  });
}

}  // namespace

// The laid-out columns' storage is kept between products up to this many
// numbers: a fresh allocation comes from the system as pages not yet
// touched, and touching them costs as much as a 300×300 product on some
// machines.
constexpr std::size_t kKeptColumnStorage = std::size_t(1) << 22;

// The product as a matrix, whatever its size. B's columns are laid out
// first, so that every element is a dot product of numbers lying in memory
// one after the other; a stop is honoured between two pieces of the result.
std::unique_ptr<Matrix> productMatrix(const Matrix& a, const Matrix& b) {
  if (a.cols() != b.rows()) raise("Матричное произведение не определено");
  // Every element is written below (or the result is dropped on a stop).
  auto result = Matrix::createForOverwrite(a.rows(), b.cols());
  thread_local ColumnStorage keptStorage;
  ProductColumns columns(b.data(), b.rows(), b.cols(), std::size_t(b.cols()), 1,
                         std::move(keptStorage));
  if (a.rows() > 0 && b.cols() > 0) multiplyRows(a.data(), columns, a.rows(), result->data());
  keptStorage = std::move(columns).releaseStorage();
  if (keptStorage.capacity > kKeptColumnStorage) keptStorage = {};
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
