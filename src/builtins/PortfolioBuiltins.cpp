// Portfolio builtins: summary statistics of a return series and of a pair
// of series, the trading simulation, the dominance levels of objects rated
// by several criteria, and the three descriptions of the mean-variance
// frontier (frontier1, frontier2, frontier2a).
#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "builtins/Portfolio.h"
#include "builtins/Rows.h"
#include "values/Scalar.h"
#include "values/SuperMatrix.h"

namespace tesmora {
namespace {

ValuePtr rowOf(std::initializer_list<double> values) {
  auto result = Matrix::create(1, static_cast<int>(values.size()));
  int i = 0;
  for (const double v : values) (*result)[i++] = v;
  return result;
}

// Mean, standard deviation, skewness and excess kurtosis, all moments
// divided by n.
ValuePtr seriesStatistics(M v) {
  const int n = v.count();
  const double mean = v.mean();
  double s2 = 0, s3 = 0, s4 = 0;
  for (int i = 0; i < n; ++i) {
    const double d = v[i] - mean;
    s2 += d * d;
    s3 += d * d * d;
    s4 += d * d * d * d;
  }
  const double sigma = std::sqrt(s2 / n);
  return rowOf({mean, sigma, s3 / (n * std::pow(sigma, 3)), s4 / (n * std::pow(sigma, 4)) - 3});
}

ValuePtr pairStatistics(M x, M y) {
  const int n = x.count();
  if (y.count() != n) raise("mdcr: недопустимые размеры аргументов");
  const double mx = x.mean();
  const double my = y.mean();
  double vx = 0, vy = 0, cxy = 0;
  for (int i = 0; i < n; ++i) {
    vx += (x[i] - mx) * (x[i] - mx);
    vy += (y[i] - my) * (y[i] - my);
    cxy += (x[i] - mx) * (y[i] - my);
  }
  vx /= n;
  vy /= n;
  cxy /= n;
  return rowOf({mx, my, vx, vy, cxy, cxy / std::sqrt(vx * vy)});
}

// One day of trading: b > 0 buys for the fraction b of the wealth (at most
// all the cash), b < 0 sells for the fraction −b (at most all the units).
void tradeOnce(double e, double f, double g, double b, double& cash, double& units) {
  const double h = e + f * g;
  cash = e;
  units = f;
  if (b > 0) {
    if (h * b <= e) {
      cash = e - h * b;
      units = f + h * b / g;
    } else {
      cash = 0;
      units = f + b * e / g;
    }
  } else if (b < 0) {
    const double q = -b * h;
    if (q <= f * g) {
      cash = e + q;
      units = f - q / g;
    } else {
      cash = h;
      units = 0;
    }
  }
}

ValuePtr tradingStates(M start, M prices, M operations) {
  if (start.count() != 2) raise("trade: недопустимый размер вектора начальных данных");
  const int n = prices.count();
  if (operations.count() != n) raise("trade: несовпадают размеры векторов цен и операций");
  auto result = Matrix::create(n + 1, 2);
  result->at(0, 0) = start[0];
  result->at(0, 1) = start[1];
  for (int t = 0; t < n; ++t) {
    tradeOnce(result->at(t, 0), result->at(t, 1), prices[t], operations[t], result->at(t + 1, 0),
              result->at(t + 1, 1));
  }
  return result;
}

bool dominates(M a, int i, int j) {
  bool better = false;
  for (int c = 0; c < a.cols(); ++c) {
    if (!(a.at(i, c) >= a.at(j, c))) return false;
    if (a.at(i, c) > a.at(j, c)) better = true;
  }
  return better;
}

bool hasNaN(M a, int i) {
  for (int c = 0; c < a.cols(); ++c) {
    if (std::isnan(a.at(i, c))) return true;
  }
  return false;
}

// An object's level is one more than the highest level among the objects
// dominating it (1 when none does) — what the passes "level L to every
// object no unlevelled object dominates" give. A dominating row is
// lexicographically greater, so taking the rows in descending lexicographic
// order levels every dominator first. A row with NaN dominates nothing and
// nothing dominates it.
ValuePtr dominanceLevels(M a) {
  const int m = a.rows();
  std::vector<int> order;
  for (int i = 0; i < m; ++i) {
    if (!hasNaN(a, i)) order.push_back(i);
  }
  const auto rowBegin = [&](int i) { return a.data() + std::size_t(i) * a.cols(); };
  std::stable_sort(order.begin(), order.end(), [&](int i, int j) {
    return std::lexicographical_compare(rowBegin(j), rowBegin(j) + a.cols(), rowBegin(i),
                                        rowBegin(i) + a.cols());
  });
  auto result = Matrix::create(m, 1);
  for (int i = 0; i < m; ++i) (*result)[i] = 1;
  for (std::size_t k = 0; k < order.size(); ++k) {
    const int i = order[k];
    for (std::size_t before = 0; before < k; ++before) {
      const int j = order[before];
      if ((*result)[j] + 1 > (*result)[i] && dominates(a, j, i)) (*result)[i] = (*result)[j] + 1;
    }
  }
  return result;
}

// --- The frontier -------------------------------------------------------

std::vector<double> elementsOf(M v) { return {v.data(), v.data() + v.count()}; }

Dense denseOf(M m) {
  Dense result(m.rows(), m.cols());
  result.a.assign(m.data(), m.data() + m.count());
  return result;
}

// The first `rows` rows of an internal table as a matrix of the language.
ValuePtr dupToMatrix(const Dense& table, int rows) {
  if (rows > table.rows || rows < 0) raise("некорректный вызов DupToMatrix");
  auto result = Matrix::createUnbounded(rows, table.cols);
  std::copy(table.a.begin(), table.a.begin() + std::size_t(rows) * table.cols, result->data());
  return result;
}

template <class Pick>
Dense tableOf(std::size_t rows, int cols, Pick pick) {
  Dense result(static_cast<int>(rows), cols);
  for (std::size_t r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) result.at(int(r), c) = pick(r, c);
  }
  return result;
}

ValuePtr superRow(std::vector<ValuePtr> cells) {
  auto result = CSuperMatrix::create(1, static_cast<int>(cells.size()));
  for (std::size_t i = 0; i < cells.size(); ++i) result->setCell(int(i), std::move(cells[i]));
  return result;
}

using Corners = std::vector<CornerPortfolio>;

Dense cornerWeights(const Corners& corners, int n) {
  return tableOf(corners.size(), n, [&](std::size_t r, int c) { return corners[r].weights[c]; });
}

double lambdaOf(const CornerPortfolio& p) { return p.lambda; }
double returnOf(const CornerPortfolio& p) { return p.expectedReturn; }
double varianceOf(const CornerPortfolio& p) { return p.variance; }
double deviationOf(const CornerPortfolio& p) { return std::sqrt(std::max(p.variance, 0.0)); }
double heldOf(const CornerPortfolio& p) { return p.held; }

using Field = double (*)(const CornerPortfolio&);

// One column per field, one row per corner.
Dense cornerTable(const Corners& corners, std::initializer_list<Field> fields) {
  const std::vector<Field> columns(fields);
  return tableOf(corners.size(), static_cast<int>(columns.size()),
                 [&](std::size_t r, int c) { return columns[c](corners[r]); });
}

int efficientCount(const Corners& corners) {
  return static_cast<int>(std::count_if(corners.begin(), corners.end(),
                                        [](const CornerPortfolio& p) { return p.lambda >= 0; }));
}

Corners cornersOrRaise(const std::vector<double>& r, const Dense& c,
                       std::string_view degenerate) {
  try {
    return traceCorners(r, c);
  } catch (const DegenerateFrontier&) {
    raise(degenerate);
  }
}

// frontier1(r, C, k): the corners, k frontier points at returns evenly
// spaced from the largest expected return down to the smallest, and the
// portfolio of least variance. The 1×14 result: 1 the corner count P;
// 2 to 7 one row per corner: risk tolerance λ, expected return, weights
// (P×n), variance, standard deviation, number of assets held; 8 to 10 one
// row per point: expected return, standard deviation, λ; 11 and 12 the
// expected return and standard deviation of the least-variance portfolio,
// 13 its weights (1×n); 14 the number of corners on the efficient branch
// (λ ≥ 0).
ValuePtr frontierWithPoints(M r, M c, double count) {
  if (c.rows() != c.cols()) raise("frontire: ковариационная матрица должна быть квадратной");
  if (c.rows() != r.count() || r.count() == 0) {
    raise("frontire: не согласованы размерности матриц");
  }
  const int n = r.count();
  const Dense cov = denseOf(c);
  const Corners corners = cornersOrRaise(elementsOf(r), cov, "обратная матрица не существует");
  const auto k = std::trunc(count);
  auto returns = Matrix::fromSizes(std::max(k, 0.0), 1);
  auto deviations = Matrix::fromSizes(std::max(k, 0.0), 1);
  auto tolerances = Matrix::fromSizes(std::max(k, 0.0), 1);
  const double top = corners.front().expectedReturn;
  const double bottom = corners.back().expectedReturn;
  for (int i = 0; i < returns->count(); ++i) {
    const double target = i == 0 ? top : top - (top - bottom) * i / (returns->count() - 1);
    const FrontierPoint p = pointOfReturn(corners, cov, target);
    (*returns)[i] = target;
    (*deviations)[i] = std::sqrt(std::max(p.variance, 0.0));
    (*tolerances)[i] = p.lambda;
  }
  const FrontierPoint least = minimumVariance(corners, cov);
  const int p = static_cast<int>(corners.size());
  std::vector<ValuePtr> cells;
  cells.push_back(makeNumber(p));
  cells.push_back(dupToMatrix(cornerTable(corners, {lambdaOf}), p));
  cells.push_back(dupToMatrix(cornerTable(corners, {returnOf}), p));
  cells.push_back(dupToMatrix(cornerWeights(corners, n), p));
  cells.push_back(dupToMatrix(cornerTable(corners, {varianceOf}), p));
  cells.push_back(dupToMatrix(cornerTable(corners, {deviationOf}), p));
  cells.push_back(dupToMatrix(cornerTable(corners, {heldOf}), p));
  cells.push_back(std::move(returns));
  cells.push_back(std::move(deviations));
  cells.push_back(std::move(tolerances));
  cells.push_back(makeNumber(least.expectedReturn));
  cells.push_back(makeNumber(std::sqrt(std::max(least.variance, 0.0))));
  Dense leastWeights(1, n);
  leastWeights.a = least.weights;
  cells.push_back(dupToMatrix(leastWeights, 1));
  cells.push_back(makeNumber(efficientCount(corners)));
  return superRow(std::move(cells));
}

// The shape of every segment between consecutive corners: the variance as
// c2·R² + c1·R + c0 of the return R, the returns at its ends, and the
// weight change per unit of return.
struct Segments {
  Dense quadratics, returnRanges, slopes;
};

Segments segmentsOf(const Corners& corners, const Dense& cov, int n) {
  const std::size_t count = corners.size() - 1;
  Segments s{Dense(int(count), 3), Dense(int(count), 2), Dense(int(count), n)};
  for (std::size_t i = 0; i < count; ++i) {
    const SegmentShape shape = segmentShape(corners[i], corners[i + 1], cov);
    s.quadratics.at(int(i), 0) = shape.c2;
    s.quadratics.at(int(i), 1) = shape.c1;
    s.quadratics.at(int(i), 2) = shape.c0;
    s.returnRanges.at(int(i), 0) = corners[i].expectedReturn;
    s.returnRanges.at(int(i), 1) = corners[i + 1].expectedReturn;
    for (int j = 0; j < n; ++j) s.slopes.at(int(i), j) = shape.slope[j];
  }
  return s;
}

// frontier2(r, C): expected returns and their covariance matrix. The 1×7
// result: 1 the corner count K; per corner: 2 the weights (K×n), 3 λ,
// 4 expected return and standard deviation; per segment between corners:
// 5 the weight change per unit of return, 6 the coefficients c2, c1, c0 of
// the variance c2·R² + c1·R + c0, 7 the returns at the segment's ends.
ValuePtr frontierCorners(M r, M c) {
  const int n = r.count();
  if (n == 0 || c.rows() != n || c.cols() != n) raise("frontier2: недопустимые данные");
  const std::vector<double> returns = elementsOf(r);
  const auto [low, high] = std::minmax_element(returns.begin(), returns.end());
  // Equal expected returns leave no frontier to trace, only one point.
  if (!(*high - *low > kEventMargin)) raise("frontier2: необходимо изменить исходные данные...");
  const Dense cov = denseOf(c);
  const Corners corners =
      cornersOrRaise(returns, cov, "frontier2: необходимо изменить исходные данные...");
  const int k = static_cast<int>(corners.size());
  const Segments segments = segmentsOf(corners, cov, n);
  std::vector<ValuePtr> cells;
  cells.push_back(makeNumber(k));
  cells.push_back(dupToMatrix(cornerWeights(corners, n), k));
  cells.push_back(dupToMatrix(cornerTable(corners, {lambdaOf}), k));
  cells.push_back(dupToMatrix(cornerTable(corners, {returnOf, deviationOf}), k));
  cells.push_back(dupToMatrix(segments.slopes, k - 1));
  cells.push_back(dupToMatrix(segments.quadratics, k - 1));
  cells.push_back(dupToMatrix(segments.returnRanges, k - 1));
  return superRow(std::move(cells));
}

// The covariance of the columns of a sample of returns (rows are periods),
// divided by the number of periods.
Dense sampleCovariance(M x) {
  const int t = x.rows();
  const int n = x.cols();
  std::vector<double> means(n, 0.0);
  for (int j = 0; j < n; ++j) {
    for (int i = 0; i < t; ++i) means[j] += x.at(i, j);
    means[j] /= t;
  }
  Dense cov(n, n);
  for (int a = 0; a < n; ++a) {
    for (int b = 0; b < n; ++b) {
      double sum = 0;
      for (int i = 0; i < t; ++i) sum += (x.at(i, a) - means[a]) * (x.at(i, b) - means[b]);
      cov.at(a, b) = sum / t;
    }
  }
  return cov;
}

// frontier2a(X, r): a sample of returns (one column per asset, one row per
// period) whose covariance the frontier uses, and the expected returns.
// The 1×7 result: 1 the corner count K; per corner: 2 the weights (K×n),
// 3 λ, expected return and standard deviation; per segment: 4 the weight
// change per unit of return, 5 the variance coefficients c2, c1, c0, 6 the
// returns at the segment's ends; 7 the least standard deviation.
ValuePtr frontierFromSample(M x, M r) {
  const int n = r.count();
  if (n == 0 || x.cols() != n || x.rows() < 2) raise("frontier2a: недопустимые данные");
  const Dense cov = sampleCovariance(x);
  const Corners corners = cornersOrRaise(elementsOf(r), cov, "frontier2a: недопустимые данные");
  const int k = static_cast<int>(corners.size());
  const Segments segments = segmentsOf(corners, cov, n);
  const FrontierPoint least = minimumVariance(corners, cov);
  std::vector<ValuePtr> cells;
  cells.push_back(makeNumber(k));
  cells.push_back(dupToMatrix(cornerWeights(corners, n), k));
  cells.push_back(dupToMatrix(cornerTable(corners, {lambdaOf, returnOf, deviationOf}), k));
  cells.push_back(dupToMatrix(segments.slopes, k - 1));
  cells.push_back(dupToMatrix(segments.quadratics, k - 1));
  cells.push_back(dupToMatrix(segments.returnRanges, k - 1));
  cells.push_back(makeNumber(std::sqrt(std::max(least.variance, 0.0))));
  return superRow(std::move(cells));
}

constexpr BuiltinRow kRows[] = {
    row<FunctionO_MMD, frontierWithPoints>("frontier1"),
    row<FunctionO_MM, frontierFromSample>("frontier2a"),
    row<FunctionO_MM, frontierCorners>("frontier2"),
    row<FunctionO_M, seriesStatistics>("stat"),
    row<FunctionO_MM, pairStatistics>("mdcr"),
    row<FunctionO_M, dominanceLevels>("maxrlevels"),
    row<FunctionO_MMM, tradingStates>("trade"),
};

}  // namespace

std::span<const BuiltinRow> portfolioBuiltins() { return kRows; }

}  // namespace tesmora
