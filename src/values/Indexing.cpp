#include "values/Indexing.h"

#include <cmath>

#include "interp/Errors.h"
#include "values/Scalar.h"

namespace tesmora {

bool isNonNegativeInteger(double x) { return x >= 0 && x == std::floor(x); }

int readIndex(double x, int limit) {
  const double t = std::trunc(x);
  if (!(t >= 1 && t <= limit)) raise("недопустимый индекс");
  return static_cast<int>(t) - 1;
}

int assignIndex(const MatObject& target, const MatObject& index, int limit) {
  if (index.typeCode != kScalarType) raise("недопустимый тип индекса");
  const double i = numberOf(index) - 1;
  if (!(i >= 0 && i < limit && i == std::floor(i))) {
    raiseAbout(target.variableName ? target.variableName : "", "недопустимый индекс");
  }
  return static_cast<int>(i);
}

}  // namespace tesmora
