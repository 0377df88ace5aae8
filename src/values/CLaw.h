// Probability laws. A law is a value that can be asked for probabilities,
// quantiles and its density, and called to draw random values. A number is
// a degenerate law (a one-point law whose every draw is the number), which
// is why Scalar derives from CLaw.
#pragma once

#include "values/MatObject.h"

namespace tesmora {

class CLaw : public MatObject {
 public:
  explicit CLaw(int typeCode = kLawType) : MatObject(typeCode) {}

  // Calling a law draws: x() one value, x(n) a column of n, x(m, n) a
  // matrix filled in storage order.
  ValuePtr call(int count, Args args) override;

  // Number of distinct values of a finite discrete law; 0 for others.
  virtual int valueCount() const { return 0; }
  // Tables for plotting, defined only for discrete laws.
  virtual ValuePtr valefr(double x) const;
  virtual ValuePtr rvalefr(double a, double b, double c) const;
  virtual ValuePtr dlpoints(double a, double b) const;

  virtual double pe(double x) const;  // P(X = x)
  virtual double pl(double x) const;  // P(X < x)
  virtual double ple(double x) const { return pl(x) + pe(x); }
  virtual double pg(double x) const { return 1 - pl(x) - pe(x); }
  virtual double pgl(double a, double b) const { return pl(b) - ple(a); }
  virtual double pgel(double a, double b) const { return pl(b) - pl(a); }
  virtual double pgle(double a, double b) const { return ple(b) - ple(a); }
  virtual double pgele(double a, double b) const { return ple(b) - pl(a); }

  // The inverse of the distribution function, without argument check.
  virtual double quantile(double p) const;
  virtual double invpl(double p) const;
  virtual double qmin(double p) const { return invpl(p); }
  virtual double qmax(double p) const { return invpl(p); }
  virtual double q(double p) const { return invpl(p); }
  virtual double den(double x) const;

  // Whether probabilities, quantiles and the density may be asked from
  // several threads at once: true for laws that keep no state between
  // calls and run no user code.
  virtual bool methodsSafeFromThreads() const { return false; }

  // One random value; by default the inverse transform of a uniform draw.
  virtual double draw() const;
};

}  // namespace tesmora
