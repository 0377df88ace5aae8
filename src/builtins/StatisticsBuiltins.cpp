// Sample statistics of numeric matrices: mean, variance and standard
// deviation (also of laws, through the value's own operations), median,
// central moments, covariance and correlation, the column covariance
// table, and the regression coefficients beta and alpha. Elements are
// taken in storage order; the shape does not matter except for covc.
#include <cmath>
#include <string_view>
#include <vector>

#include "builtins/Rows.h"
#include "builtins/Sorting.h"

namespace tesmora {
namespace {

double meanOf(NValue x) { return x.value.mean(); }
double varianceOf(NValue x) { return x.value.variance(); }
double stdDevOf(NValue x) { return x.value.stdDev(); }

// The variance with n − d in the denominator instead of n (d = 1: the
// sample variance). Only a matrix has a sample size to correct by.
double correctedVariance(NValue x, double d, std::string_view notMatrix,
                         std::string_view badD) {
  if (x.value.typeCode != kMatrixType) raise(notMatrix);
  const auto& sample = asMatrix(x.value);
  const double n = sample.count();
  if (d >= n) raise(badD);
  return sample.variance() * n / (n - d);
}

double varianceWithCorrection(NValue x, double d) {
  return correctedVariance(x, d, "disp: эмпирическая дисперсия определена только для матриц",
                           "disp: недопустимое значение аргумента 2");
}

double stdDevWithCorrection(NValue x, double d) {
  return std::sqrt(correctedVariance(
      x, d, "stdev: эмпирическая дисперсия определена только для матриц",
      "stdev: недопустимое значение параметра 2"));
}

// The middle of a sorted copy; an even count takes the mean of the two
// middle elements. An empty sample has no middle: it gives its mean, 0/0.
double medianOf(M x) {
  std::vector<double> sorted(x.data(), x.data() + x.count());
  if (sorted.empty()) return x.mean();
  sortNumbers(sorted, SortOrder::kAscending);
  const std::size_t half = sorted.size() / 2;
  if (sorted.size() % 2 == 1) return sorted[half];
  return (sorted[half - 1] + sorted[half]) / 2;
}

double centralMoment(M x, double k) {
  if (!(k >= 0 && std::floor(k) == k)) {
    raise("cmoment: недопустимое значение второго аргумента");
  }
  const double m = x.mean();
  double sum = 0;
  for (int i = 0; i < x.count(); ++i) sum += std::pow(x[i] - m, k);
  return sum / x.count();
}

double covariance(M x, M y) {
  if (x.count() != y.count()) raise("cov: недопустимые размеры");
  const double mx = x.mean();
  const double my = y.mean();
  double sum = 0;
  for (int i = 0; i < x.count(); ++i) sum += (x[i] - mx) * (y[i] - my);
  return sum / x.count();
}

double correlation(M x, M y) {
  const double c = covariance(x, y);
  const double spread = x.stdDev() * y.stdDev();
  return spread == 0 ? 0 : c / spread;
}

// The variance of the regressor, which the regression coefficients divide by.
double regressorVariance(M y, std::string_view zeroMessage) {
  const double d = y.variance();
  if (d == 0) raise(zeroMessage);
  return d;
}

double regressionBeta(M x, M y) {
  const double d = regressorVariance(y, "cbeta:  нулевая дисперсия");
  return covariance(x, y) / d;
}

double regressionAlpha(M x, M y) {
  const double d = regressorVariance(y, "calpha:  нулевая дисперсия");
  return x.mean() - y.mean() * covariance(x, y) / d;
}

double columnMean(M m, int column) {
  double sum = 0;
  for (int r = 0; r < m.rows(); ++r) sum += m.at(r, column);
  return sum / m.rows();
}

// Element (i, j): the covariance of column i of a with column j of b over
// the n rows, (Σ a·b − Σa·Σb/n)/n. It is summed about the column means,
// Σ(a − ā)(b − b̄)/n, the same number without the cancellation that loses
// every digit of data far from zero.
ValuePtr columnCovariances(M a, M b) {
  // The last letter of the name in this message is the Cyrillic "с".
  if (a.rows() != b.rows()) raise("covс: недопустимые размеры");
  const int n = a.rows();
  std::vector<double> meansB(b.cols());
  for (int j = 0; j < b.cols(); ++j) meansB[j] = columnMean(b, j);
  auto result = Matrix::create(a.cols(), b.cols());
  for (int i = 0; i < a.cols(); ++i) {
    const double meanA = columnMean(a, i);
    for (int j = 0; j < b.cols(); ++j) {
      double sum = 0;
      for (int r = 0; r < n; ++r) sum += (a.at(r, i) - meanA) * (b.at(r, j) - meansB[j]);
      result->at(i, j) = sum / n;
    }
  }
  return result;
}

constexpr BuiltinRow kRows[] = {
    row<FunctionO_MM, columnCovariances>("covc"),
    row<SF_N, meanOf>("mean"),
    row<SF_M, medianOf>("median"),
    row<SF_MD, centralMoment>("cmoment"),
    row<SF_MM, covariance>("cov"),
    row<SF_MM, correlation>("cor"),
    row<SF_MM, regressionBeta>("cbeta"),
    row<SF_MM, regressionAlpha>("calpha"),
    row2<SF_N_D, stdDevOf, stdDevWithCorrection>("stdev"),
    row2<SF_N_D, varianceOf, varianceWithCorrection>("disp"),
};

}  // namespace

std::span<const BuiltinRow> statisticsBuiltins() { return kRows; }

}  // namespace tesmora
