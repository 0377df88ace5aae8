#include "values/Arithmetic.h"

#include <cmath>
#include <cstdint>

#include "interp/Errors.h"

namespace tesmora {
namespace {

bool isInt32(double x) {
  return x >= -2147483648.0 && x <= 2147483647.0 && x == std::floor(x);
}

}  // namespace

double powerRule(double a, double b) {
  double result;
  if (a >= 0) {
    result = std::pow(a, b);
  } else {
    int i = 1;
    while (i < 1000 && std::floor(i * b) != i * b) ++i;
    if (i % 2 == 0) raise("операция '^' не определена");
    const double d = i * b;
    result = std::pow(-a, b);
    if (std::fmod(d, 2.0) != 0) result = -result;
  }
  if (std::isinf(result) && std::isfinite(a) && std::isfinite(b)) {
    raise("операция '^' не определена");
  }
  return result;
}

double integerRemainder(double a, double b) {
  if (!isInt32(a) || !isInt32(b) || a < 0 || b <= 0) {
    raise("Операция '%' не определена");
  }
  return static_cast<double>(static_cast<std::int32_t>(a) % static_cast<std::int32_t>(b));
}

double checkedDivide(double a, double b) {
  if (b == 0) raise("деление на ноль");
  return a / b;
}

}  // namespace tesmora
