// Finite discrete laws: a table of distinct values in ascending order with
// their probabilities. CLawDis is built by dlaw, binlaw and by a scalar
// function of discrete laws; its subclass CELaw is the empirical law of
// the elements of a matrix and also keeps how often each value occurs.
#pragma once

#include <memory>
#include <vector>

#include "values/CLaw.h"

namespace tesmora {

class Matrix;

// One row of a law table: a value and its weight (probability or count).
struct WeightedValue {
  double value;
  double weight;
};

// The table with equal values merged, ascending. When every value is an
// integer 0..255 the weights are summed in one slot per value and values
// with no positive total are dropped; otherwise the rows are sorted and
// runs of equal values merged, values of weight 0 staying.
std::vector<WeightedValue> mergeEqualValues(std::vector<WeightedValue> rows);

// The table of rows (value, scale × weight) for the values strictly
// between a and b, with a first row (a, scale × weight of the values ≤ a)
// and a last row (b, scale × weight of the values ≥ b). Needs a < b.
ValuePtr lumpedTable(const std::vector<double>& values,
                     const std::vector<double>& weights, double a, double b,
                     double scale);

// The rows (value, scale × weight).
ValuePtr valueTable(const std::vector<double>& values,
                    const std::vector<double>& weights, double scale);

class CLawDis : public CLaw {
 public:
  // `values` strictly ascending, `probabilities` of the same length.
  CLawDis(std::vector<double> values, std::vector<double> probabilities);
  // The law of a table of (value, probability) rows, equal values merged.
  static std::unique_ptr<CLawDis> fromRows(std::vector<WeightedValue> rows);

  ValuePtr copy() const override;
  int valueCount() const override { return static_cast<int>(values_.size()); }
  ValuePtr valefr(double x) const override;
  ValuePtr rvalefr(double a, double b, double x) const override;
  ValuePtr dlpoints(double a, double b) const override;

  double pe(double x) const override;
  double pl(double x) const override;
  double quantile(double p) const override;
  double invpl(double p) const override;
  double qmin(double p) const override;
  double qmax(double p) const override { return invpl(p); }
  double q(double p) const override;
  double mean() const override;
  double variance() const override;

  const std::vector<double>& values() const { return values_; }
  const std::vector<double>& probabilities() const { return probabilities_; }

 protected:
  // Index of the first value whose cumulative probability exceeds p (at
  // least p when `reached`), or the last value when there is none.
  int levelIndex(double p, bool reached) const;

  std::vector<double> values_;
  std::vector<double> probabilities_;
  std::vector<double> cumulative_;
  // Where the last pe() found its value: successive queries of nearby
  // values walk only a few steps.
  mutable int cursor_ = 0;
};

// The empirical law of a sample: every element counts once.
class CELaw final : public CLawDis {
 public:
  explicit CELaw(const Matrix& sample);
  CELaw(std::vector<double> values, std::vector<double> counts);

  ValuePtr copy() const override;

  double size() const { return n_; }                      // n
  const std::vector<double>& counts() const { return counts_; }
  double countBelow(double t) const;                      // elements < t
  double countEqual(double t) const;                      // elements == t

 private:
  explicit CELaw(const std::vector<WeightedValue>& merged);

  std::vector<double> counts_;
  std::vector<double> cumulativeCounts_;
  double n_ = 0;
};

// The matrix's cached empirical law, built on first use. The cache is no
// part of the matrix's value: element assignment drops it.
const CELaw& empiricalLaw(const Matrix& sample);

}  // namespace tesmora
