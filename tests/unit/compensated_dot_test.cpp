// The matrix product's dot products: exact to the last bit where a plain
// long double sum is not, and infinities and NaNs as a plain sum gives them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "values/CompensatedDot.h"
#include "values/MatrixAlgebra.h"

namespace tesmora {
namespace {

double dot(const std::vector<double>& a, const std::vector<double>& b) {
  double out = 0;
  rowTimesRows(a.data(), b.data(), static_cast<int>(a.size()), 1, &out);
  return out;
}

TEST(CompensatedDot, SpecialSums) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    std::vector<double> a, b;
    double expected;
  };
  const Case cases[] = {
      {{}, {}, 0},
      {{3}, {4}, 12},
      {{1e20, 1, -1e20}, {1, 1, 1}, 1},          // long double loses the 1
      {{1e30, 1e-30, -1e30, 5}, {1, 1, 1, 1}, 5 + 1e-30},
      {{0.1, 0.2, 0.3}, {10, 10, 10}, 6},
      {{1e308, 1e308}, {10, -10}, 0},            // overflow on the way: plain sum
      {{1e308, 1e308}, {10, 10}, inf},
      {{inf, 1}, {1, 1}, inf},
      {{1e300, 1e-300, 3}, {1e8, 1e300, 1}, 1e308 + 4},
  };
  for (const Case& c : cases) EXPECT_EQ(dot(c.a, c.b), c.expected) << c.a.size();
  EXPECT_TRUE(std::isnan(dot({inf, 1}, {0, 1})));
  EXPECT_TRUE(std::isnan(dot({inf, -inf}, {1, 1})));
}

// Every length from 0 to 40 (each tail of the four-lane loop, each block of
// rows) against the sum rounded once from 113-bit precision, where products
// of doubles are exact; the vector path and the portable path agree to the
// bit.
TEST(CompensatedDot, RoundsTheExactSumOnce) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> uniform(-1, 1);
  for (int n = 0; n <= 40; ++n) {
    for (int rows = 1; rows <= 6; ++rows) {
      std::vector<double> a(n), b(static_cast<std::size_t>(n) * rows), out(rows);
      for (double& x : a) x = uniform(random) * std::ldexp(1, static_cast<int>(random() % 40));
      for (double& x : b) x = uniform(random);
      rowTimesRows(a.data(), b.data(), n, rows, out.data());
      std::vector<double> portable(rows);
      rowTimesRowsPortable(a.data(), b.data(), n, rows, portable.data());
      for (int j = 0; j < rows; ++j) {
        EXPECT_EQ(out[j], portable[j]) << "n=" << n << " row " << j;
        __float128 exact = 0;
        for (int k = 0; k < n; ++k) exact += static_cast<__float128>(a[k]) * b[j * n + k];
        EXPECT_EQ(out[j], static_cast<double>(exact)) << "n=" << n << " row " << j;
      }
    }
  }
}

bool sameBits(double x, double y) { return std::memcmp(&x, &y, sizeof x) == 0; }

// Every vector path the machine has against the portable one, on lengths
// and column counts around each vector width (quads, pairs, blocks of four
// and eight columns), on three rows (two taken together, one alone, as
// the widest path does) and on numbers that test the error-free additions:
// exact cancellations (|s| = |p| with opposite signs), signed zeros, a wide
// range of exponents. Non-finite sums must be non-finite on every path (the
// plain sum replaces them afterwards). Where products underflow, the
// portable path's split is no longer exact, unlike a fused multiply-add:
// there the vector paths are held to each other.
TEST(CompensatedDot, EveryPathGivesThePortableBits) {
  std::mt19937_64 random(29);
  std::uniform_real_distribution<double> uniform(-1, 1);
  const double inf = std::numeric_limits<double>::infinity();
  const double small[] = {1, -1, 2, -2, 0.5, -0.5, 0.0, -0.0, 3, -3};
  using Draw = std::function<double()>;
  struct Kind {
    const char* name;
    Draw draw;
    bool splitExact;
  };
  const Kind kinds[] = {
      {"random", [&] { return uniform(random) * std::ldexp(1, int(random() % 40)); }, true},
      {"cancelling", [&] { return small[random() % 10]; }, true},
      {"signed zeros", [&] { return random() % 3 ? (random() % 2 ? 0.0 : -0.0) : uniform(random); },
       true},
      {"wide range", [&] { return uniform(random) * std::ldexp(1, int(random() % 900) - 450); },
       true},
      {"non-finite", [&] {
         const auto pick = random() % 40;
         return pick == 0 ? inf : pick == 1 ? -inf : pick == 2 ? std::nan("") : uniform(random);
       }, true},
      {"underflowing", [&] { return uniform(random) * std::ldexp(1, int(random() % 1200) - 600); },
       false},
      {"subnormal", [&] { return uniform(random) * std::ldexp(1, -1000 - int(random() % 60)); },
       false},
  };
  for (const Kind& kind : kinds) {
    const DotPath reference = kind.splitExact ? DotPath::portable : DotPath::avx2;
    if (!dotPathAvailable(reference)) continue;
    constexpr int kRows = 3;
    for (int inner : {0, 1, 3, 5, 7, 8, 9, 17, 63, 300}) {
      for (int cols : {1, 2, 3, 5, 7, 8, 9, 17, 63, 300}) {
        std::vector<double> a(static_cast<std::size_t>(inner) * kRows);
        std::vector<double> b(static_cast<std::size_t>(inner) * cols);
        for (double& x : a) x = kind.draw();
        for (double& x : b) x = kind.draw();
        const ProductColumns columns(b.data(), inner, cols, 1, static_cast<std::size_t>(inner));
        std::vector<double> expected(static_cast<std::size_t>(cols) * kRows), fast(expected.size());
        for (int r = 0; r < kRows; ++r) {
          rowTimesColumnsOn(reference, a.data() + r * inner, columns, expected.data() + r * cols);
        }
        for (DotPath path : {DotPath::avx512, DotPath::avx2}) {
          if (path == reference || !dotPathAvailable(path)) continue;
          rowsTimesColumnsOn(path, a.data(), kRows, columns, fast.data());
          int differing = 0;
          for (std::size_t j = 0; j < expected.size(); ++j) {
            if (std::isfinite(expected[j]) || std::isfinite(fast[j])) {
              differing += !sameBits(fast[j], expected[j]);
            }
          }
          EXPECT_EQ(differing, 0) << kind.name << " path " << static_cast<int>(path)
                                  << " inner=" << inner << " cols=" << cols;
        }
      }
    }
  }
}

// The product, whichever thread computes which piece and however its
// columns are split into blocks, has the bits of rowTimesColumns element
// by element. Products follow one another as they come, so a product's
// padding must not take over the infinities left by the one before: those
// would send elements to the plain sum, which loses what 1e20 − 1e20
// leaves.
TEST(CompensatedDot, ProductEqualsItsRowsOneByOne) {
  std::mt19937_64 random(5);
  std::uniform_real_distribution<double> uniform(-1, 1);
  struct Shape {
    int rows, inner, cols;
    bool infinities;
  };
  const Shape shapes[] = {
      {40, 301, 41, true},    {5, 7, 3, false},        {1, 300, 1, false},
      {300, 1, 300, false},   {130, 140, 150, false},  // shared with a second thread
      {20, 300, 1000, false},  // several column blocks, the last one short
      {64, 1100, 70, false},   // blocks of eight columns
  };
  const auto cancelling = [](Matrix& a, Matrix& b) {
    if (a.cols() < 3) return;
    for (int r = 0; r < a.rows(); ++r) {
      a.at(r, 0) = 1e20;
      a.at(r, 2) = -1e20;
    }
    for (int c = 0; c < b.cols(); ++c) b.at(0, c) = b.at(2, c) = 1;
  };
  for (const Shape& shape : shapes) {
    auto a = Matrix::createUnbounded(shape.rows, shape.inner);
    auto b = Matrix::createUnbounded(shape.inner, shape.cols);
    for (int i = 0; i < a->count(); ++i) (*a)[i] = uniform(random);
    for (int i = 0; i < b->count(); ++i) {
      (*b)[i] = shape.infinities && i % 3 == 0 ? std::numeric_limits<double>::infinity()
                                               : uniform(random);
    }
    if (!shape.infinities) cancelling(*a, *b);
    const auto product = productMatrix(*a, *b);
    const ProductColumns columns(b->data(), shape.inner, shape.cols,
                                 static_cast<std::size_t>(shape.cols), 1);
    std::vector<double> row(shape.cols);
    int differing = 0;
    for (int r = 0; r < shape.rows; ++r) {
      rowTimesColumns(&a->at(r, 0), columns, row.data());
      for (int c = 0; c < shape.cols; ++c) {
        differing += !sameBits(product->at(r, c), row[c]) &&
                     !(std::isnan(product->at(r, c)) && std::isnan(row[c]));
      }
    }
    EXPECT_EQ(differing, 0) << shape.rows << "×" << shape.inner << "×" << shape.cols;
  }
}

}  // namespace
}  // namespace tesmora
