// Numeric routines behind the matrix and function-argument builtins: the
// determinant, the Cholesky factor, Simpson's rule and bisection. They work
// on plain row-major arrays and callables, so they can be checked apart
// from the interpreter; the builtins turn their failures into messages.
// The long loops poll for a stop (interp/Cancellation.h), which does nothing
// outside a run.
#pragma once

#include <functional>
#include <vector>

namespace tesmora {

// A real function of one number.
using RealFunction = std::function<double(double)>;

// The determinant of the n×n matrix `a` (row-major, taken by value as the
// working copy): Gaussian elimination with partial pivoting; a pivot column
// whose largest magnitude is below 1e-300 makes the determinant 0.
double determinant(std::vector<double> a, int n);

// The upper triangular u (row-major, n×n, zeros below the diagonal) with
// uᵀu = a. Returns false when a is not positive semidefinite: a negative
// diagonal remainder, or a zero one that would have to divide a non-zero
// value.
bool choleskyUpper(const std::vector<double>& a, int n, std::vector<double>& u);

// Composite Simpson's rule for f over [a, b] with an even n > 0 intervals.
double simpson(const RealFunction& f, double a, double b, int n);

// Bisection on [a, b] for a zero of `residual`, whose value at a is
// residualA: 50 halvings; the midpoint replaces the end whose residual has
// the midpoint's sign, and an exact zero stops early. Returns the last
// midpoint.
double bisect(const RealFunction& residual, double a, double b, double residualA);

// True when x and y are both strictly positive or both strictly negative.
bool sameStrictSign(double x, double y);

}  // namespace tesmora
