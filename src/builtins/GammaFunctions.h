// Special functions on plain numbers: gamma and its logarithm, factorials,
// binomial coefficients, beta and the Kolmogorov distribution. The builtins
// of the same names and the probability laws both call these; every
// invalid argument raises the builtin's own message (interp/Errors.h).
#pragma once

#include <vector>

namespace tesmora {

// ln Γ(x) by the six-coefficient Lanczos approximation.
// x ≤ 0: "lngamma: недопустиное значение аргумента".
double lngammaOf(double x);

// Γ(x) = exp(lngammaOf(x)). x ≤ 0: "gamma: недопустиное значение аргумента";
// an overflow of exp (x above about 171.6): "значение функции слишком
// велико" under the name exp.
double gammaOf(double x);

// n! as the product n·(n − 1)·…·2 accumulated in extended precision.
// n not an integer from 0 to 170: "fa: недопустимое значение".
double factorial(double n);

// ln n! as the sum ln 2 + ln 3 + … + ln n, for integers n ≥ 0.
// Otherwise: "lnfa: недопустимое значение".
double lnfa(double n);

// lnfa(0), lnfa(1), …, lnfa(n) in one pass; element k equals lnfa(k) to the
// last bit, since both add the same logarithms in the same order.
// n as for lnfa.
std::vector<double> lnfaTable(double n);

// The binomial coefficient fa(n)/(fa(k)·fa(n − k)); 0 when n < k.
// n < 0: "cbin:  недопустимое значение"; the fa checks apply to n, k, n − k.
double binomial(double n, double k);

// B(a, b) = exp(lngamma(a) + lngamma(b) − lngamma(a + b)), with the
// lngamma checks and the exp overflow of gammaOf.
double betaOf(double a, double b);

// The Kolmogorov tail probability Q(x) = 2·Σ_{k=1..29} (−1)^(k−1)·exp(−2k²x²)
// from x = 1.18 on, its small-x form below (Q(0) = 1), 0 for x > 4; always
// in [0, 1]. x < 0: "pvKolm: недопустимое значение аргумента".
double kolmogorovQ(double x);

// The x in [0, 4] with kolmogorovQ(x) = alpha, by 50 bisection steps.
// alpha outside [1e-6, 0.999999]: "crKolm: недопустимое значение аргумента";
// no sign change on [0, 4]: "crKolm: ошибка".
double kolmogorovCritical(double alpha);

}  // namespace tesmora
