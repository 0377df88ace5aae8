#include "values/LawsSampling.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "builtins/GammaFunctions.h"
#include "interp/Errors.h"
#include "values/Random.h"
#include "values/Rounding.h"

namespace tesmora {
namespace {

const double kPi = 3.14159265358979323846;

// Simpson's rule starts with 16 intervals and doubles up to 1024 until two
// successive results agree within the tolerance; a stretch that does not
// converge is halved, at most 70 halvings deep.
constexpr int kFirstIntervals = 16;
constexpr int kLastIntervals = 1024;
constexpr double kTolerance = 1e-10;
constexpr int kMaxDepth = 70;
// The cache of F and Student starts over after this many calls, so that
// rounding errors of incremental integration cannot pile up without end.
constexpr int kCallsPerCache = 1000;
// The F density is singular at 0 for n1 < 2: its integral starts here.
constexpr double kFisherStart = 1e-15;
constexpr double kValueStep = 1e-7;
// Chi-square: the distribution function is integrated decade by decade
// from kChisqStart, is 1 beyond kChisqEnd, and is exact enough only for
// degrees of freedom in [1, 261]; it is rounded to kChisqStep.
constexpr double kChisqStart = 1e-9;
constexpr double kChisqEnd = 360;
constexpr double kChisqStep = 0.0001;
constexpr double kChisqDensityStart = 1e-14;
// Quantiles: 60 bisection steps on midpoints rounded to kQuantileStep;
// levels above kHighestLevel are out of reach of the bracket.
constexpr int kQuantileSteps = 60;
constexpr double kQuantileStep = 0.001;
constexpr double kHighestLevel = 0.9999;
// A draw sums one squared normal variate per degree of freedom; beyond
// this many a single draw would stall the run.
constexpr double kMaxDrawDegrees = 1e7;

// Composite Simpson on [a, b] with 16, 32, …, 1024 intervals; each doubling
// reuses the points already computed. False when it does not converge.
template <class Density>
bool simpson(const Density& f, double a, double b, double& result) {
  int n = kFirstIntervals;
  double h = (b - a) / n;
  const double ends = f(a) + f(b);
  double even = 0, odd = 0;
  for (int i = 1; i < n; ++i) (i % 2 ? odd : even) += f(a + i * h);
  double previous = h / 3 * (ends + 4 * odd + 2 * even);
  while (n < kLastIntervals) {
    n *= 2;
    h /= 2;
    even += odd;
    odd = 0;
    for (int i = 1; i < n; i += 2) odd += f(a + i * h);
    const double current = h / 3 * (ends + 4 * odd + 2 * even);
    if (std::fabs(current - previous) < kTolerance) {
      result = current;
      return true;
    }
    previous = current;
  }
  return false;
}

template <class Density>
double adaptiveSimpson(const Density& f, double a, double b, int& depth,
                       const char* failure) {
  double result = 0;
  if (simpson(f, a, b, result)) return result;
  if (++depth > kMaxDepth) raise(failure);
  const double mid = (a + b) / 2;
  const double sum = adaptiveSimpson(f, a, mid, depth, failure) +
                     adaptiveSimpson(f, mid, b, depth, failure);
  --depth;
  return sum;
}

// The incremental distribution function of F and Student: the integral of
// the density from the cached argument to x, added to the cached value.
template <class Density>
double cachedIntegral(DistributionCache& cache, const DistributionCache& start,
                      const Density& f, double x, double (*clampEnd)(double),
                      const char* failure) {
  if (++cache.calls > kCallsPerCache) cache = start;
  cache.depth = 0;
  const double a = clampEnd(cache.lastArgument);
  const double b = clampEnd(x);
  const double sum = cache.lastValue + adaptiveSimpson(f, a, b, cache.depth, failure);
  cache.lastArgument = x;
  cache.lastValue = sum;
  return roundToStep(sum, kValueStep);
}

double unchanged(double x) { return x; }
double fisherEnd(double x) { return x <= 0 ? kFisherStart : x; }

// 60 steps of bisection on [lo, hi] for pl(x) = p, midpoints rounded to
// 0.001, stopping early on an exact hit. A level outside the bracket has
// no quantile inside it: the Student bracket is symmetric, so its lower
// end is checked as well as the upper one (for F and chi-square pl(lo) = 0).
template <class Law>
double searchQuantile(const Law& law, double p, double lo, double hi,
                      const char* notFound) {
  if (law.pl(hi) < p || p > kHighestLevel || law.pl(lo) > p) raise(notFound);
  double mid = lo;
  for (int i = 0; i < kQuantileSteps; ++i) {
    mid = roundToStep((lo + hi) / 2, kQuantileStep);
    const double value = law.pl(mid);
    if (value == p) break;
    if (value < p) lo = mid;
    else hi = mid;
  }
  return mid;
}

// Radius first, then angle.
double standardNormalDraw() {
  const double u1 = uniformRandom();
  const double u2 = uniformRandom();
  return std::sqrt(-2 * std::log(u1)) * std::cos(2 * kPi * u2);
}

double chiSquareDraw(double k) {
  double sum = 0;
  for (double i = 0; i < k; ++i) {
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

// A normalising constant from logarithms of the gamma function; a failure
// of the gamma function or a constant out of range marks the degrees of
// freedom invalid (−1) and raises `failure`.
template <class Compute>
double normalisingConstant(const Compute& compute, double& degrees,
                           const char* failure) {
  double c = 0;
  try {
    c = compute();
  } catch (const ScriptError&) {
    c = NAN;
  }
  if (!std::isfinite(c)) {
    degrees = -1;
    raise(failure);
  }
  return c;
}

bool outsideOpenUnit(double p) { return !(p > 0 && p < 1); }

}  // namespace

// ---- F ----

CFisher::CFisher(double n1, double n2) : n1_(n1), n2_(n2) {
  if (n1 < 1 || n2 < 1) raise("недопустимое значение параметра F-распределения");
  c_ = normalisingConstant(
      [&] {
        return std::exp(lngammaOf((n1 + n2) / 2) - lngammaOf(n1 / 2) - lngammaOf(n2 / 2) +
                        n1 / 2 * std::log(n1 / n2));
      },
      n1_, "Flaw: недопустимое число степеней свободы");
}

ValuePtr CFisher::copy() const { return std::make_unique<CFisher>(n1_, n2_); }

double CFisher::den(double x) const {
  if (x <= 0) return 0;
  return c_ * std::pow(x, n1_ / 2 - 1) / std::pow(1 + n1_ * x / n2_, (n1_ + n2_) / 2);
}

double CFisher::pl(double x) const {
  if (std::isnan(x)) return x;
  if (x == INFINITY) return 1;
  return cachedIntegral(
      cache_, DistributionCache{}, [this](double t) { return den(t); }, x, fisherEnd,
      "Flaw: не удается вычислить значение функции распределения");
}

double CFisher::quantile(double p) const {
  if (outsideOpenUnit(p)) raise("недопустимое значение аргумента");
  const double bound = n1_ < 6 ? 200 : 20;
  return searchQuantile(*this, p, 0, bound, "Flaw: не удается найти квантиль");
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

namespace {
const DistributionCache kStudentStart{0, 0, 0, 0.5};
}

CStudent::CStudent(double n) : n_(n) {
  if (!(n > 0)) raise("tlaw: недопустимое значение параметра");
  cache_ = kStudentStart;
  c_ = normalisingConstant(
      [&] { return std::exp(lngammaOf((n + 1) / 2) - lngammaOf(n / 2)) / std::sqrt(kPi * n); },
      n_, "tlaw: недопустимое число степеней свободы");
}

ValuePtr CStudent::copy() const { return std::make_unique<CStudent>(n_); }

double CStudent::den(double x) const {
  return c_ * std::pow(1 + x * x / n_, -(n_ + 1) / 2);
}

double CStudent::pl(double x) const {
  if (std::isnan(x)) return x;
  if (x == INFINITY) return 1;
  if (x == -INFINITY) return 0;
  return cachedIntegral(
      cache_, kStudentStart, [this](double t) { return den(t); }, x, unchanged,
      "tlaw: не удается вычислить значение функции распределения");
}

double CStudent::quantile(double p) const {
  if (outsideOpenUnit(p)) raise("недопустимое значение аргумента");
  const double bound = n_ < 2 ? 500 : 100;
  return searchQuantile(*this, p, -bound, bound, "tlaw: не удается найти квантиль");
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

CChisq::CChisq(double n) : n_(n) {
  if (!(n >= 0.5)) raise("x2law: недопустимое значение параметра");
  c_ = normalisingConstant([&] { return 0.5 * std::exp(-lngammaOf(n / 2)); }, n_,
                           "x2law: недопустимое число степеней свободы");
}

ValuePtr CChisq::copy() const { return std::make_unique<CChisq>(n_); }

double CChisq::den(double x) const {
  if (x < kChisqDensityStart) return 0;
  return c_ * std::pow(x / 2, n_ / 2 - 1) * std::exp(-x / 2);
}

// The integral from 1e-9 to x, one decade at a time, the last piece ending
// at x (from 100 on, one piece). Simpson's rule with 1024 intervals cannot
// reach the tolerance on the wide upper decades once the density has
// spread out (from about 10 degrees of freedom on), so a piece that does
// not converge is halved as for the F and Student laws.
double CChisq::pl(double x) const {
  const char* inexact = "x2law: не удается точно вычислить функцию распределения";
  if (!(n_ >= 1 && n_ <= 261)) raise(inexact);
  if (std::isnan(x)) return x;
  if (x > kChisqEnd) return 1;
  if (x <= kChisqStart) return 0;
  const auto density = [this](double t) { return den(t); };
  static constexpr double kDecades[] = {1e-9, 1e-8, 1e-7, 1e-6, 1e-5, 1e-4, 1e-3,
                                        1e-2, 1e-1, 1,    10,   100};
  double sum = 0;
  for (std::size_t i = 0; i < std::size(kDecades) && kDecades[i] < x; ++i) {
    const double hi = i + 1 < std::size(kDecades) ? std::min(kDecades[i + 1], x) : x;
    cache_.depth = 0;
    sum += adaptiveSimpson(density, kDecades[i], hi, cache_.depth, inexact);
  }
  return roundToStep(sum, kChisqStep);
}

double CChisq::quantile(double p) const {
  if (outsideOpenUnit(p)) raise("недопустимое значение вероятности");
  const double bound = 30 * std::floor(std::sqrt(n_));
  return searchQuantile(*this, p, 0, bound, "x2law: не удается найти квантиль");
}

double CChisq::draw() const {
  if (!(n_ >= 1 && isWhole(n_) && n_ <= kMaxDrawDegrees)) {
    raise("x2law: недопустимое число степеней свободы");
  }
  return chiSquareDraw(n_);
}

}  // namespace tesmora
