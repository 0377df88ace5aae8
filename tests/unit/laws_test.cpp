// Probability laws: distribution functions, densities, quantiles and
// moments against values known in closed form (normal through erf,
// Cauchy, Student with 2 and 3 degrees of freedom, F with n1 = 2, chi-square
// with 2 and 4 degrees of freedom, binomial coefficients), the discrete
// tables, and draws under a fixed seed.
#include <gtest/gtest.h>

#include "ScriptErrorMessage.h"

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "builtins/Registry.h"
#include "interp/Errors.h"
#include "text/Cp1251.h"
#include "values/LawsContinuous.h"
#include "values/LawsDiscrete.h"
#include "values/LawsSampling.h"
#include "values/LawsTwoPoint.h"
#include "values/Matrix.h"
#include "values/Random.h"
#include "values/Scalar.h"
#include "values/SuperMatrix.h"

namespace tesmora {
namespace {

struct PointCase {
  const char* what;
  std::function<double()> value;
  double expected;
  double tolerance;
};

void checkAll(const std::vector<PointCase>& cases) {
  for (const auto& c : cases) EXPECT_NEAR(c.value(), c.expected, c.tolerance) << c.what;
}

TEST(Laws, LaplaceFunction) {
  checkAll({
      {"0", [] { return laplacePhi0(0); }, 0, 0},
      {"1", [] { return laplacePhi0(1); }, 0.3413447460685429, 1e-10},
      {"-1.5", [] { return laplacePhi0(-1.5); }, -0.4331927987311419, 1e-10},
      {"3", [] { return laplacePhi0(3); }, 0.4986501019683699, 1e-10},
      {"6.9", [] { return laplacePhi0(6.9); }, 0.49999999999739986, 1e-10},
      {"beyond 7", [] { return laplacePhi0(7.5); }, 0.5, 0},
      {"beyond -7", [] { return laplacePhi0(-8); }, -0.5, 0},
  });
}

TEST(Laws, NormalLaw) {
  const CLawNorm standard(0, 1);
  const CLawNorm law(1, 2);
  checkAll({
      {"pl at the mean", [&] { return standard.pl(0); }, 0.5, 1e-15},
      {"pl(2) of N(1, 2)", [&] { return law.pl(2); }, 0.6914624612740131, 1e-10},
      {"pl(-3) of N(1, 2)", [&] { return law.pl(-3); }, 0.02275013194817921, 1e-10},
      {"pg = 1 - pl", [&] { return law.pg(2); }, 1 - 0.6914624612740131, 1e-10},
      {"pe of a continuous law", [&] { return law.pe(1); }, 0, 0},
      {"pgele is a difference of pl", [&] { return standard.pgele(-1, 1); }, 2 * 0.3413447460685429, 1e-10},
      {"den(2) of N(1, 2)", [&] { return law.den(2); }, 0.17603266338214976, 1e-12},
      {"invpl(0.975)", [&] { return standard.invpl(0.975); }, 1.959963984540054, 1e-8},
      {"invpl shifts and scales", [&] { return law.invpl(0.975); }, 1 + 2 * 1.959963984540054, 2e-8},
      {"q equals invpl", [&] { return law.q(0.3); }, law.invpl(0.3), 0},
      {"mean", [&] { return law.mean(); }, 1, 0},
      {"variance", [&] { return law.variance(); }, 4, 0},
      {"standard deviation", [&] { return law.stdDev(); }, 2, 0},
  });
  EXPECT_EQ(messageOf([&] { standard.invpl(0.9999999); }), cp("недопустимое значение аргумента"));
  EXPECT_EQ(messageOf([&] { standard.invpl(1e-7); }), cp("недопустимое значение аргумента"));
  EXPECT_EQ(messageOf([] { CLawNorm(0, 0); }), cp("недопустимый параметр нормального закона"));
}

TEST(Laws, UniformAndExponentialLaws) {
  const CLawUnifCont uniform(2, 6);
  const CExpLaw exponential(0.5);
  checkAll({
      {"uniform pl inside", [&] { return uniform.pl(3); }, 0.25, 1e-15},
      {"uniform pl below", [&] { return uniform.pl(1); }, 0, 0},
      {"uniform pl above", [&] { return uniform.pl(7); }, 1, 0},
      {"uniform den inside", [&] { return uniform.den(6); }, 0.25, 0},
      {"uniform den outside", [&] { return uniform.den(6.5); }, 0, 0},
      {"uniform invpl", [&] { return uniform.invpl(0.75); }, 5, 1e-15},
      {"uniform mean", [&] { return uniform.mean(); }, 4, 0},
      {"uniform variance", [&] { return uniform.variance(); }, 16.0 / 12, 1e-15},
      {"exponential pl", [&] { return exponential.pl(2); }, 1 - std::exp(-1.0), 1e-15},
      {"exponential pl at 0", [&] { return exponential.pl(0); }, 0, 0},
      {"exponential den", [&] { return exponential.den(2); }, 0.5 * std::exp(-1.0), 1e-15},
      {"exponential den below 0", [&] { return exponential.den(-1); }, 0, 0},
      {"exponential invpl", [&] { return exponential.invpl(1 - std::exp(-1.0)); }, 2, 1e-12},
      {"exponential mean", [&] { return exponential.mean(); }, 2, 0},
      {"exponential variance", [&] { return exponential.variance(); }, 4, 0},
  });
  EXPECT_EQ(messageOf([&] { uniform.invpl(1.5); }), cp("недопустимое значение вероятности"));
  EXPECT_EQ(messageOf([] { CLawUnifCont(3, 3); }),
            cp("недопустимые параметры равномерного распределения"));
  EXPECT_EQ(messageOf([] { CExpLaw(0); }), cp("explaw: недопустимый параметр"));
}

TEST(Laws, StudentLaw) {
  const CStudent cauchy(1);
  const CStudent two(2);
  const CStudent three(3);
  checkAll({
      {"t(1) pl(-2)", [&] { return cauchy.pl(-2); }, 0.14758361765043326, 2e-7},
      {"t(1) pl(1)", [&] { return cauchy.pl(1); }, 0.75, 2e-7},
      {"t(2) pl(1.5)", [&] { return two.pl(1.5); }, 0.8638034375544994, 2e-7},
      {"t(3) pl(2)", [&] { return three.pl(2); }, 0.9303370157205785, 2e-7},
      {"t(3) pl(-2) after pl(2)", [&] { return three.pl(-2); }, 1 - 0.9303370157205785, 2e-7},
      {"t(3) den(2)", [&] { return three.den(2); }, 0.06750966066389291, 1e-12},
      {"t(1) q(0.5)", [&] { return cauchy.q(0.5); }, 0, 0.001},
      {"t(1) q(0.75)", [&] { return cauchy.q(0.75); }, 1, 0.001},
      {"t(2) invpl", [&] { return two.invpl(0.8638034375544994); }, 1.5, 0.001},
      {"t(3) variance", [&] { return three.variance(); }, 3, 0},
  });
  EXPECT_EQ(messageOf([&] { two.variance(); }), cp("бесконечная дисперсия"));
  EXPECT_EQ(messageOf([&] { cauchy.q(0); }), cp("недопустимое значение аргумента"));
  EXPECT_EQ(messageOf([&] { cauchy.q(0.99999); }), cp("tlaw: не удается найти квантиль"));
  // pl(-500) of t(1) is about 0.00064: lower levels lie outside the bracket.
  EXPECT_EQ(messageOf([&] { cauchy.q(0.0001); }), cp("tlaw: не удается найти квантиль"));
  // pl is rounded to 1e-7 where the density is about 3e-6: 0.05 of slack.
  EXPECT_NEAR(cauchy.q(0.001), -318.309, 0.05);
  EXPECT_EQ(messageOf([] { CStudent(0); }), cp("tlaw: недопустимое значение параметра"));
}

TEST(Laws, StudentCacheGivesTheSameValuesInAnyOrder) {
  const CStudent law(4);
  const double forward = law.pl(1.2);
  for (int i = 0; i < 1500; ++i) law.pl(i % 2 ? 3.0 : -2.5);  // passes the cache restart
  EXPECT_NEAR(law.pl(1.2), forward, 2e-7);
  const auto copy = law.copy();
  EXPECT_NEAR(static_cast<const CLaw&>(*copy).pl(1.2), forward, 2e-7);
}

TEST(Laws, FisherLaw) {
  const CFisher twoSix(2, 6);
  const CFisher fourSix(4, 6);
  const CFisher threeTen(3, 10);
  checkAll({
      {"F(2, 6) pl(1)", [&] { return twoSix.pl(1); }, 0.578125, 2e-7},
      {"F(2, 6) pl(0)", [&] { return twoSix.pl(-1); }, 0, 2e-7},
      {"F(2, 6) den(1)", [&] { return twoSix.den(1); }, 0.31640625, 1e-12},
      {"F(4, 6) den(1)", [&] { return fourSix.den(1); }, 0.41472, 1e-12},
      {"F(2, 6) den(0)", [&] { return twoSix.den(0); }, 0, 0},
      {"F(2, 6) q", [&] { return twoSix.q(0.578125); }, 1, 0.001},
      {"F(3, 10) mean", [&] { return threeTen.mean(); }, 1.25, 1e-15},
      {"F(3, 10) variance", [&] { return threeTen.variance(); }, 1.9097222222222223, 1e-12},
  });
  EXPECT_EQ(messageOf([] { CFisher(3, 2).mean(); }), cp("математическое ожидание бесконечно"));
  EXPECT_EQ(messageOf([] { CFisher(3, 4).variance(); }), cp("бесконечная дисперсия"));
  EXPECT_EQ(messageOf([] { CFisher(0.5, 4); }),
            cp("недопустимое значение параметра F-распределения"));
}

TEST(Laws, ChiSquareLaw) {
  const CChisq two(2);
  const CChisq four(4);
  const CChisq three(3);
  checkAll({
      {"chi2(2) pl(3), to 0.0001", [&] { return two.pl(3); }, 0.7769, 1e-12},
      {"chi2(4) pl(5), to 0.0001", [&] { return four.pl(5); }, 0.7127, 1e-12},
      {"chi2(4) pl far right", [&] { return four.pl(400); }, 1, 0},
      {"chi2(4) pl at 0", [&] { return four.pl(0); }, 0, 0},
      {"chi2(3) den(2)", [&] { return three.den(2); }, 0.20755374871029736, 1e-12},
      {"chi2(2) q(0.5)", [&] { return two.q(0.5); }, 1.3862943611198906, 0.002},
      {"chi2(10) q(0.95), wide decades", [] { return CChisq(10).q(0.95); }, 18.307, 0.01},
      {"chi2(3) mean", [&] { return three.mean(); }, 3, 0},
      {"chi2(3) variance", [&] { return three.variance(); }, 6, 0},
  });
  const auto inexact = cp("x2law: не удается точно вычислить функцию распределения");
  EXPECT_EQ(messageOf([] { CChisq(0.7).pl(1); }), inexact);
  EXPECT_EQ(messageOf([] { CChisq(262).pl(1); }), inexact);
  EXPECT_EQ(messageOf([&] { two.q(1); }), cp("недопустимое значение вероятности"));
  EXPECT_EQ(messageOf([&] { two.q(0.99995); }), cp("x2law: не удается найти квантиль"));
  EXPECT_EQ(messageOf([] { CChisq(0.4); }), cp("x2law: недопустимое значение параметра"));
  EXPECT_EQ(messageOf([] { CChisq(2.5).draw(); }), cp("x2law: недопустимое число степеней свободы"));
  EXPECT_EQ(messageOf([] { CStudent(2.5).draw(); }), cp("нецелое число степеней свободы"));
  EXPECT_EQ(messageOf([] { CFisher(2, 2.5).draw(); }), cp("нецелое число степеней свободы"));
}

std::unique_ptr<CLawDis> lawOf(std::vector<WeightedValue> rows) {
  return CLawDis::fromRows(std::move(rows));
}

struct MergeCase {
  const char* what;
  std::vector<WeightedValue> rows;
  std::vector<double> values;
  std::vector<double> weights;
};

TEST(Laws, MergingEqualValues) {
  const MergeCase cases[] = {
      {"one value twice", {{1, 0.5}, {1, 0.5}}, {1}, {1}},
      {"small integers drop zero weights", {{1, 0}, {2, 1}}, {2}, {1}},
      {"other values keep zero weights", {{1.5, 0}, {2, 1}}, {1.5, 2}, {0, 1}},
      {"small integers in ascending order", {{7, 0.2}, {3, 0.3}, {7, 0.5}}, {3, 7}, {0.3, 0.7}},
      {"sorted and merged", {{300, 0.25}, {-1, 0.25}, {300, 0.5}}, {-1, 300}, {0.25, 0.75}},
      {"256 is no small integer", {{256, 0}, {0, 1}}, {0, 256}, {1, 0}},
  };
  for (const auto& c : cases) {
    const auto merged = mergeEqualValues(c.rows);
    ASSERT_EQ(merged.size(), c.values.size()) << c.what;
    for (std::size_t i = 0; i < merged.size(); ++i) {
      EXPECT_EQ(merged[i].value, c.values[i]) << c.what;
      EXPECT_DOUBLE_EQ(merged[i].weight, c.weights[i]) << c.what;
    }
  }
  // Values that are no numbers sort last and merge among themselves.
  const auto odd = mergeEqualValues({{NAN, 0.25}, {1.5, 0.25}, {NAN, 0.5}});
  ASSERT_EQ(odd.size(), 2u);
  EXPECT_EQ(odd[0].value, 1.5);
  EXPECT_DOUBLE_EQ(odd[1].weight, 0.75);
}

TEST(Laws, DiscreteProbabilitiesAndQuantiles) {
  const auto owned = lawOf({{1, 0.25}, {2, 0.25}, {3, 0.5}});
  const CLawDis& law = *owned;
  checkAll({
      {"pe of a value", [&] { return law.pe(3); }, 0.5, 0},
      {"pe walking down", [&] { return law.pe(1); }, 0.25, 0},
      {"pe of no value", [&] { return law.pe(2.5); }, 0, 0},
      {"pe walking up past the end", [&] { return law.pe(9); }, 0, 0},
      {"pl at the smallest", [&] { return law.pl(1); }, 0, 0},
      {"pl between", [&] { return law.pl(2.5); }, 0.5, 0},
      {"pl at a value", [&] { return law.pl(3); }, 0.5, 0},
      {"pl beyond", [&] { return law.pl(3.5); }, 1, 0},
      {"ple", [&] { return law.ple(2); }, 0.5, 0},
      {"pg", [&] { return law.pg(2); }, 0.5, 0},
      {"pgl", [&] { return law.pgl(1, 3); }, 0.25, 0},
      {"pgel", [&] { return law.pgel(1, 3); }, 0.5, 0},
      {"pgle", [&] { return law.pgle(1, 3); }, 0.75, 0},
      {"pgele", [&] { return law.pgele(1, 3); }, 1, 0},
      {"q on a step", [&] { return law.q(0.5); }, 2.5, 0},
      {"qmin on a step", [&] { return law.qmin(0.5); }, 2, 0},
      {"qmax on a step", [&] { return law.qmax(0.5); }, 3, 0},
      {"invpl on a step", [&] { return law.invpl(0.5); }, 3, 0},
      {"q inside a step", [&] { return law.q(0.3); }, 2, 0},
      {"invpl at 0", [&] { return law.invpl(0); }, 1, 0},
      {"invpl at 1", [&] { return law.invpl(1); }, 3, 0},
      {"q at 1 has no next value", [&] { return law.q(1); }, 3, 0},
      {"mean", [&] { return law.mean(); }, 2.25, 0},
      {"variance", [&] { return law.variance(); }, 0.6875, 1e-15},
  });
  EXPECT_EQ(law.valueCount(), 3);
  EXPECT_EQ(messageOf([&] { law.q(1.5); }), cp("квантиль: недопустимый уровень"));
  EXPECT_EQ(messageOf([&] { law.qmin(-0.1); }), cp("квантиль: недопустимый уровень"));
  EXPECT_EQ(messageOf([&] { law.den(1); }), cp("метод не определен"));
}

std::vector<double> elementsOf(const MatObject& value) {
  const Matrix& m = asMatrix(value);
  return {m.data(), m.data() + m.count()};
}

TEST(Laws, DiscreteTables) {
  const auto owned = lawOf({{1, 0.25}, {2, 0.25}, {3, 0.5}});
  const CLawDis& law = *owned;
  EXPECT_EQ(elementsOf(*law.valefr(8)), (std::vector<double>{1, 2, 2, 2, 3, 4}));
  EXPECT_EQ(elementsOf(*law.rvalefr(1, 3, 8)), (std::vector<double>{1, 2, 2, 2, 3, 4}));
  EXPECT_EQ(elementsOf(*law.rvalefr(1.5, 2.5, 4)), (std::vector<double>{1.5, 1, 2, 1, 2.5, 2}));
  EXPECT_EQ(elementsOf(*law.rvalefr(0, 10, 4)), (std::vector<double>{0, 0, 1, 1, 2, 1, 3, 2, 10, 0}));
  EXPECT_EQ(messageOf([&] { law.rvalefr(2, 2, 1); }), cp("rvalefr: недопустимые значения границ"));

  const auto points = law.dlpoints(1.5, 4);
  const auto& cells = static_cast<const CSuperMatrix&>(*points);
  ASSERT_EQ(cells.count(), 2);
  EXPECT_EQ(elementsOf(*cells.cell(0)), (std::vector<double>{1.5, 2, 2, 3, 3, 4}));
  EXPECT_EQ(elementsOf(*cells.cell(1)), (std::vector<double>{0.25, 0.25, 0.5, 0.5, 1, 1}));
  const auto onValue = law.dlpoints(0, 3);
  EXPECT_EQ(elementsOf(*static_cast<const CSuperMatrix&>(*onValue).cell(0)),
            (std::vector<double>{0, 1, 1, 2, 2, 3, 3}));
  EXPECT_EQ(messageOf([&] { law.dlpoints(1, 0); }), cp("dlpoints: недопустимые значения границ"));
}

TEST(Laws, EmpiricalLawCountsAndCache) {
  auto sample = Matrix::create(2, 3);
  const double elements[] = {3, 1.5, 3, -2, 3, 1.5};
  std::copy(elements, elements + 6, sample->data());
  const CELaw& law = empiricalLaw(*sample);
  EXPECT_EQ(&law, &empiricalLaw(*sample));
  EXPECT_EQ(law.size(), 6);
  EXPECT_EQ(law.values(), (std::vector<double>{-2, 1.5, 3}));
  EXPECT_EQ(law.counts(), (std::vector<double>{1, 2, 3}));
  EXPECT_DOUBLE_EQ(law.pe(3), 0.5);
  EXPECT_EQ(law.countBelow(3), 3);
  EXPECT_EQ(law.countBelow(-2), 0);
  EXPECT_EQ(law.countBelow(10), 6);
  EXPECT_EQ(law.countEqual(1.5), 2);
  EXPECT_EQ(law.countEqual(2), 0);
  const auto copy = law.copy();
  EXPECT_EQ(static_cast<const CELaw&>(*copy).counts(), law.counts());

  // An element assignment drops the cached law.
  MatObject* args[] = {new Scalar(1), new Scalar(7)};
  sample->setElement(1, args);
  for (MatObject* a : args) delete a;
  EXPECT_EQ(empiricalLaw(*sample).countEqual(7), 1);
  EXPECT_EQ(empiricalLaw(*sample).countEqual(3), 2);

  const auto nothing = Matrix::create(0, 0);
  const CELaw& empty = empiricalLaw(*nothing);
  EXPECT_EQ(empty.valueCount(), 0);
  EXPECT_EQ(empty.countBelow(1), 0);
  EXPECT_EQ(empty.pl(1), 0);
}

// Builds a law through its builtin, as a script would.
ValuePtr build(const char* name, std::vector<double> numbers) {
  std::vector<ValuePtr> owned;
  std::vector<MatObject*> args;
  for (double x : numbers) {
    owned.push_back(makeNumber(x));
    args.push_back(owned.back().get());
  }
  auto function = findBuiltin(name, 0)->make();
  return function->call(static_cast<int>(args.size()), args.data());
}

TEST(Laws, BinomialLaw) {
  const auto value = build("binlaw", {5, 0.3});
  const auto& law = static_cast<const CLaw&>(*value);
  const double expected[] = {0.16807, 0.36015, 0.3087, 0.1323, 0.02835, 0.00243};
  ASSERT_EQ(law.valueCount(), 6);
  for (int k = 0; k <= 5; ++k) EXPECT_NEAR(law.pe(k), expected[k], 1e-12) << k;
  EXPECT_NEAR(law.mean(), 1.5, 1e-12);
  EXPECT_NEAR(law.variance(), 1.05, 1e-12);
  // Far tails underflow to 0 and stay values of the law.
  const auto wide = build("binlaw", {2000, 0.5});
  EXPECT_EQ(static_cast<const CLaw&>(*wide).valueCount(), 2001);
  EXPECT_EQ(static_cast<const CLaw&>(*wide).pe(0), 0);
  EXPECT_EQ(messageOf([] { build("binlaw", {2.5, 0.3}); }), cp("lnfa: недопустимое значение"));
  EXPECT_EQ(messageOf([] { build("binlaw", {3, 1}); }), cp("binlaw: недопустимое значение параметра"));
  EXPECT_EQ(messageOf([] { build("binlaw", {1e9, 0.5}); }), cp("слишком большой массив"));
}

struct DrawCase {
  const char* what;
  std::function<std::unique_ptr<CLaw>()> make;
  double mean;
  double variance;
};

// Sample moments of 40000 seeded draws lie close to the law's moments.
TEST(Laws, DrawsFollowTheirLaw) {
  const DrawCase cases[] = {
      {"normal", [] { return std::make_unique<CLawNorm>(3, 2); }, 3, 4},
      {"uniform", [] { return std::make_unique<CLawUnifCont>(-1, 3); }, 1, 16.0 / 12},
      {"exponential", [] { return std::make_unique<CExpLaw>(2); }, 0.5, 0.25},
      {"chi-square", [] { return std::make_unique<CChisq>(3); }, 3, 6},
      {"Student", [] { return std::make_unique<CStudent>(6); }, 0, 1.5},
      {"F", [] { return std::make_unique<CFisher>(4, 10); }, 1.25, 2.0 * 100 * 12 / (4 * 64 * 6)},
      {"two-point", [] { return std::make_unique<CLaw2>(1, 5, 0.25); }, 4, 3},
      {"discrete", [] { return CLawDis::fromRows({{1, 0.25}, {2, 0.25}, {3, 0.5}}); }, 2.25, 0.6875},
  };
  for (const auto& c : cases) {
    seedRandom(12345);
    const auto law = c.make();
    const int n = 40000;
    double sum = 0, squares = 0;
    for (int i = 0; i < n; ++i) {
      const double x = law->draw();
      sum += x;
      squares += x * x;
    }
    const double mean = sum / n;
    EXPECT_NEAR(mean, c.mean, 0.05 * std::sqrt(c.variance) + 0.01) << c.what;
    EXPECT_NEAR(squares / n - mean * mean, c.variance, 0.08 * c.variance) << c.what;
  }
}

TEST(Laws, TwoPointLawOnlyDraws) {
  const CLaw2 law(1, 5, 0.25);
  EXPECT_EQ(messageOf([&] { law.pl(1); }), cp("метод не определен"));
  EXPECT_EQ(messageOf([&] { law.mean(); }), cp("Среднее не определено"));
  EXPECT_EQ(messageOf([&] { law.variance(); }), cp("Дисперсия не определена"));
  EXPECT_EQ(law.valueCount(), 0);
  EXPECT_EQ(messageOf([] { CLaw2(1, 2, 1.5); }), cp("law2: недопустимое значение вероятности"));
}

}  // namespace
}  // namespace tesmora
