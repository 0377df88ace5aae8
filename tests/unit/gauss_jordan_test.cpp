// The blocked inverse against textbook Gauss–Jordan elimination, bit for
// bit (block and tile edges, signed zeros, infinities, the shared and the
// single-threaded sizes); known inverses and A·A⁻¹ ≈ E for ill-conditioned
// matrices; the singular cases and their message; the vector elimination
// kernel against the portable one.
#include <gtest/gtest.h>

#include "ScriptErrorMessage.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "interp/Errors.h"
#include "text/Cp1251.h"
#include "values/EliminationKernel.h"
#include "values/MatrixAlgebra.h"

namespace tesmora {
namespace {

const double kInf = std::numeric_limits<double>::infinity();

std::unique_ptr<Matrix> matrixOf(int n, const std::function<double(int, int)>& f) {
  auto m = Matrix::createUnbounded(n, n);
  for (int r = 0; r < n; ++r) {
    for (int c = 0; c < n; ++c) m->at(r, c) = f(r, c);
  }
  return m;
}

// Gauss–Jordan on A and E side by side, whole rows at every step; null
// where a pivot column's largest magnitude is below 1e-300.
std::unique_ptr<Matrix> textbookInverse(const Matrix& m) {
  const int n = m.rows();
  auto a = m.duplicate();
  auto r = identityMatrix(n);
  for (int j = 0; j < n; ++j) {
    int best = j;
    for (int k = j + 1; k < n; ++k) {
      if (std::fabs(a->at(k, j)) > std::fabs(a->at(best, j))) best = k;
    }
    if (!(std::fabs(a->at(best, j)) >= 1e-300)) return nullptr;
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

// The same bits, or NaN for NaN (whose payload the operand order decides).
bool sameNumber(double x, double y) {
  if (std::isnan(x) || std::isnan(y)) return std::isnan(x) && std::isnan(y);
  return std::memcmp(&x, &y, sizeof x) == 0;
}

TEST(GaussJordan, SameBitsAsTheTextbookElimination) {
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> uniform(-1, 1);
  using Fill = std::function<double(int, int)>;
  struct Kind {
    const char* name;
    Fill fill;
  };
  const Kind kinds[] = {
      {"random", [&](int, int) { return uniform(random); }},
      {"signed zeros", [&](int, int) {
         const auto pick = random() % 4;
         return pick == 0 ? 0.0 : pick == 1 ? -0.0 : uniform(random);
       }},
      {"sparse", [&](int r, int c) { return r == c || random() % 5 == 0 ? uniform(random) : 0.0; }},
      {"infinities", [&](int, int) { return random() % 60 == 0 ? kInf : uniform(random); }},
      {"dominant diagonal",
       [](int r, int c) { return std::sin((r + 1.0) * (c + 1)) + (r == c) * 50.0; }},
      {"wide range",
       [&](int, int) { return std::ldexp(uniform(random), int(random() % 200) - 100); }},
  };
  // Block edges (32 steps), tile edges (64 columns of the 2n-wide table),
  // the order where a second thread joins (160).
  for (int n : {1, 2, 3, 7, 8, 9, 31, 32, 33, 63, 64, 65, 100, 159, 161, 200}) {
    for (const Kind& kind : kinds) {
      const auto m = matrixOf(n, kind.fill);
      const auto expected = textbookInverse(*m);
      if (!expected) {
        EXPECT_EQ(messageOf([&] { inverseMatrix(*m); }), cp("обратная матрица не существует"))
            << kind.name << " n=" << n;
        continue;
      }
      const auto inverse = inverseMatrix(*m);
      int differing = 0;
      for (int i = 0; i < n * n; ++i) differing += !sameNumber((*inverse)[i], (*expected)[i]);
      EXPECT_EQ(differing, 0) << kind.name << " n=" << n;
    }
  }
}

TEST(GaussJordan, KnownInverses) {
  struct Case {
    const char* name;
    std::vector<double> m, inverse;
    double tolerance;
  };
  const Case cases[] = {
      {"1×1", {4}, {0.25}, 0},
      {"2×2", {2, 1, 1, 1}, {1, -1, -1, 2}, 1e-15},
      {"needs a swap", {0, 1, 1, 0}, {0, 1, 1, 0}, 0},
      {"permutation", {0, 0, 1, 1, 0, 0, 0, 1, 0}, {0, 1, 0, 0, 0, 1, 1, 0, 0}, 0},
      {"triangular", {1, 2, 3, 0, 1, 4, 0, 0, 1}, {1, -2, 5, 0, 1, -4, 0, 0, 1}, 1e-15},
      // Hilbert matrix of order 4 (cond ≈ 1.6e4) and its integer inverse.
      {"Hilbert 4",
       {1, 1. / 2, 1. / 3, 1. / 4, 1. / 2, 1. / 3, 1. / 4, 1. / 5, 1. / 3, 1. / 4, 1. / 5, 1. / 6,
        1. / 4, 1. / 5, 1. / 6, 1. / 7},
       {16, -120, 240, -140, -120, 1200, -2700, 1680, 240, -2700, 6480, -4200, -140, 1680,
        -4200, 2800},
       1e-9},
  };
  for (const Case& c : cases) {
    const int n = static_cast<int>(std::lround(std::sqrt(c.m.size())));
    const auto inverse = inverseMatrix(*matrixOf(n, [&](int r, int k) { return c.m[r * n + k]; }));
    for (int i = 0; i < n * n; ++i) {
      EXPECT_NEAR((*inverse)[i], c.inverse[i], c.tolerance * std::fabs(c.inverse[i]) + c.tolerance)
          << c.name << " element " << i;
    }
  }
}

double normInf(const Matrix& m) {
  double norm = 0;
  for (int r = 0; r < m.rows(); ++r) {
    double sum = 0;
    for (int c = 0; c < m.cols(); ++c) sum += std::fabs(m.at(r, c));
    norm = std::max(norm, sum);
  }
  return norm;
}

// max |A·A⁻¹ − E| stays within n·2⁻⁵³·‖A‖·‖A⁻¹‖ (infinity norms), the
// residual of an inverse computed stably, for matrices from well to badly
// conditioned.
TEST(GaussJordan, ProductWithTheInverseIsTheIdentity) {
  struct Case {
    const char* name;
    int n;
    std::function<double(int, int)> fill;
  };
  const Case cases[] = {
      {"Hilbert 8", 8, [](int r, int c) { return 1.0 / (r + c + 1); }},
      {"Vandermonde 12", 12, [](int r, int c) { return std::pow(1 + r / 11.0, c); }},
      {"sin 300 + 300·E", 300,
       [](int r, int c) { return std::sin((r + 1.0) * (c + 1)) + (r == c) * 300.0; }},
      {"sin 200", 200, [](int r, int c) { return std::sin((r + 1.0) * (c + 1) + 0.5); }},
  };
  for (const Case& c : cases) {
    const auto m = matrixOf(c.n, c.fill);
    const auto inverse = inverseMatrix(*m);
    const auto product = productMatrix(*m, *inverse);
    double worst = 0;
    for (int r = 0; r < c.n; ++r) {
      for (int k = 0; k < c.n; ++k) {
        worst = std::max(worst, std::fabs(product->at(r, k) - (r == k)));
      }
    }
    const double bound = c.n * std::ldexp(1, -53) * normInf(*m) * normInf(*inverse);
    EXPECT_LT(worst, bound) << c.name;
    EXPECT_GT(bound, 1e-14) << c.name;  // the case is not trivially exact
  }
}

TEST(GaussJordan, SingularMatricesAndTheirMessage) {
  const auto nan = std::numeric_limits<double>::quiet_NaN();
  // Zeros, a zero column, a zero row, a pivot below 1e-300, a NaN pivot.
  const std::function<double(int, int)> singular[] = {
      [](int, int) { return 0.0; },
      [](int r, int c) { return c == 5 ? 0.0 : std::sin(r + 2.0 * c) + (r == c); },
      [](int r, int c) { return r == 50 ? 0.0 : std::sin(r + 2.0 * c) + (r == c); },
      [](int r, int c) { return r == c ? (r == 40 ? 1e-301 : 1.0) : 0.0; },
      [&](int r, int c) { return r == c ? (r == 70 ? nan : 1.0) : 0.0; },
  };
  for (const auto& fill : singular) {
    EXPECT_EQ(messageOf([&] { inverseMatrix(*matrixOf(80, fill)); }),
              cp("обратная матрица не существует"));
  }
  // 1e-300 itself is still a pivot.
  const auto tiny = inverseMatrix(*matrixOf(3, [](int r, int c) { return (r == c) * 1e-300; }));
  EXPECT_EQ(tiny->at(1, 1), 1 / 1e-300);
  auto wide = Matrix::createUnbounded(2, 3);
  EXPECT_EQ(messageOf([&] { inverseMatrix(*wide); }), cp("неквадратная матрица"));
}

TEST(GaussJordan, VectorKernelMatchesThePortableOne) {
  std::mt19937_64 random(3);
  std::uniform_real_distribution<double> uniform(-2, 2);
  const double specials[] = {0.0, -0.0, kInf, -kInf, std::numeric_limits<double>::quiet_NaN(),
                             1e308, 5e-324};
  constexpr std::size_t kStride = 120;
  constexpr std::size_t kPStride = 70;
  for (int rows : {1, 3, 4, 5, 9}) {
    for (int steps : {0, 1, 5, 32}) {
      for (int width : {1, 3, 7, 8, 9, 17, 63, 64}) {
        std::vector<double> table(rows * kStride), p(std::max(steps, 1) * kPStride);
        for (double& x : table) x = random() % 25 == 0 ? specials[random() % 7] : uniform(random);
        for (double& x : p) x = random() % 25 == 0 ? specials[random() % 7] : uniform(random);
        std::vector<double> portable = table;
        // x in columns 40.., e in columns 0..
        subtractSteps(table.data() + 40, kStride, rows, table.data(), p.data(), kPStride, steps,
                      width);
        subtractStepsPortable(portable.data() + 40, kStride, rows, portable.data(), p.data(),
                              kPStride, steps, width);
        int differing = 0;
        for (std::size_t i = 0; i < table.size(); ++i) {
          differing += !sameNumber(table[i], portable[i]);
        }
        EXPECT_EQ(differing, 0) << rows << " rows, " << steps << " steps, width " << width;
      }
    }
  }
}

}  // namespace
}  // namespace tesmora
