#include "values/LawsContinuous.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "interp/Errors.h"
#include "values/Random.h"

namespace tesmora {
namespace {

const double kPi = 3.14159265358979323846;
const double kSqrt2Pi = std::sqrt(2 * kPi);

const double kSqrtHalf = std::sqrt(0.5);
// The standard normal distribution function is 0 or 1 beyond ±7.
constexpr double kNormalBound = 7;

constexpr int kRandomRange = 32768;

// cos(2π·u) and √(−2·ln(1 − u)) for every uniform variate u = (r + 1)/32769.
struct NormalDrawTables {
  std::array<double, kRandomRange> cosine;
  std::array<double, kRandomRange> radius;
  NormalDrawTables() {
    for (int r = 0; r < kRandomRange; ++r) {
      const double u = (r + 1) / 32769.0;
      cosine[r] = std::cos(2 * kPi * u);
      radius[r] = std::sqrt(-2 * std::log(1 - u));
    }
  }
};

}  // namespace

// Φ0(z) = erf(z/√2)/2; beyond ±7 the value is ±0.5.
double laplacePhi0(double z) {
  if (std::isnan(z)) return z;
  if (z > kNormalBound) return 0.5;
  if (z < -kNormalBound) return -0.5;
  return 0.5 * std::erf(z * kSqrtHalf);
}

namespace {

// Φ(z) = 0.5 + Φ0(z), taken as erfc(−z/√2)/2 so that the lower tail keeps
// its relative accuracy.
double normalCdf(double z) {
  if (std::isnan(z)) return z;
  if (z > kNormalBound) return 1;
  if (z < -kNormalBound) return 0;
  return 0.5 * std::erfc(-z * kSqrtHalf);
}

// The standard normal quantile by Wichura's algorithm AS 241 (PPND16),
// accurate to about 1e-16, clamped to the bracket [−7, 7] in which the
// distribution function is defined.
double normalQuantile(double p) {
  if (std::isnan(p)) return p;
  const double q = p - 0.5;
  double z;
  if (std::fabs(q) <= 0.425) {
    const double r = 0.180625 - q * q;
    z = q * (((((((r * 2509.0809287301226727 + 33430.575583588128105) * r +
                  67265.770927008700853) * r + 45921.953931549871457) * r +
                13731.693765509461125) * r + 1971.5909503065514427) * r +
              133.14166789178437745) * r + 3.387132872796366608) /
        (((((((r * 5226.495278852545925 + 28729.085735721942674) * r +
              39307.89580009271061) * r + 21213.794301586595867) * r +
            5394.1960214247511077) * r + 687.1870074920579083) * r +
          42.313330701600911252) * r + 1);
  } else {
    double r = q < 0 ? p : 1 - p;
    if (!(r > 0)) return q < 0 ? -kNormalBound : kNormalBound;
    r = std::sqrt(-std::log(r));
    if (r <= 5) {
      r -= 1.6;
      z = (((((((r * 7.7454501427834140764e-4 + 0.0227238449892691845833) * r +
                0.24178072517745061177) * r + 1.27045825245236838258) * r +
              3.64784832476320460504) * r + 5.7694972214606914055) * r +
            4.6303378461565452959) * r + 1.42343711074968357734) /
          (((((((r * 1.05075007164441684324e-9 + 5.475938084995344946e-4) * r +
                0.0151986665636164571966) * r + 0.14810397642748007459) * r +
              0.68976733498510000455) * r + 1.6763848301838038494) * r +
            2.05319162663775882187) * r + 1);
    } else {
      r -= 5;
      z = (((((((r * 2.01033439929228813265e-7 + 2.71155556874348757815e-5) * r +
                0.0012426609473880784386) * r + 0.026532189526576123093) * r +
              0.29656057182850489123) * r + 1.7848265399172913358) * r +
            5.4637849111641143699) * r + 6.6579046435011037772) /
          (((((((r * 2.04426310338993978564e-15 + 1.4215117583164458887e-7) * r +
                1.8463183175100546818e-5) * r + 7.868691311456132591e-4) * r +
              0.0148753612908506148525) * r + 0.13692988092273580531) * r +
            0.59983220655588793769) * r + 1);
    }
    if (q < 0) z = -z;
  }
  return std::clamp(z, -kNormalBound, kNormalBound);
}

}  // namespace

CLawNorm::CLawNorm(double m, double s) : m_(m), s_(s) {
  if (!(s > 0)) raise("недопустимый параметр нормального закона");
  densityFactor_ = 1 / (s * kSqrt2Pi);
}

ValuePtr CLawNorm::copy() const { return std::make_unique<CLawNorm>(m_, s_); }

double CLawNorm::pl(double x) const { return normalCdf((x - m_) / s_); }

double CLawNorm::den(double x) const {
  const double z = (x - m_) / s_;
  return densityFactor_ * std::exp(-z * z / 2);
}

double CLawNorm::quantile(double p) const { return m_ + s_ * normalQuantile(p); }

double CLawNorm::invpl(double p) const {
  if (!(p >= 1e-6 && p <= 0.999999)) raise("недопустимое значение аргумента");
  return quantile(p);
}

// m + s·cos(2π·u1)·√(−2·ln(1 − u2)) with u = (r + 1)/32769 for the
// generator's numbers r: each factor takes one of 32768 values, read from
// tables filled with the same expressions, so a draw is two look-ups.
double CLawNorm::draw() const {
  static const NormalDrawTables tables;
  const int r1 = nextRandom();
  const int r2 = nextRandom();
  return m_ + s_ * tables.cosine[r1] * tables.radius[r2];
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
