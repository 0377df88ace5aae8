// The mean-variance frontier of a portfolio without short sales: weights
// w ≥ 0 summing to 1 that minimise ½·w'Cw − λ·r'w for every risk tolerance
// λ. The solution is piecewise linear in λ; its break points are the corner
// portfolios, where an asset enters or leaves the set of held assets.
// Also the small dense toolkit the frontier routines are written with.
#pragma once

#include <stdexcept>
#include <vector>

namespace tesmora {

// A dense row-major table of the frontier routines. Misuse (sizes that do
// not fit) raises "некорректный вызов ..." / "опасный вызов ...".
struct Dense {
  int rows = 0;
  int cols = 0;
  std::vector<double> a;

  Dense() = default;
  Dense(int r, int c) : rows(r), cols(c), a(std::size_t(r) * c, 0.0) {}
  double& at(int r, int c) { return a[std::size_t(r) * cols + c]; }
  double at(int r, int c) const { return a[std::size_t(r) * cols + c]; }
};

Dense product(const Dense& x, const Dense& y);
// Σ x_i·y_i of two tables of the same element count.
double scalProduct(const Dense& x, const Dense& y);
// The rows and columns of x at the given indices.
Dense subMatrix(const Dense& x, const std::vector<int>& rowIndex,
                const std::vector<int>& colIndex);
// The indices of the entries of a vector above the threshold.
std::vector<int> indicesAbove(const Dense& vector, double threshold);

// One corner of the frontier: the risk tolerance λ at which it lies, the
// weights of every asset, its expected return and variance.
struct CornerPortfolio {
  double lambda = 0;
  std::vector<double> weights;
  double expectedReturn = 0;
  double variance = 0;
  int held = 0;
};

// The covariance of the held assets is singular: the frontier cannot be
// traced through it.
struct DegenerateFrontier : std::runtime_error {
  DegenerateFrontier() : std::runtime_error("degenerate frontier") {}
};

// The constants of the trace: no candidate, the starting bound, and the
// margin by which a candidate must beat the best one and stay below the
// previous event.
inline constexpr double kNoCandidate = -1234567890.0;
inline constexpr double kStartingBound = 1234567890.0;
inline constexpr double kEventMargin = 1e-7;

// The corners from the asset of the largest expected return (λ falling
// from the starting bound) down to the asset of the smallest one, so both
// the efficient branch (λ ≥ 0) and the lower branch (λ < 0) are traced.
// r has n entries, c is n×n.
std::vector<CornerPortfolio> traceCorners(const std::vector<double>& r, const Dense& c);

// The frontier portfolio of the given expected return, between the first
// and the last corner: weights interpolated on the segment that holds it.
struct FrontierPoint {
  double lambda = 0;
  std::vector<double> weights;
  double expectedReturn = 0;
  double variance = 0;
};
FrontierPoint pointOfReturn(const std::vector<CornerPortfolio>& corners, const Dense& c,
                            double expectedReturn);
// The frontier portfolio of least variance (λ = 0, or the nearest corner).
FrontierPoint minimumVariance(const std::vector<CornerPortfolio>& corners, const Dense& c);

// On the segment from corner s to corner s + 1 the variance is a quadratic
// in the expected return R: c2·R² + c1·R + c0. Also the weight change per
// unit of return on the segment.
struct SegmentShape {
  double c2 = 0, c1 = 0, c0 = 0;
  std::vector<double> slope;
};
SegmentShape segmentShape(const CornerPortfolio& from, const CornerPortfolio& to,
                          const Dense& c);

// w'Cw.
double portfolioVariance(const std::vector<double>& w, const Dense& c);

}  // namespace tesmora
