// The long-only mean-variance frontier traced by corner portfolios, checked
// against frontiers found independently by trying every set of held assets
// (the smallest variance over all supports whose KKT solution is feasible),
// and the misuse messages of the small dense toolkit.
#include "builtins/Portfolio.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "interp/Errors.h"
#include "text/Cp1251.h"

namespace tesmora {
namespace {

Dense denseOf(int n, std::vector<double> values) {
  Dense d(n, static_cast<int>(values.size()) / n);
  d.a = std::move(values);
  return d;
}

struct FrontierCase {
  const char* what;
  std::vector<double> r;
  std::vector<double> c;
  // Target returns with the least standard deviation of a long-only
  // portfolio of that return.
  std::vector<std::pair<double, double>> points;
  double leastDeviation;
  double leastReturn;
};

TEST(Portfolio, FrontierPointsMatchTheBestPortfolioOfEachReturn) {
  const FrontierCase cases[] = {
      {"three assets, all held inside",
       {0.12, 0.10, 0.07},
       {0.09, 0.02, 0.01, 0.02, 0.0625, 0.005, 0.01, 0.005, 0.0225},
       {{0.12, 0.3},
        {0.115, 0.24906073556464098},
        {0.11, 0.21853824412085479},
        {0.1, 0.17680955909091278},
        {0.095, 0.1596107690901894},
        {0.085, 0.13721826139993243},
        {0.08, 0.13404524419031003},
        {0.075, 0.13693063937629155},
        {0.07, 0.15}},
       0.134043441037,
       0.079878665319},
      {"four assets, the riskiest leaves on the lower branch",
       {0.15, 0.11, 0.08, 0.05},
       {0.16, 0.06, 0.02, 0.0, 0.06, 0.05, 0.01, 0.002, 0.02, 0.01, 0.03, 0.001, 0.0, 0.002,
        0.001, 0.01},
       {{0.15, 0.4},
        {0.13, 0.28722813232690142},
        {0.11, 0.20112676947917682},
        {0.09, 0.1379852612350497},
        {0.07, 0.093316411325518892},
        {0.05, 0.1}},
       0.086845509203026777,
       0.060929853181076687},
  };
  for (const auto& c : cases) {
    const int n = static_cast<int>(c.r.size());
    const Dense cov = denseOf(n, c.c);
    const auto corners = traceCorners(c.r, cov);
    ASSERT_GE(corners.size(), 2u) << c.what;
    for (const auto& corner : corners) {
      double total = 0;
      for (const double w : corner.weights) {
        EXPECT_GE(w, -1e-12) << c.what;
        total += w;
      }
      EXPECT_NEAR(total, 1, 1e-12) << c.what;
    }
    for (std::size_t i = 1; i < corners.size(); ++i) {
      EXPECT_LT(corners[i].lambda, corners[i - 1].lambda - kEventMargin) << c.what;
    }
    for (const auto& [target, deviation] : c.points) {
      const FrontierPoint p = pointOfReturn(corners, cov, target);
      EXPECT_NEAR(p.expectedReturn, target, 1e-12) << c.what << " at " << target;
      EXPECT_NEAR(std::sqrt(p.variance), deviation, 1e-9) << c.what << " at " << target;
    }
    const FrontierPoint least = minimumVariance(corners, cov);
    EXPECT_NEAR(least.lambda, 0, 0) << c.what;
    EXPECT_NEAR(std::sqrt(least.variance), c.leastDeviation, 1e-9) << c.what;
    EXPECT_NEAR(least.expectedReturn, c.leastReturn, 1e-9) << c.what;
  }
}

TEST(Portfolio, TwoAssetCornersLieWhereTheOtherAssetEntersAndLeaves) {
  // The second asset enters at λ = (C11 − C12)/(r1 − r2) = 0.68; the first
  // leaves where its weight ((C22 − C12) + λ(r1 − r2))/(C11 + C22 − 2C12)
  // reaches 0: λ = −0.08.
  const Dense cov = denseOf(2, {0.04, 0.006, 0.006, 0.01});
  const auto corners = traceCorners({0.1, 0.05}, cov);
  ASSERT_EQ(corners.size(), 2u);
  EXPECT_NEAR(corners[0].lambda, 0.68, 1e-12);
  EXPECT_NEAR(corners[1].lambda, -0.08, 1e-12);
  EXPECT_NEAR(corners[0].weights[0], 1, 1e-12);
  EXPECT_NEAR(corners[1].weights[1], 1, 1e-12);
  EXPECT_EQ(corners[0].held, 1);
  EXPECT_EQ(corners[1].held, 2);
  EXPECT_NEAR(minimumVariance(corners, cov).weights[0], 0.004 / 0.038, 1e-12);
  // Between the corners the variance is c2·R² + c1·R + c0.
  const SegmentShape shape = segmentShape(corners[0], corners[1], cov);
  const FrontierPoint mid = pointOfReturn(corners, cov, 0.08);
  EXPECT_NEAR(shape.c2 * 0.08 * 0.08 + shape.c1 * 0.08 + shape.c0, mid.variance, 1e-14);
  EXPECT_NEAR(shape.slope[0], 1 / 0.05, 1e-9);
}

TEST(Portfolio, OneAssetIsItsOwnFrontier) {
  const auto corners = traceCorners({0.2}, denseOf(1, {0.5}));
  ASSERT_EQ(corners.size(), 1u);
  EXPECT_EQ(corners[0].weights[0], 1);
  EXPECT_EQ(corners[0].variance, 0.5);
}

TEST(Portfolio, SingularHeldCovarianceIsDegenerate) {
  // A riskless asset: once it enters beside a risky one, the held assets'
  // covariance has no inverse. A riskless single asset is singular at once.
  EXPECT_THROW(traceCorners({0.1, 0.05}, denseOf(2, {0.04, 0, 0, 0})), DegenerateFrontier);
  EXPECT_THROW(traceCorners({0.1}, denseOf(1, {0})), DegenerateFrontier);
}

std::string messageOf(void (*call)()) {
  try {
    call();
  } catch (const ScriptError& e) {
    return e.message;
  }
  return "no error";
}

TEST(Portfolio, ToolkitMisuseIsReported) {
  EXPECT_EQ(messageOf([] { product(Dense(2, 3), Dense(2, 3)); }),
            cp("некорректный вызов Product"));
  EXPECT_EQ(messageOf([] { scalProduct(Dense(2, 1), Dense(3, 1)); }),
            cp("некорректный вызов ScalProduct"));
  EXPECT_EQ(messageOf([] { subMatrix(Dense(2, 2), {0, 2}, {0}); }),
            cp("опасный вызов SubMatr"));
  EXPECT_EQ(messageOf([] { indicesAbove(Dense(2, 2), 0); }), cp("Опасный вызов IndPos"));
  Dense v(1, 4);
  v.a = {0.5, -1, 0, 2};
  EXPECT_EQ(indicesAbove(v, 0), (std::vector<int>{0, 3}));
}

}  // namespace
}  // namespace tesmora
