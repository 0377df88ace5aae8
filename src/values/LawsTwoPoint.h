// The two-point law: a with probability p, b otherwise. It only draws;
// every probability, quantile and moment query is left undefined.
#pragma once

#include "values/CLaw.h"

namespace tesmora {

class CLaw2 final : public CLaw {
 public:
  CLaw2(double a, double b, double p);
  ValuePtr copy() const override;
  double draw() const override;

 private:
  double a_;
  double b_;
  double p_;  // probability of a
};

}  // namespace tesmora
