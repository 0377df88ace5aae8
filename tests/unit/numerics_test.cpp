// The numeric routines behind det, chol, sint, iSimpson and root, checked
// against values known in closed form.
#include "builtins/Numerics.h"

#include <gtest/gtest.h>

#include <cmath>
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
