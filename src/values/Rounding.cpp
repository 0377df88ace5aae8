#include "values/Rounding.h"

#include <cmath>

namespace tesmora {

double roundToStep(double a, double d) {
  if (std::fabs(a) > 1e15) return a;
  if (std::fabs(a) > 1) {
    const double f = std::floor(a);
    return f + d * std::floor((a - f) / d + 0.5);
  }
  return d * std::floor(a / d + 0.5);
}

}  // namespace tesmora
