#include "values/MatObject.h"

#include <cmath>

#include "interp/Errors.h"
#include "values/Matrix.h"
#include "values/Scalar.h"

namespace tesmora {

ValuePtr MatObject::call(int, Args) { raise("операция '()' не определена"); }
ValuePtr MatObject::elementAt(int) const {
  raise("операция '()' не определена");
}
ValuePtr MatObject::copy() const { raise("дублирование не определено"); }
double MatObject::mean() const { raise("Среднее не определено"); }
double MatObject::variance() const { raise("Дисперсия не определена"); }
double MatObject::stdDev() const { return std::sqrt(variance()); }
void MatObject::setElement(int, Args) { raise("Объект не имеет элементов"); }
ValuePtr MatObject::elementAtRC(int, int) const {
  raise("Объект не имеет элементов");
}

ValuePtr Popped::takeOrCopy() {
  if (value_ && value_->isTemporary()) {
    ValuePtr owned(value_);
    value_ = nullptr;
    return owned;
  }
  return value_->copy();
}

// s(k): the text read as numbers of k bytes each, first byte most
// significant, missing bytes past the end counting as 0.
ValuePtr String::call(int count, Args args) {
  if (count < 1) raise("слишком мало аргументов");
  if (count > 1) raise("слишком много аргументов");
  if (args[0]->typeCode != kScalarType) raise("несоответствие типа аргумента");
  const double width = std::trunc(numberOf(*args[0]));
  if (width != 1 && width != 2) raise("Недопустимый аргумент строки");
  const int k = static_cast<int>(width);
  const int length = static_cast<int>(text.size());
  const int n = (length + k - 1) / k;
  auto codes = Matrix::create(1, n);
  for (int i = 0; i < n; ++i) {
    double number = 0;
    for (int j = 0; j < k; ++j) {
      const int pos = i * k + j;
      const unsigned char byte =
          pos < length ? static_cast<unsigned char>(text[pos]) : 0;
      number = number * 256 + byte;
    }
    (*codes)[i] = number;
  }
  return codes;
}

}  // namespace tesmora
