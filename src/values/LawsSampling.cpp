#include "values/LawsSampling.h"

#include <cmath>

#include "interp/Cancellation.h"
#include "interp/Errors.h"
#include "values/Random.h"
#include "values/Rounding.h"

namespace tesmora {
namespace {

const double kPi = 3.14159265358979323846;

constexpr double kValueStep = 1e-7;
// Chi-square: the distribution function is 0 up to kChisqStart, 1 beyond
// kChisqEnd, offered only for degrees of freedom in [1, 261] and rounded to
// kChisqStep; the density is 0 below kChisqDensityStart.
constexpr double kChisqStart = 1e-9;
constexpr double kChisqEnd = 360;
constexpr double kChisqStep = 0.0001;
constexpr double kChisqDensityStart = 1e-14;
// Quantiles: 60 bisection steps on the unrounded distribution function,
// the result rounded to kQuantileStep; levels above kHighestLevel are out
// of reach of the bracket.
constexpr int kQuantileSteps = 60;
constexpr double kQuantileStep = 0.001;
constexpr double kHighestLevel = 0.9999;
// A draw sums one squared normal variate per degree of freedom; beyond
// this many a single draw would stall the run.
constexpr double kMaxDrawDegrees = 1e7;
constexpr int kDrawsPerPoll = 1024;
// From this many degrees of freedom on, Student's law is the normal law
// with a 1/n correction.
constexpr double kStudentNormalFrom = 1e8;

// A value of the incomplete beta or gamma function, or the law's failure
// message when the continued fraction did not converge.
double checked(double probability, const char* failure) {
  if (std::isnan(probability)) raise(failure);
  return probability;
}

// 60 steps of bisection on [lo, hi] for cdf(x) = p, stopping early on an
// exact hit; the midpoint is rounded to 0.001 only at the end. A level
// outside the bracket has no quantile inside it: the Student bracket is
// symmetric, so its lower end is checked as well as the upper one (for F
// and chi-square cdf(lo) = 0).
template <class Cdf>
double searchQuantile(const Cdf& cdf, double p, double lo, double hi, const char* notFound) {
  if (cdf(hi) < p || p > kHighestLevel || cdf(lo) > p) raise(notFound);
  double mid = lo;
  for (int i = 0; i < kQuantileSteps; ++i) {
    mid = (lo + hi) / 2;
    const double value = cdf(mid);
    if (value == p) break;
    if (value < p) lo = mid;
    else hi = mid;
  }
  return roundToStep(mid, kQuantileStep);
}

// The pair v = r/(1 + r), w = 1/(1 + r) for a ratio r = num/den of two
// non-negative terms, each computed without forming 1 − v, and without
// overflow when one term is huge.
struct UnitPair {
  double v;
  double w;
};
UnitPair splitRatio(double num, double den) {
  if (num <= den) {
    const double r = num / den;
    return {r / (1 + r), 1 / (1 + r)};
  }
  const double r = den / num;
  return {1 / (1 + r), r / (1 + r)};
}

// Radius first, then angle.
double standardNormalDraw() {
  const double u1 = uniformRandom();
  const double u2 = uniformRandom();
  return std::sqrt(-2 * std::log(u1)) * std::cos(2 * kPi * u2);
}

double chiSquareDraw(double k) {
  double sum = 0;
  int sincePoll = 0;
  for (double i = 0; i < k; ++i) {
    if (++sincePoll == kDrawsPerPoll) {
      sincePoll = 0;
      pollStop();
    }
    const double z = standardNormalDraw();
    sum += z * z;
  }
  return sum;
}

bool isWhole(double x) { return x == std::floor(x); }

void checkDrawDegrees(double n, const char* tooMany) {
  if (!isWhole(n)) raise("нецелое число степеней свободы");
  if (n > kMaxDrawDegrees) raise(tooMany);
}

// A law whose constants are not finite marks its degrees of freedom
// invalid (−1) and raises `failure`.
void checkConstants(bool valid, double& degrees, const char* failure) {
  if (valid) return;
  degrees = -1;
  raise(failure);
}

bool outsideOpenUnit(double p) { return !(p > 0 && p < 1); }

}  // namespace

// ---- F ----

CFisher::CFisher(double n1, double n2) : n1_(n1), n2_(n2), beta_(n1 / 2, n2 / 2) {
  if (n1 < 1 || n2 < 1) raise("недопустимое значение параметра F-распределения");
  checkConstants(beta_.valid(), n1_, "Flaw: недопустимое число степеней свободы");
}

ValuePtr CFisher::copy() const { return std::make_unique<CFisher>(n1_, n2_); }

// c·x^(n1/2−1)/(1 + n1·x/n2)^((n1+n2)/2) = u^(n1/2)·v^(n2/2)/(B·x) with
// u = n1·x/(n1·x + n2) and v = 1 − u.
double CFisher::den(double x) const {
  if (!(x > 0)) return std::isnan(x) ? x : 0;
  if (x == INFINITY) return 0;
  const UnitPair uv = splitRatio(n1_ * x, n2_);
  return std::exp(beta_.logPowerTerm(uv.v, uv.w)) / x;
}

// P(X < x) = I_u(n1/2, n2/2).
double CFisher::cdf(double x) const {
  if (std::isnan(x)) return x;
  if (!(x > 0)) return 0;
  if (x == INFINITY) return 1;
  const UnitPair uv = splitRatio(n1_ * x, n2_);
  return checked(beta_.lower(uv.v, uv.w),
                 "Flaw: не удается вычислить значение функции распределения");
}

double CFisher::pl(double x) const { return roundToStep(cdf(x), kValueStep); }

double CFisher::quantile(double p) const {
  if (outsideOpenUnit(p)) raise("недопустимое значение аргумента");
  const double bound = n1_ < 6 ? 200 : 20;
  return searchQuantile([this](double x) { return cdf(x); }, p, 0, bound,
                        "Flaw: не удается найти квантиль");
}

double CFisher::draw() const {
  checkDrawDegrees(n1_, "Flaw: недопустимое число степеней свободы");
  checkDrawDegrees(n2_, "Flaw: недопустимое число степеней свободы");
  const double numerator = chiSquareDraw(n1_) / n1_;
  return numerator / (chiSquareDraw(n2_) / n2_);
}

double CFisher::mean() const {
  if (n2_ <= 2) raise("математическое ожидание бесконечно");
  return n2_ / (n2_ - 2);
}

double CFisher::variance() const {
  if (n2_ <= 4) raise("бесконечная дисперсия");
  return 2 * n2_ * n2_ * (n1_ + n2_ - 2) / (n1_ * (n2_ - 2) * (n2_ - 2) * (n2_ - 4));
}

// ---- Student ----

CStudent::CStudent(double n) : n_(n), beta_(n / 2, 0.5) {
  if (!(n > 0)) raise("tlaw: недопустимое значение параметра");
  logNorm_ = 0.5 * std::log(n) + beta_.logBeta();
  checkConstants(beta_.valid() && std::isfinite(logNorm_), n_,
                 "tlaw: недопустимое число степеней свободы");
}

ValuePtr CStudent::copy() const { return std::make_unique<CStudent>(n_); }

// (1 + x²/n)^(−(n+1)/2)/(√n·B(n/2, 1/2)), the power taken as
// ((n+1)/2)·ln(n/(n + x²)) so that huge n keeps its digits.
double CStudent::den(double x) const {
  if (std::isnan(x)) return x;
  if (std::isinf(x)) return 0;
  const UnitPair vw = splitRatio(n_, x * x);
  const double logPower = vw.v < 0.5 ? std::log(vw.v) : std::log1p(-vw.w);
  return std::exp((n_ + 1) / 2 * logPower - logNorm_);
}

// P(X < x): each tail is half of I_v(n/2, 1/2) with v = n/(n + x²). For
// huge n the continued fraction loses digits (about n·1e-16), while the
// normal law with its first correction, Φ(x) − φ(x)·(x³ + x)/(4n), is
// then exact to the last bit.
double CStudent::cdf(double x) const {
  if (std::isnan(x)) return x;
  if (x == INFINITY) return 1;
  if (x == -INFINITY) return 0;
  if (n_ >= kStudentNormalFrom) {
    const double phi = std::exp(-x * x / 2) / std::sqrt(2 * kPi);
    return 0.5 * std::erfc(-x / std::sqrt(2.0)) - phi * (x * x * x + x) / (4 * n_);
  }
  const double a = std::fabs(x);
  const UnitPair vw = a <= 1 ? splitRatio(n_, a * a) : splitRatio(n_ / a / a, 1);
  const double tail = checked(beta_.lower(vw.v, vw.w),
                              "tlaw: не удается вычислить значение функции распределения") /
                      2;
  return x < 0 ? tail : 1 - tail;
}

double CStudent::pl(double x) const { return roundToStep(cdf(x), kValueStep); }

double CStudent::quantile(double p) const {
  if (outsideOpenUnit(p)) raise("недопустимое значение аргумента");
  const double bound = n_ < 2 ? 500 : 100;
  return searchQuantile([this](double x) { return cdf(x); }, p, -bound, bound,
                        "tlaw: не удается найти квантиль");
}

double CStudent::draw() const {
  checkDrawDegrees(n_, "tlaw: недопустимое число степеней свободы");
  const double z = standardNormalDraw();
  return z / std::sqrt(chiSquareDraw(n_) / n_);
}

double CStudent::variance() const {
  if (n_ <= 2) raise("бесконечная дисперсия");
  return n_ / (n_ - 2);
}

// ---- chi-square ----

CChisq::CChisq(double n) : n_(n), gamma_(n / 2) {
  if (!(n >= 0.5)) raise("x2law: недопустимое значение параметра");
  checkConstants(gamma_.valid(), n_, "x2law: недопустимое число степеней свободы");
}

ValuePtr CChisq::copy() const { return std::make_unique<CChisq>(n_); }

// 0.5·(x/2)^(n/2−1)·exp(−x/2)/Γ(n/2), built as one logarithm.
double CChisq::den(double x) const {
  if (std::isnan(x)) return x;
  if (x < kChisqDensityStart || x == INFINITY) return 0;
  const double y = x / 2;
  return 0.5 * std::exp(gamma_.logPowerTerm(y)) / y;
}

// P(n/2, x/2), offered for 1 ≤ n ≤ 261 on (1e-9, 360].
double CChisq::cdf(double x) const {
  if (!(n_ >= 1 && n_ <= 261)) raise("x2law: не удается точно вычислить функцию распределения");
  if (std::isnan(x)) return x;
  if (x > kChisqEnd) return 1;
  if (x <= kChisqStart) return 0;
  return checked(gamma_.lower(x / 2), "x2law: не удается точно вычислить функцию распределения");
}

double CChisq::pl(double x) const { return roundToStep(cdf(x), kChisqStep); }

double CChisq::quantile(double p) const {
  if (outsideOpenUnit(p)) raise("недопустимое значение вероятности");
  const double bound = 30 * std::floor(std::sqrt(n_));
  return searchQuantile([this](double x) { return cdf(x); }, p, 0, bound,
                        "x2law: не удается найти квантиль");
}

double CChisq::draw() const {
  if (!(n_ >= 1 && isWhole(n_) && n_ <= kMaxDrawDegrees)) {
    raise("x2law: недопустимое число степеней свободы");
  }
  return chiSquareDraw(n_);
}

}  // namespace tesmora
