#include "values/LawsDiscrete.h"

#include <algorithm>
#include <cmath>

#include "interp/Errors.h"
#include "values/Matrix.h"
#include "values/SuperMatrix.h"

namespace tesmora {
namespace {

constexpr int kByteSlots = 256;

bool isByteValue(double v) { return v >= 0 && v < kByteSlots && v == std::floor(v); }

// A total order of values: a not-a-number value sorts after every number
// and equals another not-a-number, so sorting and merging never misbehave.
bool before(double a, double b) { return a < b || (!std::isnan(a) && std::isnan(b)); }
bool same(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

std::vector<WeightedValue> mergeBytes(const std::vector<WeightedValue>& rows) {
  double totals[kByteSlots] = {};
  for (const auto& row : rows) totals[static_cast<int>(row.value)] += row.weight;
  std::vector<WeightedValue> merged;
  for (int v = 0; v < kByteSlots; ++v) {
    if (totals[v] > 0) merged.push_back({static_cast<double>(v), totals[v]});
  }
  return merged;
}

std::vector<WeightedValue> mergeSorted(std::vector<WeightedValue> rows) {
  std::stable_sort(rows.begin(), rows.end(),
                   [](const WeightedValue& a, const WeightedValue& b) {
                     return before(a.value, b.value);
                   });
  std::vector<WeightedValue> merged;
  for (const auto& row : rows) {
    if (!merged.empty() && same(merged.back().value, row.value)) {
      merged.back().weight += row.weight;
    } else {
      merged.push_back(row);
    }
  }
  return merged;
}

std::vector<double> runningSums(const std::vector<double>& terms) {
  std::vector<double> sums(terms.size());
  double sum = 0;
  for (std::size_t i = 0; i < terms.size(); ++i) sums[i] = sum += terms[i];
  return sums;
}

double total(const std::vector<double>& terms) {
  double sum = 0;
  for (const double t : terms) sum += t;
  return sum;
}

std::vector<double> dividedBy(std::vector<double> terms, double n) {
  for (double& t : terms) t /= n;
  return terms;
}

void checkLevel(double p) {
  if (!(p >= 0 && p <= 1)) raise("квантиль: недопустимый уровень");
}

std::unique_ptr<Matrix> columnOf(const std::vector<double>& numbers) {
  auto column = Matrix::create(static_cast<int>(numbers.size()), 1);
  std::copy(numbers.begin(), numbers.end(), column->data());
  return column;
}

}  // namespace

std::vector<WeightedValue> mergeEqualValues(std::vector<WeightedValue> rows) {
  const bool bytes = std::all_of(rows.begin(), rows.end(),
                                 [](const WeightedValue& r) { return isByteValue(r.value); });
  return bytes ? mergeBytes(rows) : mergeSorted(std::move(rows));
}

ValuePtr valueTable(const std::vector<double>& values,
                    const std::vector<double>& weights, double scale) {
  auto table = Matrix::create(static_cast<int>(values.size()), 2);
  for (int i = 0; i < table->rows(); ++i) {
    table->at(i, 0) = values[i];
    table->at(i, 1) = scale * weights[i];
  }
  return table;
}

ValuePtr lumpedTable(const std::vector<double>& values,
                     const std::vector<double>& weights, double a, double b,
                     double scale) {
  double atMostA = 0, atLeastB = 0;
  std::vector<int> inside;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (values[i] <= a) atMostA += weights[i];
    else if (values[i] >= b) atLeastB += weights[i];
    else inside.push_back(static_cast<int>(i));
  }
  auto table = Matrix::create(static_cast<int>(inside.size()) + 2, 2);
  table->at(0, 0) = a;
  table->at(0, 1) = scale * atMostA;
  for (std::size_t k = 0; k < inside.size(); ++k) {
    table->at(k + 1, 0) = values[inside[k]];
    table->at(k + 1, 1) = scale * weights[inside[k]];
  }
  const int last = table->rows() - 1;
  table->at(last, 0) = b;
  table->at(last, 1) = scale * atLeastB;
  return table;
}

CLawDis::CLawDis(std::vector<double> values, std::vector<double> probabilities)
    : values_(std::move(values)),
      probabilities_(std::move(probabilities)),
      cumulative_(runningSums(probabilities_)) {}

std::unique_ptr<CLawDis> CLawDis::fromRows(std::vector<WeightedValue> rows) {
  const auto merged = mergeEqualValues(std::move(rows));
  std::vector<double> values, probabilities;
  values.reserve(merged.size());
  probabilities.reserve(merged.size());
  for (const auto& row : merged) {
    values.push_back(row.value);
    probabilities.push_back(row.weight);
  }
  return std::make_unique<CLawDis>(std::move(values), std::move(probabilities));
}

ValuePtr CLawDis::copy() const {
  return std::make_unique<CLawDis>(values_, probabilities_);
}

double CLawDis::pe(double x) const {
  const int n = valueCount();
  if (n == 0) return 0;
  int i = std::clamp(cursor_, 0, n - 1);
  if (values_[i] < x) {
    while (i + 1 < n && values_[i + 1] <= x) ++i;
  } else if (values_[i] > x) {
    while (i > 0 && values_[i - 1] >= x) --i;
  }
  cursor_ = i;
  return values_[i] == x ? probabilities_[i] : 0;
}

double CLawDis::pl(double x) const {
  if (values_.empty() || !(x > values_.front())) return 0;
  if (x > values_.back()) return 1;
  // The first value not below x; the one before it is the largest below.
  const auto first = std::lower_bound(values_.begin(), values_.end(), x);
  return cumulative_[first - values_.begin() - 1];
}

int CLawDis::levelIndex(double p, bool reached) const {
  if (values_.empty()) raise("метод не определен");
  const auto found = reached ? std::lower_bound(cumulative_.begin(), cumulative_.end(), p)
                             : std::upper_bound(cumulative_.begin(), cumulative_.end(), p);
  const int index = static_cast<int>(found - cumulative_.begin());
  return std::min(index, valueCount() - 1);
}

double CLawDis::quantile(double p) const { return values_[levelIndex(p, false)]; }

double CLawDis::invpl(double p) const {
  checkLevel(p);
  return quantile(p);
}

double CLawDis::qmin(double p) const {
  checkLevel(p);
  return values_[levelIndex(p, true)];
}

// Between two values whose steps the level falls exactly on, the middle.
double CLawDis::q(double p) const {
  checkLevel(p);
  const int i = levelIndex(p, false);
  if (i > 0 && cumulative_[i - 1] == p && cumulative_[i] > p) {
    return (values_[i - 1] + values_[i]) / 2;
  }
  return values_[i];
}

double CLawDis::mean() const {
  if (values_.empty()) return CLaw::mean();
  double sum = 0;
  for (int i = 0; i < valueCount(); ++i) sum += values_[i] * probabilities_[i];
  return sum;
}

double CLawDis::variance() const {
  if (values_.empty()) return CLaw::variance();
  const double m = mean();
  double sum = 0;
  for (int i = 0; i < valueCount(); ++i) {
    sum += (values_[i] - m) * (values_[i] - m) * probabilities_[i];
  }
  return sum;
}

ValuePtr CLawDis::valefr(double x) const { return valueTable(values_, probabilities_, x); }

ValuePtr CLawDis::rvalefr(double a, double b, double x) const {
  if (!(a < b)) raise("rvalefr: недопустимые значения границ");
  return lumpedTable(values_, probabilities_, a, b, x);
}

// The distribution function between a and b as a staircase: from
// (a, P(X < a)), two points per value v in [a, b] — F just below v and F at
// v — and, when b is not a value, a closing point (b, P(X ≤ b)) so the last
// step reaches b.
ValuePtr CLawDis::dlpoints(double a, double b) const {
  if (!(a < b)) raise("dlpoints: недопустимые значения границ");
  std::vector<double> xs{a}, ys{pl(a)};
  bool endsAtB = false;
  for (int i = 0; i < valueCount(); ++i) {
    const double v = values_[i];
    if (v < a || v > b) continue;
    xs.push_back(v);
    ys.push_back(cumulative_[i] - probabilities_[i]);
    xs.push_back(v);
    ys.push_back(cumulative_[i]);
    endsAtB = v == b;
  }
  if (!endsAtB) {
    xs.push_back(b);
    ys.push_back(pl(b) + pe(b));
  }
  auto points = CSuperMatrix::create(1, 2);
  points->setCell(0, columnOf(xs));
  points->setCell(1, columnOf(ys));
  return points;
}

namespace {

std::vector<WeightedValue> elementRows(const Matrix& sample) {
  std::vector<WeightedValue> rows(sample.count());
  for (int i = 0; i < sample.count(); ++i) rows[i] = {sample[i], 1};
  return mergeEqualValues(std::move(rows));
}

std::vector<double> valuesOf(const std::vector<WeightedValue>& rows) {
  std::vector<double> values(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) values[i] = rows[i].value;
  return values;
}

std::vector<double> weightsOf(const std::vector<WeightedValue>& rows) {
  std::vector<double> weights(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) weights[i] = rows[i].weight;
  return weights;
}

}  // namespace

CELaw::CELaw(const Matrix& sample) : CELaw(elementRows(sample)) {}

CELaw::CELaw(const std::vector<WeightedValue>& merged)
    : CELaw(valuesOf(merged), weightsOf(merged)) {}

CELaw::CELaw(std::vector<double> values, std::vector<double> counts)
    : CLawDis(std::move(values), dividedBy(counts, total(counts))),
      counts_(std::move(counts)),
      cumulativeCounts_(runningSums(counts_)),
      n_(total(counts_)) {}

ValuePtr CELaw::copy() const { return std::make_unique<CELaw>(values_, counts_); }

double CELaw::countBelow(double t) const {
  if (values_.empty() || !(t > values_.front())) return 0;
  const auto first = std::lower_bound(values_.begin(), values_.end(), t);
  return cumulativeCounts_[first - values_.begin() - 1];
}

double CELaw::countEqual(double t) const {
  const auto found = std::lower_bound(values_.begin(), values_.end(), t);
  return found != values_.end() && *found == t ? counts_[found - values_.begin()] : 0;
}

const CELaw& empiricalLaw(const Matrix& sample) {
  // Building the cache leaves the matrix's value unchanged.
  auto& cache = const_cast<Matrix&>(sample).cachedLaw;
  if (!cache) cache = std::make_unique<CELaw>(sample);
  return static_cast<const CELaw&>(*cache);
}

}  // namespace tesmora
