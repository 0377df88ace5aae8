// The incomplete beta and gamma functions behind the F, Student and
// chi-square laws, built in log space so that any degrees of freedom give
// finite, accurate values, and evaluated by continued fractions from
// whichever end of the range converges, so that both tails keep their
// relative accuracy and every probability stays in [0, 1].
#pragma once

namespace tesmora {

// log(1 + t) − t, accurate also for small t (where both terms cancel).
double log1pMinusX(double t);

// The regularized incomplete beta function I_x(a, b) for fixed a, b > 0.
// Arguments come as a pair x, y with x + y = 1 computed separately by the
// caller, so that an argument close to 1 keeps the digits of its
// complement.
class IncompleteBeta {
 public:
  IncompleteBeta(double a, double b);
  // False when the shape parameters give no finite constants.
  bool valid() const;
  // ln(x^a · y^b / B(a, b)).
  double logPowerTerm(double x, double y) const;
  // I_x(a, b) and 1 − I_x(a, b); not a number when the continued fraction
  // does not converge.
  double lower(double x, double y) const;
  double upper(double x, double y) const;
  // ln B(a, b); accurate also when one shape is huge and the other small.
  double logBeta() const { return logBeta_; }

 private:
  // I_x(a, b) when x lies below the mean-like point, where the continued
  // fraction converges fast; `swapped` evaluates I_y(b, a) instead.
  double fraction(double x, double y, bool swapped) const;
  bool converges(double x) const;

  double a_;
  double b_;
  double logBeta_;        // ln B(a, b), for the form with a small shape
  double stirlingRest_;   // δ(a) + δ(b) − δ(a + b), for two large shapes
};

// The regularized incomplete gamma functions P(k, y) and Q(k, y) = 1 − P.
class IncompleteGamma {
 public:
  explicit IncompleteGamma(double k);
  bool valid() const;
  // k·ln y − y − ln Γ(k).
  double logPowerTerm(double y) const;
  double lower(double y) const;
  double upper(double y) const;

 private:
  double series(double y) const;    // P by its power series, y < k + 1
  double fraction(double y) const;  // Q by its continued fraction, y ≥ k + 1

  double k_;
  double logGamma_;
};

}  // namespace tesmora
