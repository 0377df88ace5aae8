// The special functions against independently known values: Python's
// math.lgamma, math.factorial and math.comb, and the Kolmogorov series
// summed to convergence at high precision. The tolerances allow for the
// Lanczos approximation (about 1e-10 relative) and nothing more.
#include "builtins/GammaFunctions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "interp/Errors.h"
#include "text/Cp1251.h"

namespace tesmora {
namespace {

struct Case {
  double x;
  double expected;
  double tolerance;
};

struct Case2 {
  double a;
  double b;
  double expected;
  double tolerance;
};

// The message (UTF-8) that `call` raises, or "" when it raises none.
std::string raisedBy(const std::function<void()>& call) {
  try {
    call();
  } catch (const ScriptError& error) {
    return error.message;
  }
  return "";
}

TEST(GammaFunctions, LngammaMatchesTheLogGamma) {
  const Case cases[] = {
      {0.001, 6.907178885383854, 1e-9},  {0.5, 0.5723649429247004, 1e-9},
      {1, 0, 1e-9},                      {1.5, -0.12078223763524543, 1e-9},
      {2.5, 0.2846828704729196, 1e-9},   {10, 12.801827480081467, 1e-9},
      {100, 359.1342053695754, 1e-8},    {171.5, 709.1431630309282, 1e-8},
  };
  for (const Case& c : cases) EXPECT_NEAR(lngammaOf(c.x), c.expected, c.tolerance) << c.x;
}

TEST(GammaFunctions, GammaMatchesTheGammaFunction) {
  const Case cases[] = {
      {0.5, 1.7724538509055159, 1e-9},  // √π to about ten digits
      {1, 1, 1e-9},
      {1.5, 0.886226925452758, 1e-9},
      {10, 362880, 362880 * 1e-9},
      {0.001, 999.4237724845954, 1e-6},
      {100, 9.332621544394415e+155, 9.332621544394415e+155 * 1e-8},
  };
  for (const Case& c : cases) EXPECT_NEAR(gammaOf(c.x), c.expected, c.tolerance) << c.x;
}

TEST(GammaFunctions, GammaRejectsNonPositiveArguments) {
  for (const double x : {0.0, -0.5, -3.0}) {
    EXPECT_EQ(raisedBy([&] { gammaOf(x); }), cp("gamma: недопустиное значение аргумента"));
    EXPECT_EQ(raisedBy([&] { lngammaOf(x); }),
              cp("lngamma: недопустиное значение аргумента"));
  }
}

// Past about 171.6 the exponential overflows; the failure is the runtime's
// overflow of exp, which the laws turn into their degrees-of-freedom message.
TEST(GammaFunctions, GammaOverflowIsTheOverflowOfExp) {
  EXPECT_NEAR(gammaOf(171), 7.257415615307999e+306, 7.257415615307999e+306 * 1e-9);
  try {
    gammaOf(172);
    ADD_FAILURE() << "gamma(172) must overflow";
  } catch (const ScriptError& error) {
    EXPECT_EQ(error.message, cp("значение функции слишком велико"));
    EXPECT_EQ(error.subject, "exp");
  }
}

TEST(GammaFunctions, FactorialIsExactWhereDoublesAreExact) {
  const Case cases[] = {
      {0, 1, 0},        {1, 1, 0},     {2, 2, 0}, {5, 120, 0},
      {20, 2432902008176640000.0, 0},  // 20! still fits 53 bits times a power of 2
      {100, 9.332621544394415e+157, 9.332621544394415e+157 * 1e-15},
      {170, 7.257415615307999e+306, 7.257415615307999e+306 * 1e-15},
  };
  for (const Case& c : cases) EXPECT_NEAR(factorial(c.x), c.expected, c.tolerance) << c.x;
}

TEST(GammaFunctions, FactorialRejectsAllButIntegersFrom0To170) {
  for (const double n : {171.0, -1.0, 2.5, 1e300, std::nan("")}) {
    EXPECT_EQ(raisedBy([&] { factorial(n); }), cp("fa: недопустимое значение")) << n;
  }
}

TEST(GammaFunctions, FactorialLogarithmSumsLogarithms) {
  const Case cases[] = {
      {0, 0, 0},
      {1, 0, 0},
      {2, 0.693147180559945, 1e-14},
      {10, 15.104412573075514, 1e-12},
      {100, 363.73937555556347, 1e-10},
      {1000, 5912.128178488163, 1e-8},
  };
  for (const Case& c : cases) EXPECT_NEAR(lnfa(c.x), c.expected, c.tolerance) << c.x;
  for (const double n : {-1.0, 0.5, std::nan("")}) {
    EXPECT_EQ(raisedBy([&] { lnfa(n); }), cp("lnfa: недопустимое значение")) << n;
  }
}

TEST(GammaFunctions, FactorialLogarithmTableHoldsTheSameBits) {
  const std::vector<double> table = lnfaTable(300);
  ASSERT_EQ(table.size(), 301u);
  for (int k = 0; k <= 300; ++k) EXPECT_EQ(table[k], lnfa(k)) << k;
  EXPECT_EQ(raisedBy([] { lnfaTable(2.5); }), cp("lnfa: недопустимое значение"));
}

TEST(GammaFunctions, BinomialCoefficients) {
  const Case2 cases[] = {
      {5, 2, 10, 1e-12},
      {3, 5, 0, 0},  // n < k
      {10, 0, 1, 0},
      {10, 10, 1, 0},
      {52, 5, 2598960, 1e-6},
      {100, 50, 1.008913445455642e+29, 1.008913445455642e+29 * 1e-14},
      {170, 85, 9.144841845131556e+49, 9.144841845131556e+49 * 1e-14},
      {3.5, 5, 0, 0},  // n < k comes before the integer checks
  };
  for (const Case2& c : cases) {
    EXPECT_NEAR(binomial(c.a, c.b), c.expected, c.tolerance) << c.a << " " << c.b;
  }
}

TEST(GammaFunctions, BinomialChecks) {
  EXPECT_EQ(raisedBy([] { binomial(-1, -2); }), cp("cbin:  недопустимое значение"));
  EXPECT_EQ(raisedBy([] { binomial(5, -1); }), cp("fa: недопустимое значение"));
  EXPECT_EQ(raisedBy([] { binomial(5, 1.5); }), cp("fa: недопустимое значение"));
  EXPECT_EQ(raisedBy([] { binomial(171, 1); }), cp("fa: недопустимое значение"));
}

TEST(GammaFunctions, Beta) {
  const Case2 cases[] = {
      {2, 3, 0.08333333333333333, 1e-10},
      {0.5, 0.5, 3.1415926535897927, 1e-9},
      {2.5, 3.5, 0.03681553890925539, 1e-11},
  };
  for (const Case2& c : cases) EXPECT_NEAR(betaOf(c.a, c.b), c.expected, c.tolerance);
  EXPECT_EQ(raisedBy([] { betaOf(0, 1); }), cp("lngamma: недопустиное значение аргумента"));
  EXPECT_EQ(raisedBy([] { betaOf(1, -1); }), cp("lngamma: недопустиное значение аргумента"));
}

TEST(GammaFunctions, KolmogorovTail) {
  const Case cases[] = {
      // Below 1.18 the small-x form: a probability, 1 at 0 (the alternating
      // series gave 2 there and more than 1 below about 0.12).
      {0, 1, 0},
      {0.01, 1, 1e-16},
      {0.05, 1, 1e-16},
      {0.1, 1, 1e-16},
      {0.2, 0.999999999999495, 1e-15},
      {0.3, 0.99999069419866543, 1e-14},
      {1.17, 0.12939004218561884, 1e-14},
      {1.18, 0.1234538094297657, 1e-14},
      {1.19, 0.11774229287977166, 1e-14},
      {0.5, 0.96394524366487509, 1e-14},
      {1, 0.26999967167735452, 1e-14},
      {1.36, 0.049485876755377884, 1e-14},
      {2, 0.00067092525577969535, 1e-16},
      {3.5, 4.5794696912911058e-11, 1e-20},
      {4, 2.5328331098188351e-14, 1e-24},
      {4.0000001, 0, 0},
      {5, 0, 0},
  };
  for (const Case& c : cases) EXPECT_NEAR(kolmogorovQ(c.x), c.expected, c.tolerance) << c.x;
  EXPECT_EQ(raisedBy([] { kolmogorovQ(-0.1); }), cp("pvKolm: недопустимое значение аргумента"));
}

TEST(GammaFunctions, KolmogorovCriticalValues) {
  // 50 halvings of [0, 4] leave an interval of 4·2^-50; near level 1 the
  // tail is so flat that the rounding of Q itself limits the root.
  const Case cases[] = {
      {0.05, 1.3580986393225506, 1e-12},  {0.01, 1.6276236115189503, 1e-12},
      {0.2, 1.072749174939648, 1e-12},    {0.5, 0.82757355518990769, 1e-12},
      {0.999999, 0.27753935399887278, 1e-9}, {1e-6, 2.6933861344527096, 1e-12},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(kolmogorovCritical(c.x), c.expected, c.tolerance) << c.x;
  }
}

TEST(GammaFunctions, KolmogorovCriticalChecks) {
  for (const double alpha : {0.0, 9.9e-7, 0.9999991, 1.0, -1.0}) {
    EXPECT_EQ(raisedBy([&] { kolmogorovCritical(alpha); }),
              cp("crKolm: недопустимое значение аргумента"))
        << alpha;
  }
  EXPECT_EQ(raisedBy([] { kolmogorovCritical(std::nan("")); }), cp("crKolm: ошибка"));
}

}  // namespace
}  // namespace tesmora
