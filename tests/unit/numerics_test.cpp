// The numeric routines behind det, chol, sint, iSimpson and root, checked
// against values known in closed form.
#include "builtins/Numerics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace tesmora {
namespace {

const double kPi = std::acos(-1.0);

struct DeterminantCase {
  const char* what;
  int n;
  std::vector<double> a;
  double expected;
  double tolerance;
};

TEST(Numerics, Determinant) {
  const DeterminantCase cases[] = {
      {"1x1 is its element", 1, {-5}, -5, 0},
      {"2x2", 2, {1, 2, 3, 4}, -2, 1e-12},
      {"row swap flips the sign", 2, {0, 1, 1, 0}, -1, 0},
      {"zero pivot needs a swap", 3, {0, 1, 2, 1, 0, 3, 4, -3, 8}, -2, 1e-12},
      {"singular", 2, {1, 2, 2, 4}, 0, 0},
      {"singular 3x3", 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}, 0, 1e-12},
      {"negligible pivot", 1, {1e-301}, 0, 0},
      {"triangular", 3, {2, 7, -1, 0, 3, 5, 0, 0, -4}, -24, 1e-12},
      {"empty", 0, {}, 1, 0},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(determinant(c.a, c.n), c.expected, c.tolerance) << c.what;
  }
}

// Gaussian elimination row by row over whole rows, as det was first
// written: the vector kernel must give its bits.
double rowByRowDeterminant(std::vector<double> a, int n) {
  double result = 1;
  for (int k = 0; k < n; ++k) {
    int p = k;
    for (int r = k + 1; r < n; ++r) {
      if (std::fabs(a[r * n + k]) > std::fabs(a[p * n + k])) p = r;
    }
    if (!(std::fabs(a[p * n + k]) >= 1e-300)) return 0;
    if (p != k) {
      for (int c = 0; c < n; ++c) std::swap(a[p * n + c], a[k * n + c]);
      result = -result;
    }
    const double pivot = a[k * n + k];
    result *= pivot;
    for (int c = k; c < n; ++c) a[k * n + c] /= pivot;
    for (int r = k + 1; r < n; ++r) {
      const double factor = a[r * n + k];
      for (int c = k; c < n; ++c) a[r * n + c] -= factor * a[k * n + c];
    }
  }
  return result;
}

TEST(Numerics, DeterminantHasTheBitsOfRowByRowElimination) {
  std::mt19937_64 random(17);
  std::uniform_real_distribution<double> uniform(-1, 1);
  const double inf = std::numeric_limits<double>::infinity();
  for (int n : {1, 2, 3, 8, 9, 17, 40, 120}) {
    for (int kind = 0; kind < 4; ++kind) {
      std::vector<double> a(static_cast<std::size_t>(n) * n);
      for (int i = 0; i < n * n; ++i) {
        const double x = uniform(random);
        a[i] = kind == 0   ? x
               : kind == 1 ? (random() % 3 ? 0.0 : x)                  // sparse
               : kind == 2 ? (random() % 50 ? x * (1 + (i % (n + 1) == 0) * 4) : inf)
                           : (i / n == 3 && n > 4 ? a[2 * n + i % n] : x);  // two equal rows
      }
      const double expected = rowByRowDeterminant(a, n);
      const double got = determinant(a, n);
      if (std::isnan(expected)) {
        EXPECT_TRUE(std::isnan(got)) << "n=" << n << " kind " << kind;
      } else {
        EXPECT_EQ(std::memcmp(&got, &expected, sizeof got), 0)
            << "n=" << n << " kind " << kind << ": " << got << " vs " << expected;
      }
    }
  }
}

struct CholeskyCase {
  const char* what;
  int n;
  std::vector<double> a;
  bool factorable;
  std::vector<double> u;
};

TEST(Numerics, CholeskyUpper) {
  const CholeskyCase cases[] = {
      {"2x2", 2, {4, 2, 2, 3}, true, {2, 1, 0, std::sqrt(2.0)}},
      {"3x3", 3, {4, 2, 0, 2, 10, 3, 0, 3, 2}, true, {2, 1, 0, 0, 3, 1, 0, 0, 1}},
      {"zero matrix", 2, {0, 0, 0, 0}, true, {0, 0, 0, 0}},
      {"indefinite", 2, {1, 2, 2, 1}, false, {}},
      {"negative diagonal", 1, {-1}, false, {}},
      {"zero remainder dividing a non-zero value", 2, {0, 1, 1, 1}, false, {}},
  };
  for (const auto& c : cases) {
    std::vector<double> u;
    ASSERT_EQ(choleskyUpper(c.a, c.n, u), c.factorable) << c.what;
    if (!c.factorable) continue;
    ASSERT_EQ(u.size(), c.u.size()) << c.what;
    for (std::size_t i = 0; i < u.size(); ++i) EXPECT_NEAR(u[i], c.u[i], 1e-12) << c.what;
  }
}

struct SimpsonCase {
  const char* what;
  double (*f)(double);
  double a;
  double b;
  int n;
  double expected;
  double tolerance;
};

TEST(Numerics, Simpson) {
  const SimpsonCase cases[] = {
      {"sin, two intervals", [](double x) { return std::sin(x); }, 0, kPi, 2, 2 * kPi / 3, 1e-12},
      {"sin, fine", [](double x) { return std::sin(x); }, 0, kPi, 100, 2, 1e-7},
      {"exact for cubics", [](double x) { return x * x * x; }, 0, 2, 2, 4, 1e-12},
      {"reversed interval", [](double x) { return x; }, 1, 0, 4, -0.5, 1e-12},
      {"empty interval", [](double x) { return x; }, 3, 3, 2, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(simpson(c.f, c.a, c.b, c.n), c.expected, c.tolerance) << c.what;
  }
}

struct BisectionCase {
  const char* what;
  double (*residual)(double);
  double a;
  double b;
  double expected;
  double tolerance;
};

TEST(Numerics, Bisect) {
  const BisectionCase cases[] = {
      {"increasing", [](double x) { return x * x - 2; }, 0, 2, std::sqrt(2.0), 1e-12},
      {"decreasing", [](double x) { return std::cos(x); }, 0, 3, kPi / 2, 1e-12},
      {"ends given backwards", [](double x) { return x - 0.25; }, 1, 0, 0.25, 1e-12},
      {"root at the left end", [](double x) { return x; }, 0, 1, 0, 1e-12},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(bisect(c.residual, c.a, c.b, c.residual(c.a)), c.expected, c.tolerance)
        << c.what;
  }
}

TEST(Numerics, BisectStopsAtAnExactZero) {
  int calls = 0;
  const double x = bisect([&](double t) { ++calls; return t - 1; }, 0, 2, -1);
  EXPECT_EQ(x, 1);
  EXPECT_EQ(calls, 1);
}

TEST(Numerics, SameStrictSign) {
  EXPECT_TRUE(sameStrictSign(1, 2));
  EXPECT_TRUE(sameStrictSign(-1, -2));
  EXPECT_FALSE(sameStrictSign(1, -2));
  EXPECT_FALSE(sameStrictSign(0, 2));
  EXPECT_FALSE(sameStrictSign(-1, 0));
}

}  // namespace
}  // namespace tesmora
