#include "values/CLaw.h"

#include "interp/Errors.h"
#include "values/Matrix.h"
#include "values/Random.h"
#include "values/Scalar.h"

namespace tesmora {

ValuePtr CLaw::call(int count, Args args) {
  if (count > 2) raise("слишком много аргументов");
  for (int i = 0; i < count; ++i) {
    if (args[i]->typeCode != kScalarType) raise("несоответствие типа аргумента");
  }
  if (count == 0) return makeNumber(draw());
  auto draws = count == 1
                   ? Matrix::column(numberOf(*args[0]))
                   : Matrix::fromSizes(numberOf(*args[0]), numberOf(*args[1]));
  for (int i = 0; i < draws->count(); ++i) (*draws)[i] = draw();
  return draws;
}

ValuePtr CLaw::valefr(double) const { raise("valefr: метод не определен"); }
ValuePtr CLaw::rvalefr(double, double, double) const {
  raise("rvalefr: метод не определен");
}
ValuePtr CLaw::dlpoints(double, double) const {
  raise("dlpoints: метод не определен");
}
double CLaw::pe(double) const { raise("метод не определен"); }
double CLaw::pl(double) const { raise("метод не определен"); }
double CLaw::quantile(double) const { raise("метод не определен"); }
double CLaw::den(double) const { raise("метод не определен"); }

double CLaw::invpl(double p) const {
  if (p < 0 || p > 1) raise("недопустимое значение вероятности");
  return quantile(p);
}

double CLaw::draw() const { return quantile(uniformRandom()); }

}  // namespace tesmora
