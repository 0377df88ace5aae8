// Continuous laws: no single value has a positive probability, so the
// probability of a point is 0 and every interval query is a difference of
// the distribution function. The normal, uniform and exponential laws
// live here; the F, Student and chi-square laws in LawsSampling.h.
#pragma once

#include "values/CLaw.h"

namespace tesmora {

class CContLaw : public CLaw {
 public:
  bool methodsSafeFromThreads() const override { return true; }
  double pe(double) const override { return 0; }
  double ple(double x) const override { return pl(x); }
  double pg(double x) const override { return 1 - pl(x); }
  double pgl(double a, double b) const override { return pl(b) - pl(a); }
  double pgle(double a, double b) const override { return pl(b) - pl(a); }
  double pgele(double a, double b) const override { return pl(b) - pl(a); }
};

// The Laplace function: the standard normal probability of [0, z].
double laplacePhi0(double z);

// Normal law with mean m and standard deviation s > 0.
class CLawNorm final : public CContLaw {
 public:
  CLawNorm(double m, double s);
  ValuePtr copy() const override;
  double pl(double x) const override;
  double den(double x) const override;
  double quantile(double p) const override;
  double invpl(double p) const override;
  double draw() const override;
  double mean() const override { return m_; }
  double variance() const override { return s_ * s_; }
  double stdDev() const override { return s_; }

 private:
  double m_;
  double s_;
  double densityFactor_;  // 1/(s·√(2π))
};

// Continuous uniform law on [a, b], a < b.
class CLawUnifCont final : public CContLaw {
 public:
  CLawUnifCont(double a, double b);
  ValuePtr copy() const override;
  double pl(double x) const override;
  double den(double x) const override;
  double quantile(double p) const override { return a_ + (b_ - a_) * p; }
  double mean() const override { return (a_ + b_) / 2; }
  double variance() const override { return (a_ - b_) * (a_ - b_) / 12; }

 private:
  double a_;
  double b_;
  double density_;  // 1/(b − a)
};

// Exponential law with rate λ > 0.
class CExpLaw final : public CContLaw {
 public:
  explicit CExpLaw(double rate);
  ValuePtr copy() const override;
  double pl(double x) const override;
  double den(double x) const override;
  double quantile(double p) const override;
  double mean() const override { return 1 / rate_; }
  double variance() const override { return 1 / (rate_ * rate_); }

 private:
  double rate_;
};

}  // namespace tesmora
