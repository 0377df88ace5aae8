#include "builtins/Numerics.h"

#include <cmath>
#include <utility>

#include "interp/Cancellation.h"
#include "values/EliminationKernel.h"

namespace tesmora {
namespace {

constexpr int kBisectionSteps = 50;
constexpr double kNegligiblePivot = 1e-300;
// Simpson's rule looks for a stop once per this many function values: a
// poll costs next to nothing beside a call, and a stop still takes effect
// within microseconds.
constexpr int kValuesPerPoll = 4096;

// The row at or below `column` with the largest magnitude in that column.
int pivotRow(const std::vector<double>& a, int n, int column) {
  int best = column;
  for (int r = column + 1; r < n; ++r) {
    if (std::fabs(a[r * n + column]) > std::fabs(a[best * n + column])) best = r;
  }
  return best;
}

void swapRows(std::vector<double>& a, int n, int r1, int r2) {
  for (int c = 0; c < n; ++c) std::swap(a[r1 * n + c], a[r2 * n + c]);
}

}  // namespace

double determinant(std::vector<double> a, int n) {
  double result = 1;
  for (int k = 0; k < n; ++k) {
    pollStop();
    const int p = pivotRow(a, n, k);
    if (!(std::fabs(a[p * n + k]) >= kNegligiblePivot)) return 0;
    if (p != k) {
      swapRows(a, n, p, k);
      result = -result;
    }
    const double pivot = a[k * n + k];
    result *= pivot;
    for (int c = k; c < n; ++c) a[k * n + c] /= pivot;
    // Every row below takes x − factor·p right of column k, its factor the
    // number in column k (which nothing reads again); the vector kernel
    // rounds each product and difference as this loop always did.
    if (k + 1 < n) {
      double* below = a.data() + std::size_t(k + 1) * n;
      subtractSteps(below + k + 1, std::size_t(n), n - k - 1, below + k,
                    a.data() + std::size_t(k) * n + k + 1, 0, 1, n - k - 1);
    }
  }
  return result;
}

bool choleskyUpper(const std::vector<double>& a, int n, std::vector<double>& u) {
  u.assign(static_cast<std::size_t>(n) * n, 0.0);
  for (int i = 0; i < n; ++i) {
    pollStop();
    double d = a[i * n + i];
    for (int j = 0; j < i; ++j) d -= u[j * n + i] * u[j * n + i];
    if (!(d >= 0)) return false;
    const double diagonal = std::sqrt(d);
    u[i * n + i] = diagonal;
    for (int k = i + 1; k < n; ++k) {
      double s = a[i * n + k];
      for (int l = 0; l < i; ++l) s -= u[l * n + i] * u[l * n + k];
      // A zero remainder leaves nothing to divide only when s is zero too.
      if (diagonal == 0 && s != 0) return false;
      u[i * n + k] = diagonal == 0 ? 0 : s / diagonal;
    }
  }
  return true;
}

double simpson(const RealFunction& f, double a, double b, int n) {
  const double h = (b - a) / n;
  double odd = 0;
  double even = 0;
  for (int i = 1; i < n; ++i) {
    if (i % kValuesPerPoll == 0) pollStop();
    const double y = f(a + i * h);
    if (i % 2 == 1) odd += y;
    else even += y;
  }
  return (b - a) / (3.0 * n) * (f(a) + f(b) + 4 * odd + 2 * even);
}

double bisect(const RealFunction& residual, double a, double b, double residualA) {
  double middle = (a + b) / 2;
  for (int step = 0; step < kBisectionSteps; ++step) {
    pollStop();
    middle = (a + b) / 2;
    const double r = residual(middle);
    if (r == 0) break;
    if (sameStrictSign(r, residualA)) {
      a = middle;
      residualA = r;
    } else {
      b = middle;
    }
  }
  return middle;
}

bool sameStrictSign(double x, double y) { return (x > 0 && y > 0) || (x < 0 && y < 0); }

}  // namespace tesmora
