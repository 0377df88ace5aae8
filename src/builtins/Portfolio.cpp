#include "builtins/Portfolio.h"

#include <algorithm>
#include <cmath>

#include "interp/Errors.h"

namespace tesmora {

Dense product(const Dense& x, const Dense& y) {
  if (x.cols != y.rows) raise("некорректный вызов Product");
  Dense result(x.rows, y.cols);
  for (int i = 0; i < x.rows; ++i) {
    for (int j = 0; j < y.cols; ++j) {
      long double sum = 0;
      for (int k = 0; k < x.cols; ++k) sum += static_cast<long double>(x.at(i, k)) * y.at(k, j);
      result.at(i, j) = static_cast<double>(sum);
    }
  }
  return result;
}

double scalProduct(const Dense& x, const Dense& y) {
  if (x.a.size() != y.a.size()) raise("некорректный вызов ScalProduct");
  long double sum = 0;
  for (std::size_t i = 0; i < x.a.size(); ++i) sum += static_cast<long double>(x.a[i]) * y.a[i];
  return static_cast<double>(sum);
}

Dense subMatrix(const Dense& x, const std::vector<int>& rowIndex,
                const std::vector<int>& colIndex) {
  Dense result(static_cast<int>(rowIndex.size()), static_cast<int>(colIndex.size()));
  for (std::size_t i = 0; i < rowIndex.size(); ++i) {
    for (std::size_t j = 0; j < colIndex.size(); ++j) {
      const int r = rowIndex[i];
      const int c = colIndex[j];
      if (r < 0 || r >= x.rows || c < 0 || c >= x.cols) raise("опасный вызов SubMatr");
      result.at(int(i), int(j)) = x.at(r, c);
    }
  }
  return result;
}

std::vector<int> indicesAbove(const Dense& vector, double threshold) {
  if (vector.rows != 1 && vector.cols != 1) raise("Опасный вызов IndPos");
  std::vector<int> result;
  for (std::size_t i = 0; i < vector.a.size(); ++i) {
    if (vector.a[i] > threshold) result.push_back(static_cast<int>(i));
  }
  return result;
}

double portfolioVariance(const std::vector<double>& w, const Dense& c) {
  Dense column(static_cast<int>(w.size()), 1);
  column.a = w;
  return scalProduct(column, product(c, column));
}

namespace {

Dense columnOf(const std::vector<double>& v) {
  Dense result(static_cast<int>(v.size()), 1);
  result.a = v;
  return result;
}

double sumOf(const Dense& v) {
  long double sum = 0;
  for (const double x : v.a) sum += x;
  return static_cast<double>(sum);
}

// On a fixed set F of held assets the weights are w_F = α + λ·β, with
// α = C⁻¹1 / a, β = C⁻¹r − C⁻¹1 · b/a, a = 1'C⁻¹1, b = 1'C⁻¹r; the multiplier
// of the budget is γ(λ) = (1 − λ·b) / a.
struct SetSolution {
  Dense alpha, beta;
  double a = 0, b = 0;
};

SetSolution solveHeldSet(const std::vector<double>& r, const Dense& inverse,
                         const std::vector<int>& held) {
  std::vector<double> heldReturns;
  for (const int i : held) heldReturns.push_back(r[i]);
  const Dense ones = columnOf(std::vector<double>(held.size(), 1.0));
  const Dense inverseOnes = product(inverse, ones);
  const Dense inverseReturns = product(inverse, columnOf(heldReturns));
  SetSolution s;
  s.a = sumOf(inverseOnes);
  s.b = sumOf(inverseReturns);
  if (!(s.a > 0)) throw DegenerateFrontier();
  s.alpha = inverseOnes;
  s.beta = inverseReturns;
  for (std::size_t i = 0; i < held.size(); ++i) {
    s.alpha.a[i] /= s.a;
    s.beta.a[i] -= inverseOnes.a[i] * s.b / s.a;
  }
  return s;
}

// The candidate event: the λ below the previous event at which it happens,
// the best being the largest.
struct Event {
  double lambda = kNoCandidate;
  int asset = -1;
  bool entering = false;
};

void consider(Event& best, double lambda, double previous, int asset, bool entering) {
  if (lambda > best.lambda + kEventMargin && lambda < previous - kEventMargin) {
    best = {lambda, asset, entering};
  }
}

constexpr double kTinySlope = 1e-12;

// A held asset leaves where its weight α_i + λ·β_i reaches 0.
void leavingCandidates(const SetSolution& s, const std::vector<int>& held, double previous,
                       Event& best) {
  if (held.size() < 2) return;
  for (std::size_t i = 0; i < held.size(); ++i) {
    if (std::fabs(s.beta.a[i]) <= kTinySlope) continue;
    consider(best, -s.alpha.a[i] / s.beta.a[i], previous, held[i], false);
  }
}

// An asset not held enters where its multiplier C_jF·w_F − λ·r_j − γ(λ)
// reaches 0.
void enteringCandidates(const std::vector<double>& r, const Dense& c, const SetSolution& s,
                        const std::vector<int>& held, double previous, Event& best) {
  const int n = static_cast<int>(r.size());
  for (int j = 0; j < n; ++j) {
    if (std::find(held.begin(), held.end(), j) != held.end()) continue;
    double atZero = -1 / s.a;
    double slope = -r[j] + s.b / s.a;
    for (std::size_t i = 0; i < held.size(); ++i) {
      atZero += c.at(j, held[i]) * s.alpha.a[i];
      slope += c.at(j, held[i]) * s.beta.a[i];
    }
    if (std::fabs(slope) <= kTinySlope) continue;
    consider(best, -atZero / slope, previous, j, true);
  }
}

// The inverse of the held assets' covariance follows the set: bordered by
// one row and column when an asset enters, shrunk when one leaves, so an
// event costs the square of the held count instead of its cube. A Schur
// complement that is not clearly positive means the held covariance is
// singular.
double scaleOf(const Dense& c) {
  double scale = 0;
  for (const double v : c.a) scale = std::max(scale, std::fabs(v));
  return scale;
}

constexpr double kSingularRatio = 1e-12;

Dense inverseWithAsset(const Dense& inverse, const Dense& c, const std::vector<int>& held,
                       int asset) {
  const int f = static_cast<int>(held.size());
  Dense border(f, 1);
  for (int i = 0; i < f; ++i) border.a[i] = c.at(held[i], asset);
  const Dense u = product(inverse, border);
  const double schur = c.at(asset, asset) - scalProduct(border, u);
  if (!(schur > kSingularRatio * scaleOf(c))) throw DegenerateFrontier();
  Dense result(f + 1, f + 1);
  for (int i = 0; i < f; ++i) {
    for (int j = 0; j < f; ++j) result.at(i, j) = inverse.at(i, j) + u.a[i] * u.a[j] / schur;
    result.at(i, f) = result.at(f, i) = -u.a[i] / schur;
  }
  result.at(f, f) = 1 / schur;
  return result;
}

Dense inverseWithout(const Dense& inverse, int position) {
  std::vector<int> rest;
  for (int i = 0; i < inverse.rows; ++i) {
    if (i != position) rest.push_back(i);
  }
  Dense result = subMatrix(inverse, rest, rest);
  const double pivot = inverse.at(position, position);
  for (std::size_t i = 0; i < rest.size(); ++i) {
    for (std::size_t j = 0; j < rest.size(); ++j) {
      result.at(int(i), int(j)) -= inverse.at(rest[i], position) * inverse.at(position, rest[j]) / pivot;
    }
  }
  return result;
}

CornerPortfolio cornerAt(const std::vector<double>& r, const Dense& c, const SetSolution& s,
                         const std::vector<int>& held, double lambda) {
  CornerPortfolio corner;
  corner.lambda = lambda;
  corner.weights.assign(r.size(), 0.0);
  for (std::size_t i = 0; i < held.size(); ++i) {
    corner.weights[held[i]] = s.alpha.a[i] + lambda * s.beta.a[i];
  }
  corner.held = static_cast<int>(held.size());
  for (std::size_t i = 0; i < r.size(); ++i) corner.expectedReturn += r[i] * corner.weights[i];
  corner.variance = portfolioVariance(corner.weights, c);
  return corner;
}

}  // namespace

std::vector<CornerPortfolio> traceCorners(const std::vector<double>& r, const Dense& c) {
  std::vector<CornerPortfolio> corners;
  if (r.empty()) return corners;
  const int first = static_cast<int>(std::max_element(r.begin(), r.end()) - r.begin());
  Dense inverse = inverseWithAsset(Dense(), c, {}, first);
  std::vector<int> held = {first};
  double previous = kStartingBound;
  // Every event lowers λ by more than the margin and no set of held assets
  // comes back, so the trace is short; the bound only guards against
  // rounding that would make it cycle.
  const std::size_t maxEvents = 4 * r.size() + 10;
  for (std::size_t step = 0; step < maxEvents; ++step) {
    const SetSolution s = solveHeldSet(r, inverse, held);
    Event best;
    leavingCandidates(s, held, previous, best);
    enteringCandidates(r, c, s, held, previous, best);
    if (best.asset < 0) {
      if (corners.empty()) corners.push_back(cornerAt(r, c, s, held, 0));
      break;
    }
    corners.push_back(cornerAt(r, c, s, held, best.lambda));
    if (best.entering) {
      inverse = inverseWithAsset(inverse, c, held, best.asset);
      held.push_back(best.asset);
    } else {
      const auto leaving = std::find(held.begin(), held.end(), best.asset);
      inverse = inverseWithout(inverse, static_cast<int>(leaving - held.begin()));
      held.erase(leaving);
    }
    previous = best.lambda;
  }
  return corners;
}

namespace {

FrontierPoint between(const CornerPortfolio& from, const CornerPortfolio& to, double t,
                      const Dense& c) {
  FrontierPoint p;
  p.lambda = (1 - t) * from.lambda + t * to.lambda;
  p.weights.resize(from.weights.size());
  for (std::size_t i = 0; i < p.weights.size(); ++i) {
    p.weights[i] = (1 - t) * from.weights[i] + t * to.weights[i];
  }
  p.expectedReturn = (1 - t) * from.expectedReturn + t * to.expectedReturn;
  p.variance = portfolioVariance(p.weights, c);
  return p;
}

FrontierPoint atCorner(const CornerPortfolio& corner) {
  return {corner.lambda, corner.weights, corner.expectedReturn, corner.variance};
}

}  // namespace

// The expected return falls from corner to corner, so the segment holding
// a return is the first whose end lies at or below it.
FrontierPoint pointOfReturn(const std::vector<CornerPortfolio>& corners, const Dense& c,
                            double expectedReturn) {
  for (std::size_t s = 0; s + 1 < corners.size(); ++s) {
    const CornerPortfolio& from = corners[s];
    const CornerPortfolio& to = corners[s + 1];
    if (to.expectedReturn > expectedReturn) continue;
    const double span = from.expectedReturn - to.expectedReturn;
    const double t = span > 0 ? (from.expectedReturn - expectedReturn) / span : 0;
    return between(from, to, std::clamp(t, 0.0, 1.0), c);
  }
  return atCorner(expectedReturn >= corners.front().expectedReturn ? corners.front()
                                                                   : corners.back());
}

// λ falls from corner to corner; the least variance lies where λ = 0.
FrontierPoint minimumVariance(const std::vector<CornerPortfolio>& corners, const Dense& c) {
  if (corners.front().lambda <= 0) return atCorner(corners.front());
  for (std::size_t s = 0; s + 1 < corners.size(); ++s) {
    const CornerPortfolio& from = corners[s];
    const CornerPortfolio& to = corners[s + 1];
    if (to.lambda > 0) continue;
    const double t = from.lambda / (from.lambda - to.lambda);
    FrontierPoint p = between(from, to, t, c);
    p.lambda = 0;
    return p;
  }
  return atCorner(corners.back());
}

SegmentShape segmentShape(const CornerPortfolio& from, const CornerPortfolio& to,
                          const Dense& c) {
  SegmentShape shape;
  const std::size_t n = from.weights.size();
  shape.slope.assign(n, 0.0);
  const double span = to.expectedReturn - from.expectedReturn;
  if (span != 0) {
    for (std::size_t i = 0; i < n; ++i) shape.slope[i] = (to.weights[i] - from.weights[i]) / span;
  }
  // σ²(R) = w'Cw + 2(R − R0)·d'Cw + (R − R0)²·d'Cd with w the start corner.
  const Dense w = columnOf(from.weights);
  const Dense d = columnOf(shape.slope);
  const double dCd = scalProduct(d, product(c, d));
  const double dCw = scalProduct(d, product(c, w));
  const double r0 = from.expectedReturn;
  shape.c2 = dCd;
  shape.c1 = 2 * dCw - 2 * r0 * dCd;
  shape.c0 = from.variance - 2 * r0 * dCw + r0 * r0 * dCd;
  return shape;
}

}  // namespace tesmora
