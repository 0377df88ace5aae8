// The laws of sample statistics: Fisher's F, Student's t and chi-square.
// Their distribution functions integrate the density numerically; F and
// Student keep the last argument and value so that a run of nearby
// queries (a quantile search, a table of values) integrates only the
// stretch between successive arguments.
#pragma once

#include "values/LawsContinuous.h"

namespace tesmora {

// The integration state of a law's distribution function.
struct DistributionCache {
  int depth = 0;            // nesting of interval splits
  int calls = 0;            // pl calls since the cache last started over
  double lastArgument = 0;
  double lastValue = 0;
};

class CFisher final : public CContLaw {
 public:
  CFisher(double n1, double n2);
  ValuePtr copy() const override;
  double pl(double x) const override;
  double den(double x) const override;
  double quantile(double p) const override;
  double invpl(double p) const override { return quantile(p); }
  double draw() const override;
  double mean() const override;
  double variance() const override;

 private:
  mutable DistributionCache cache_;
  double n1_;
  double n2_;
  double c_ = 0;
};

class CStudent final : public CContLaw {
 public:
  explicit CStudent(double n);
  ValuePtr copy() const override;
  double pl(double x) const override;
  double den(double x) const override;
  double quantile(double p) const override;
  double invpl(double p) const override { return quantile(p); }
  double draw() const override;
  double mean() const override { return 0; }
  double variance() const override;

 private:
  mutable DistributionCache cache_;
  double n_;
  double c_ = 0;
};

class CChisq final : public CContLaw {
 public:
  explicit CChisq(double n);
  ValuePtr copy() const override;
  double pl(double x) const override;
  double den(double x) const override;
  double quantile(double p) const override;
  double invpl(double p) const override { return quantile(p); }
  double draw() const override;
  double mean() const override { return n_; }
  double variance() const override { return 2 * n_; }

 private:
  mutable DistributionCache cache_;
  double n_;
  double c_ = 0;
};

}  // namespace tesmora
