// Builtins of numbers: rounding and integer arithmetic.
#include <cmath>
#include <cstdint>

#include "builtins/Rows.h"
#include "values/Arithmetic.h"
#include "values/Rounding.h"

namespace tesmora {
namespace {

bool isInt32(double x) {
  return x >= -2147483648.0 && x <= 2147483647.0 && x == std::floor(x);
}

// round(x, k): x to k decimals (0..15), halves upwards.
double roundTo(double x, double k) {
  if (!(k >= 0 && k <= 15 && k == std::floor(k))) {
    raise("round: недопустимое значение точности");
  }
  return roundToStep(x, std::pow(0.1, k));
}

// fmod(a, b): a - b·floor(a/b), always in [0, b) for b > 0.
double floorRemainder(double a, double b) {
  if (!(b > 0)) raise("fmod: недопустимое значение второго аргумента");
  return a - b * std::floor(a / b);
}

// powmod(a, b, m): a^b mod m by square-and-multiply in 64 bits.
double powerModulo(double a, double b, double m) {
  if (!isInt32(a) || !isInt32(b) || !isInt32(m) || a < 0 || b <= 0 || m <= 0) {
    raise("powmod: недопустимые значения аргументов");
  }
  std::int64_t result = 1;
  std::int64_t base = static_cast<std::int64_t>(a);
  std::int64_t exponent = static_cast<std::int64_t>(b);
  const std::int64_t modulus = static_cast<std::int64_t>(m);
  while (exponent > 0) {
    if (exponent % 2 == 1) result = (base * result) % modulus;
    base = (base * base) % modulus;
    exponent /= 2;
  }
  return static_cast<double>(result);
}

constexpr BuiltinRow kRows[] = {
    row<SF_DD, floorRemainder>("fmod"),
    row<SF_DD, integerRemainder>("mod"),
    row<SF_DDD, powerModulo>("powmod"),
    row<SF_DD0, roundTo>("round"),
};

}  // namespace

std::span<const BuiltinRow> numberBuiltins() { return kRows; }

}  // namespace tesmora
