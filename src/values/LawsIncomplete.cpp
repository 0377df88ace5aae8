#include "values/LawsIncomplete.h"

#include <algorithm>
#include <cmath>

namespace tesmora {
namespace {

const double kLogSqrt2Pi = 0.91893853320467274178;  // ln √(2π)
constexpr double kEpsilon = 1e-16;
constexpr double kTiny = 1e-300;
// From this shape on, ln Γ is taken as Stirling's formula plus its
// correction series, so that differences of huge logarithms do not cancel.
constexpr double kLargeShape = 10;
// The continued fractions need about √(largest shape) steps near the
// centre of the law; this bound is reached only by absurd shapes.
constexpr int kMaxFractionSteps = 20000000;

// δ(a) = ln Γ(a) − ((a − ½)·ln a − a + ln √(2π)), for a ≥ kLargeShape.
double stirlingCorrection(double a) {
  const double r = 1 / a;
  const double r2 = r * r;
  return r * (1.0 / 12 + r2 * (-1.0 / 360 + r2 * (1.0 / 1260 + r2 * (-1.0 / 1680 +
         r2 * (1.0 / 1188 + r2 * (-691.0 / 360360 + r2 / 156))))));
}

// ln Γ(big + small) − ln Γ(big) for big ≥ kLargeShape, without the
// cancellation of two huge logarithms.
double logGammaRatio(double big, double small) {
  return (big - 0.5) * std::log1p(small / big) + small * std::log(big + small) - small +
         stirlingCorrection(big + small) - stirlingCorrection(big);
}

// ln v for v in (0, 1] given also w = 1 − v: near 1 the complement holds
// the digits.
double logOf(double v, double w) { return v < 0.5 ? std::log(v) : std::log1p(-w); }

}  // namespace

double log1pMinusX(double t) {
  if (std::fabs(t) >= 0.1) return std::log1p(t) - t;
  // −t²/2 + t³/3 − t⁴/4 + …
  double power = t * t;
  double sum = 0;
  for (int k = 2; k < 40; ++k) {
    const double term = (k % 2 ? power : -power) / k;
    sum += term;
    if (std::fabs(term) < kEpsilon * std::fabs(sum)) break;
    power *= t;
  }
  return sum;
}

// ---- incomplete beta ----

IncompleteBeta::IncompleteBeta(double a, double b) : a_(a), b_(b) {
  const double small = std::min(a, b);
  const double big = std::max(a, b);
  if (big >= kLargeShape) {
    logBeta_ = std::lgamma(small) - logGammaRatio(big, small);
  } else {
    logBeta_ = std::lgamma(a) + std::lgamma(b) - std::lgamma(a + b);
  }
  stirlingRest_ = small >= kLargeShape ? stirlingCorrection(a) + stirlingCorrection(b) -
                                             stirlingCorrection(a + b)
                                       : 0;
}

bool IncompleteBeta::valid() const {
  return a_ > 0 && b_ > 0 && std::isfinite(logBeta_) && std::isfinite(stirlingRest_);
}

double IncompleteBeta::logPowerTerm(double x, double y) const {
  if (!(std::min(a_, b_) >= kLargeShape)) {
    return a_ * logOf(x, y) + b_ * logOf(y, x) - logBeta_;
  }
  // Both shapes large: expand around the centre x0 = a/(a + b), where the
  // two power terms nearly cancel the beta function.
  const double x0 = a_ / (a_ + b_);
  const double y0 = b_ / (a_ + b_);
  const double d = x < y ? x - x0 : y0 - y;
  return a_ * log1pMinusX(d / x0) + b_ * log1pMinusX(-d / y0) +
         0.5 * (std::log(a_) + std::log(y0)) - kLogSqrt2Pi - stirlingRest_;
}

bool IncompleteBeta::converges(double x) const { return x < (a_ + 1) / (a_ + b_ + 2); }

// The continued fraction of I_x(a, b) (modified Lentz), times the power
// term x^a·y^b/(a·B(a, b)).
double IncompleteBeta::fraction(double x, double y, bool swapped) const {
  const double a = swapped ? b_ : a_;
  const double b = swapped ? a_ : b_;
  const double v = swapped ? y : x;
  // x^a·y^b/B(a, b) is the same product whichever pair is written first.
  const double logTerm = logPowerTerm(x, y);
  const auto guard = [](double t) { return std::fabs(t) < kTiny ? kTiny : t; };
  double c = 1;
  double d = 1 / guard(1 - (a + b) * v / (a + 1));
  double h = d;
  for (int m = 1; m <= kMaxFractionSteps; ++m) {
    const double m2 = 2.0 * m;
    double step = m * (b - m) * v / ((a - 1 + m2) * (a + m2));
    d = 1 / guard(1 + step * d);
    c = guard(1 + step / c);
    h *= d * c;
    step = -(a + m) * (a + b + m) * v / ((a + m2) * (a + 1 + m2));
    d = 1 / guard(1 + step * d);
    c = guard(1 + step / c);
    const double change = d * c;
    h *= change;
    if (std::fabs(change - 1) < kEpsilon) return std::exp(logTerm) / a * h;
  }
  return NAN;
}

double IncompleteBeta::lower(double x, double y) const {
  if (!(x > 0)) return x == 0 ? 0 : NAN;
  if (!(y > 0)) return y == 0 ? 1 : NAN;
  if (converges(x)) return fraction(x, y, false);
  return 1 - fraction(x, y, true);
}

double IncompleteBeta::upper(double x, double y) const {
  if (!(x > 0)) return x == 0 ? 1 : NAN;
  if (!(y > 0)) return y == 0 ? 0 : NAN;
  if (converges(x)) return 1 - fraction(x, y, false);
  return fraction(x, y, true);
}

// ---- incomplete gamma ----

IncompleteGamma::IncompleteGamma(double k) : k_(k), logGamma_(std::lgamma(k)) {}

bool IncompleteGamma::valid() const { return k_ > 0 && std::isfinite(logGamma_); }

double IncompleteGamma::logPowerTerm(double y) const {
  if (k_ < kLargeShape) return k_ * std::log(y) - y - logGamma_;
  // Around the mode: k·ln y − y − ln Γ(k) = k·(ln(1 + t) − t) + ½·ln k
  // − ln √(2π) − δ(k), t = (y − k)/k.
  return k_ * log1pMinusX((y - k_) / k_) + 0.5 * std::log(k_) - kLogSqrt2Pi -
         stirlingCorrection(k_);
}

double IncompleteGamma::series(double y) const {
  double term = 1 / k_;
  double sum = term;
  for (int n = 1; n <= kMaxFractionSteps; ++n) {
    term *= y / (k_ + n);
    sum += term;
    if (std::fabs(term) < kEpsilon * sum) return sum * std::exp(logPowerTerm(y));
  }
  return NAN;
}

double IncompleteGamma::fraction(double y) const {
  const auto guard = [](double t) { return std::fabs(t) < kTiny ? kTiny : t; };
  double b = y + 1 - k_;
  double c = 1 / kTiny;
  double d = 1 / guard(b);
  double h = d;
  for (int i = 1; i <= kMaxFractionSteps; ++i) {
    const double an = -i * (i - k_);
    b += 2;
    d = 1 / guard(an * d + b);
    c = guard(b + an / c);
    const double change = d * c;
    h *= change;
    if (std::fabs(change - 1) < kEpsilon) return std::exp(logPowerTerm(y)) * h;
  }
  return NAN;
}

double IncompleteGamma::lower(double y) const {
  if (!(y > 0)) return y <= 0 ? 0 : NAN;
  if (y == INFINITY) return 1;
  return y < k_ + 1 ? series(y) : 1 - fraction(y);
}

double IncompleteGamma::upper(double y) const {
  if (!(y > 0)) return y <= 0 ? 1 : NAN;
  if (y == INFINITY) return 0;
  return y < k_ + 1 ? 1 - series(y) : fraction(y);
}

}  // namespace tesmora
