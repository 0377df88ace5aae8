// A number. Also a one-point law: drawing from it gives the number itself.
#pragma once

#include "values/CLaw.h"

namespace tesmora {

class Scalar final : public CLaw {
 public:
  explicit Scalar(double value) : CLaw(kScalarType), value(value) {}
  double value;

  ValuePtr copy() const override { return std::make_unique<Scalar>(value); }
  int literalClass() const override { return kMatrixType; }
  double draw() const override { return value; }

  // Numbers are the most frequent values of all: a free list keeps their
  // allocation off the heap's slow path in loops.
  static void* operator new(std::size_t size);
  static void operator delete(void* block, std::size_t size);
};

inline ValuePtr makeNumber(double value) {
  return std::make_unique<Scalar>(value);
}

// The number of a value known to be a Scalar.
inline double numberOf(const MatObject& value) {
  return static_cast<const Scalar&>(value).value;
}

}  // namespace tesmora
