#include "values/LawsTwoPoint.h"

#include "interp/Errors.h"
#include "values/Random.h"

namespace tesmora {

CLaw2::CLaw2(double a, double b, double p) : a_(a), b_(b), p_(p) {
  if (!(p >= 0 && p <= 1)) raise("law2: недопустимое значение вероятности");
}

ValuePtr CLaw2::copy() const { return std::make_unique<CLaw2>(a_, b_, p_); }

double CLaw2::draw() const { return uniformRandom() < p_ ? a_ : b_; }

}  // namespace tesmora
