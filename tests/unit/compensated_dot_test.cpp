// The matrix product's dot products: exact to the last bit where a plain
// long double sum is not, and infinities and NaNs as a plain sum gives them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "values/CompensatedDot.h"

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

}  // namespace
}  // namespace tesmora
