// The laws of sample statistics: Fisher's F, Student's t and chi-square.
// Their distribution functions are the regularized incomplete beta and
// gamma functions, evaluated from whichever tail keeps its digits, so a
// result always lies in [0, 1], grows with the argument and does not
// depend on earlier calls. Quantiles bisect the unrounded distribution
// function and round only the result.
#pragma once

#include "values/LawsContinuous.h"
#include "values/LawsIncomplete.h"

namespace tesmora {

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
  // P(X < x) before rounding.
  double cdf(double x) const;

 private:
  double n1_;
  double n2_;
  IncompleteBeta beta_;  // I(n1/2, n2/2)
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
  double cdf(double x) const;

 private:
  double n_;
  IncompleteBeta beta_;  // I(n/2, 1/2)
  double logNorm_ = 0;   // ln(√n·B(n/2, 1/2))
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
  double cdf(double x) const;

 private:
  double n_;
  IncompleteGamma gamma_;  // P(n/2, ·)
};

}  // namespace tesmora
