#include "builtins/GammaFunctions.h"

#include <algorithm>
#include <cmath>

#include "interp/Errors.h"

namespace tesmora {
namespace {

constexpr double kLargestFactorialArgument = 170;
constexpr int kKolmogorovTerms = 29;
constexpr double kKolmogorovSmallX = 1.18;
constexpr int kKolmogorovSmallTerms = 8;
constexpr double kKolmogorovUpperBound = 4;
constexpr double kCriticalLevelLow = 1e-6;
constexpr double kCriticalLevelHigh = 0.999999;
constexpr int kBisectionSteps = 50;

bool isWholeNumber(double x) { return std::floor(x) == x; }

// n! in extended precision, after the fa checks.
long double extendedFactorial(double n) {
  if (!isWholeNumber(n) || n < 0 || n > kLargestFactorialArgument) {
    raise("fa: недопустимое значение");
  }
  long double product = 1;
  for (int k = static_cast<int>(n); k >= 2; --k) product *= k;
  return product;
}

void checkLnfaArgument(double n) {
  // The count of logarithms must fit the loop counter; a larger n would
  // also take far too long to sum.
  if (!isWholeNumber(n) || n < 0 || n > 2e9) raise("lnfa: недопустимое значение");
}

// exp as the runtime reports it: an overflow from a finite power stops the
// program under the name exp, as the builtin exp does.
double checkedExp(double power) {
  const double result = std::exp(power);
  if (std::isinf(result) && std::isfinite(power)) {
    raiseAbout("exp", "значение функции слишком велико");
  }
  return result;
}

}  // namespace

double lngammaOf(double x) {
  if (x <= 0) raise("lngamma: недопустиное значение аргумента");
  const double r = x + 5.5;
  const double s = 1.000000000190015 + 76.18009172947146 / (x + 1) -
                   86.50532032941677 / (x + 2) + 24.01409824083091 / (x + 3) -
                   1.231739572450155 / (x + 4) + 0.001208650973866179 / (x + 5) -
                   0.000005395239384953 / (x + 6);
  return std::log(2.5066282746310005 * s / x) - (r - (x + 0.5) * std::log(r));
}

double gammaOf(double x) {
  if (x <= 0) raise("gamma: недопустиное значение аргумента");
  return checkedExp(lngammaOf(x));
}

double factorial(double n) { return static_cast<double>(extendedFactorial(n)); }

double lnfa(double n) {
  checkLnfaArgument(n);
  double sum = 0;
  const auto last = static_cast<long long>(n);
  for (long long k = 2; k <= last; ++k) sum += std::log(static_cast<double>(k));
  return sum;
}

std::vector<double> lnfaTable(double n) {
  checkLnfaArgument(n);
  const auto last = static_cast<long long>(n);
  std::vector<double> table(static_cast<std::size_t>(last) + 1, 0.0);
  double sum = 0;
  for (long long k = 2; k <= last; ++k) {
    sum += std::log(static_cast<double>(k));
    table[static_cast<std::size_t>(k)] = sum;
  }
  return table;
}

double binomial(double n, double k) {
  if (n < 0) raise("cbin:  недопустимое значение");
  if (n < k) return 0;
  const long double whole = extendedFactorial(n);
  const long double chosen = extendedFactorial(k);
  const long double rest = extendedFactorial(n - k);
  return static_cast<double>(whole / (chosen * rest));
}

double betaOf(double a, double b) {
  return checkedExp(lngammaOf(a) + lngammaOf(b) - lngammaOf(a + b));
}

// Below kKolmogorovSmallX the alternating series converges slowly and its
// 29 terms exceed 1; there the dual form
// Q(x) = 1 − √(2π)/x · Σ_{k≥1} exp(−(2k − 1)²π²/(8x²)) converges in a few
// terms, gives Q(0) = 1 and stays in [0, 1].
double kolmogorovQ(double x) {
  if (x < 0) raise("pvKolm: недопустимое значение аргумента");
  if (x > kKolmogorovUpperBound) return 0;
  if (x < kKolmogorovSmallX) {
    if (x == 0) return 1;
    const double pi = 3.14159265358979323846;
    const double scale = -pi * pi / (8 * x * x);
    double sum = 0;
    for (int k = 1; k <= kKolmogorovSmallTerms; ++k) {
      const double odd = 2.0 * k - 1;
      sum += std::exp(odd * odd * scale);
    }
    return std::clamp(1 - std::sqrt(2 * pi) / x * sum, 0.0, 1.0);
  }
  double sum = 0;
  double sign = 1;
  for (int k = 1; k <= kKolmogorovTerms; ++k) {
    sum += sign * std::exp(-2.0 * k * k * x * x);
    sign = -sign;
  }
  return 2 * sum;
}

double kolmogorovCritical(double alpha) {
  if (alpha < kCriticalLevelLow || alpha > kCriticalLevelHigh) {
    raise("crKolm: недопустимое значение аргумента");
  }
  double low = 0;
  double high = kKolmogorovUpperBound;
  const double residualLow = kolmogorovQ(low) - alpha;
  const double residualHigh = kolmogorovQ(high) - alpha;
  // Written so that a not-a-number level finds no sign change either.
  if (!(residualLow * residualHigh < 0)) raise("crKolm: ошибка");
  double middle = low;
  for (int step = 0; step < kBisectionSteps; ++step) {
    middle = (low + high) / 2;
    const double residual = kolmogorovQ(middle) - alpha;
    if (residual == 0) break;
    if ((residual < 0) == (residualLow < 0)) {
      low = middle;
    } else {
      high = middle;
    }
  }
  return middle;
}

}  // namespace tesmora
