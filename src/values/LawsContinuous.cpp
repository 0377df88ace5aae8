#include "values/LawsContinuous.h"

#include <cmath>

#include "interp/Errors.h"
#include "values/Random.h"

namespace tesmora {
namespace {

const double kPi = 3.14159265358979323846;
const double kSqrt2Pi = std::sqrt(2 * kPi);

// The standard normal bracket of the quantile search and its halvings.
constexpr double kNormalBound = 7;
constexpr int kNormalHalvings = 50;

}  // namespace

// Φ0(z) = φ(z)·(|z| + |z|³/3 + |z|⁵/(3·5) + …), summed until a term below
// 1e-11 has been added; beyond ±7 the value is ±0.5.
double laplacePhi0(double z) {
  if (std::isnan(z)) return z;
  if (z > kNormalBound) return 0.5;
  if (z < -kNormalBound) return -0.5;
  const double a = std::fabs(z);
  const double z2 = z * z;
  double term = a;
  double series = 0;
  for (int k = 1;; ++k) {
    series += term;
    if (term < 1e-11) break;
    term *= z2 / (2 * k + 1);
  }
  const double phi = std::exp(-z2 / 2) / kSqrt2Pi;
  return z < 0 ? -phi * series : phi * series;
}

CLawNorm::CLawNorm(double m, double s) : m_(m), s_(s) {
  if (!(s > 0)) raise("недопустимый параметр нормального закона");
  densityFactor_ = 1 / (s * kSqrt2Pi);
}

ValuePtr CLawNorm::copy() const { return std::make_unique<CLawNorm>(m_, s_); }

double CLawNorm::pl(double x) const { return 0.5 + laplacePhi0((x - m_) / s_); }

double CLawNorm::den(double x) const {
  const double z = (x - m_) / s_;
  return densityFactor_ * std::exp(-z * z / 2);
}

// Bisection for z on [−7, 7] comparing Φ0(z) with p − 0.5.
double CLawNorm::quantile(double p) const {
  const double target = p - 0.5;
  double lo = -kNormalBound;
  double hi = kNormalBound;
  double mid = 0;
  for (int i = 0; i < kNormalHalvings; ++i) {
    mid = (lo + hi) / 2;
    const double value = laplacePhi0(mid);
    if (value == target) break;
    if (value < target) lo = mid;
    else hi = mid;
  }
  return m_ + s_ * mid;
}

double CLawNorm::invpl(double p) const {
  if (!(p >= 1e-6 && p <= 0.999999)) raise("недопустимое значение аргумента");
  return quantile(p);
}

double CLawNorm::draw() const {
  const double u1 = uniformRandom();
  const double u2 = uniformRandom();
  return m_ + s_ * std::cos(2 * kPi * u1) * std::sqrt(-2 * std::log(1 - u2));
}

CLawUnifCont::CLawUnifCont(double a, double b) : a_(a), b_(b) {
  if (!(a < b)) raise("недопустимые параметры равномерного распределения");
  density_ = 1 / (b - a);
}

ValuePtr CLawUnifCont::copy() const { return std::make_unique<CLawUnifCont>(a_, b_); }

double CLawUnifCont::pl(double x) const {
  if (x < a_) return 0;
  if (x > b_) return 1;
  return (x - a_) / (b_ - a_);
}

double CLawUnifCont::den(double x) const {
  return x >= a_ && x <= b_ ? density_ : 0;
}

CExpLaw::CExpLaw(double rate) : rate_(rate) {
  if (!(rate > 0)) raise("explaw: недопустимый параметр");
}

ValuePtr CExpLaw::copy() const { return std::make_unique<CExpLaw>(rate_); }

double CExpLaw::pl(double x) const { return x > 0 ? 1 - std::exp(-rate_ * x) : 0; }

double CExpLaw::den(double x) const { return x > 0 ? rate_ * std::exp(-rate_ * x) : 0; }

double CExpLaw::quantile(double p) const { return -std::log(1 - p) / rate_; }

}  // namespace tesmora
