// The inverse by Gauss–Jordan elimination with partial pivoting, on [A | E]
// side by side, in blocks of pivot steps so that the numbers being updated
// stay in cache.
//
// Textbook elimination sweeps the whole n×2n table once per pivot step,
// which for a few hundred rows means streaming it from the outer caches n
// times. Here kBlockSteps pivot steps are first taken on their own columns
// (the panel), which is all the pivot search needs; every other column then
// receives those steps tile by tile while the tile sits in cache. Every
// element still undergoes the same operations in the same order as in the
// textbook elimination — the same swaps, the same x − e·p with the same e
// and p, the same divisions — so the inverse is the same to the bit. The
// only work left out is on columns of A left of the current pivot, which
// nothing reads again.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "interp/Cancellation.h"
#include "interp/Errors.h"
#include "values/EliminationKernel.h"
#include "values/MatrixAlgebra.h"
#include "values/TaskSharing.h"

namespace tesmora {
namespace {

constexpr int kBlockSteps = 32;
// Blocks up to this many steps are taken column by column.
constexpr int kNarrowPanel = 8;
// Columns of a tile: the tile of every row (n·kTileColumns numbers) stays
// in the core's own cache while it takes a block's steps.
constexpr int kTileColumns = 64;
// Below this order the second thread costs more than it saves.
constexpr int kSharedOrder = 160;

// [A | E] of order n, row by row.
class Table {
 public:
  explicit Table(const Matrix& m)
      : n_(m.rows()), stride_(2 * std::size_t(n_)), cells_(stride_ * n_) {
    for (int k = 0; k < n_; ++k) {
      std::copy(m.data() + std::size_t(k) * n_, m.data() + std::size_t(k + 1) * n_, row(k));
      row(k)[n_ + k] = 1;
    }
  }
  int order() const { return n_; }
  std::size_t stride() const { return stride_; }
  double* row(int k) { return cells_.data() + std::size_t(k) * stride_; }
  double& at(int k, int c) { return row(k)[c]; }

  void swapRows(int k, int l, int from, int to) {
    std::swap_ranges(row(k) + from, row(k) + to, row(l) + from);
  }

 private:
  int n_;
  std::size_t stride_;
  std::vector<double> cells_;
};

// A block of pivot steps [first, end): the row each step swapped in and the
// pivot it divided by. After the panel, column j of every row k ≠ j holds the
// multiplier e that step j used for that row (the number it had there before
// the step), carried along by the later swaps like the rest of the row.
struct Block {
  int first;
  int end;
  int swapped[kBlockSteps] = {};
  double pivot[kBlockSteps] = {};
};

// The block's steps on the columns [from, to) right of its panel. `scaled`
// receives, row after row, what each pivot row held there once divided
// (kTileColumns numbers a row): the p of every other row's x − e·p.
void updateTile(Table& t, const Block& block, int from, int to, double* scaled) {
  const int n = t.order();
  const int steps = block.end - block.first;
  const int width = to - from;
  // Both rows of a swap have taken the same earlier steps of the block, so
  // the swaps can all be made first.
  for (int s = 0; s < steps; ++s) {
    const int j = block.first + s;
    if (block.swapped[s] != j) t.swapRows(j, block.swapped[s], from, to);
  }
  // The pivot rows: the block's earlier steps, the division, then copied
  // out as the p of later steps; the later steps after all are known.
  for (int s = 0; s < steps; ++s) {
    double* x = t.row(block.first + s);
    subtractSteps(x + from, t.stride(), 1, x + block.first, scaled, kTileColumns, s, width);
    const double pivot = block.pivot[s];
    for (int c = 0; c < width; ++c) {
      x[from + c] /= pivot;
      scaled[std::size_t(s) * kTileColumns + c] = x[from + c];
    }
  }
  for (int s = 0; s + 1 < steps; ++s) {
    double* x = t.row(block.first + s);
    subtractSteps(x + from, t.stride(), 1, x + block.first + s + 1,
                  scaled + std::size_t(s + 1) * kTileColumns, kTileColumns, steps - s - 1,
                  width);
  }
  // Every other row takes all the block's steps in turn.
  const auto others = [&](int begin, int end) {
    if (begin >= end) return;
    double* x = t.row(begin);
    subtractSteps(x + from, t.stride(), end - begin, x + block.first, scaled, kTileColumns,
                  steps, width);
  };
  others(0, block.first);
  others(block.end, n);
}

// The steps of a narrow block on its own columns, exactly as the textbook
// elimination takes them there; raises where the matrix has no inverse.
void eliminateNarrowPanel(Table& t, Block& block) {
  const int n = t.order();
  for (int j = block.first; j < block.end; ++j) {
    pollStop();
    int best = j;
    for (int k = j + 1; k < n; ++k) {
      if (std::fabs(t.at(k, j)) > std::fabs(t.at(best, j))) best = k;
    }
    if (!(std::fabs(t.at(best, j)) >= 1e-300)) raise("обратная матрица не существует");
    t.swapRows(j, best, block.first, block.end);
    block.swapped[j - block.first] = best;
    const double pivot = t.at(j, j);
    block.pivot[j - block.first] = pivot;
    double* pivotRow = t.row(j);
    for (int c = j; c < block.end; ++c) pivotRow[c] /= pivot;
    for (int k = 0; k < n; ++k) {
      if (k == j) continue;
      double* x = t.row(k);
      const double e = x[j];
      for (int c = j + 1; c < block.end; ++c) x[c] -= e * pivotRow[c];
    }
  }
}

// The block's steps on its own columns: a wide block as its left half,
// the left half's steps on the right half's columns, then the right half,
// whose swaps also move the left half's multipliers. `scaled` as for
// updateTile.
void eliminatePanel(Table& t, Block& block, double* scaled) {
  const int steps = block.end - block.first;
  if (steps <= kNarrowPanel) {
    eliminateNarrowPanel(t, block);
    return;
  }
  const int middle = block.first + steps / 2;
  Block left{block.first, middle};
  Block right{middle, block.end};
  eliminatePanel(t, left, scaled);
  updateTile(t, left, middle, block.end, scaled);
  eliminatePanel(t, right, scaled);
  for (int s = 0; s < right.end - right.first; ++s) {
    const int j = right.first + s;
    if (right.swapped[s] != j) t.swapRows(j, right.swapped[s], block.first, middle);
  }
  const int leftSteps = middle - block.first;
  const int rightSteps = block.end - middle;
  std::copy(left.swapped, left.swapped + leftSteps, block.swapped);
  std::copy(left.pivot, left.pivot + leftSteps, block.pivot);
  std::copy(right.swapped, right.swapped + rightSteps, block.swapped + leftSteps);
  std::copy(right.pivot, right.pivot + rightSteps, block.pivot + leftSteps);
}

}  // namespace

std::unique_ptr<Matrix> inverseMatrix(const Matrix& m) {
  if (m.rows() != m.cols()) raise("неквадратная матрица");
  const int n = m.rows();
  auto result = Matrix::create(n, n);
  Table t(m);
  TaskSharing sharing(n >= kSharedOrder);
  std::vector<double> scaled(std::size_t(sharing.workers()) * kBlockSteps * kTileColumns);
  for (int first = 0; first < n; first += kBlockSteps) {
    Block block{first, std::min(n, first + kBlockSteps)};
    eliminatePanel(t, block, scaled.data());
    // Tiles start at the panel's right edge; the last may be narrower.
    const int start = block.end;
    const int count = (2 * n - start + kTileColumns - 1) / kTileColumns;
    sharing.run(count, [&](int tile, int worker) {
      const int from = start + tile * kTileColumns;
      const int to = std::min(2 * n, from + kTileColumns);
      updateTile(t, block, from, to,
                 scaled.data() + std::size_t(worker) * kBlockSteps * kTileColumns);
    });
  }
  for (int k = 0; k < n; ++k) std::copy(t.row(k) + n, t.row(k) + 2 * n, &result->at(k, 0));
  return result;
}

}  // namespace tesmora
