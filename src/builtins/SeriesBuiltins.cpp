// Price and return series: differences and returns of consecutive elements
// or rows, simple, exponential and weighted moving averages, auto- and
// cross-correlation by lag. Series are read in storage order, whatever the
// shape; every result is a new column (a table for the row versions).
#include <cmath>
#include <string_view>

#include "builtins/Rows.h"

namespace tesmora {
namespace {

using Step = double (*)(double before, double after);

double difference(double before, double after) { return after - before; }

// A return divides by the earlier value; none may be zero.
double growth(double before, double after) { return after / before - 1; }

ValuePtr stepsAlong(M v, Step step, std::string_view tooShort,
                    std::string_view zeroDivisor) {
  const int n = v.count();
  if (n <= 1) raise(tooShort);
  auto result = Matrix::create(n - 1, 1);
  for (int i = 0; i + 1 < n; ++i) {
    if (!zeroDivisor.empty() && v[i] == 0) raise(zeroDivisor);
    (*result)[i] = step(v[i], v[i + 1]);
  }
  return result;
}

ValuePtr stepsDown(M a, Step step, std::string_view tooShort,
                   std::string_view zeroDivisor) {
  if (a.rows() <= 1) raise(tooShort);
  auto result = Matrix::create(a.rows() - 1, a.cols());
  for (int r = 0; r + 1 < a.rows(); ++r) {
    for (int c = 0; c < a.cols(); ++c) {
      if (!zeroDivisor.empty() && a.at(r, c) == 0) raise(zeroDivisor);
      result->at(r, c) = step(a.at(r, c), a.at(r + 1, c));
    }
  }
  return result;
}

ValuePtr differences(M v) {
  return stepsAlong(v, difference, "dif: аргумент дожен иметь больше одного элемента", {});
}
ValuePtr returns(M v) {
  return stepsAlong(v, growth, "ret: аргумент дожен иметь больше одного элемента",
                    "ret: деление на 0");
}
ValuePtr rowDifferences(M a) {
  return stepsDown(a, difference, "cdif: аргумент дожен иметь больше одной строки", {});
}
ValuePtr rowReturns(M a) {
  return stepsDown(a, growth, "cret: аргумент дожен иметь больше одной строки",
                   "cret: деление на 0");
}

// A running sum with the Neumaier correction: the low-order part lost at
// each addition is kept apart, so values that enter and later leave the
// window cancel exactly even beside much larger or smaller ones.
class CompensatedSum {
 public:
  void add(double x) {
    const double t = sum_ + x;
    if (std::fabs(sum_) >= std::fabs(x)) {
      lost_ += (sum_ - t) + x;
    } else {
      lost_ += (x - t) + sum_;
    }
    sum_ = t;
  }
  // Once the sum overflows, the lost part means nothing.
  double value() const { return std::isfinite(sum_) ? sum_ + lost_ : sum_; }

 private:
  double sum_ = 0;
  double lost_ = 0;
};

// The window's sum slides along: linear time for any window. An infinite
// element leaves NaN behind when it leaves the window, so a sum that is
// not finite is summed afresh.
ValuePtr simpleMovingAverage(M v, double window) {
  const int n = v.count();
  if (!(window >= 1 && window <= n && std::floor(window) == window)) {
    raise("sma: недопустимое значение параметра усреднения");
  }
  const int k = static_cast<int>(window);
  auto result = Matrix::create(n - k + 1, 1);
  const auto fresh = [&](int from) {
    CompensatedSum sum;
    for (int j = from; j < from + k; ++j) sum.add(v[j]);
    return sum;
  };
  CompensatedSum sum = fresh(0);
  (*result)[0] = sum.value() / k;
  for (int i = 1; i + k <= n; ++i) {
    sum.add(v[i + k - 1]);
    sum.add(-v[i - 1]);
    if (!std::isfinite(sum.value())) sum = fresh(i);
    (*result)[i] = sum.value() / k;
  }
  return result;
}

ValuePtr exponentialMovingAverage(M v, double a) {
  if (!(a > 0 && a < 1)) raise("ema: недопустимое значение параметра усреднения");
  const int n = v.count();
  auto result = Matrix::create(n, 1);
  for (int i = 0; i < n; ++i) {
    (*result)[i] = i == 0 ? v[0] : (1 - a) * (*result)[i - 1] + a * v[i];
  }
  return result;
}

ValuePtr weightedMovingAverage(M v, M w) {
  const int n = v.count();
  const int m = w.count();
  if (m > n) raise("wma: недопустимая размерность вектора весов");
  double total = 0;
  for (int k = 0; k < m; ++k) total += w[k];
  if (total == 0) raise("wma: сумма весов равна 0");
  auto result = Matrix::create(n - m + 1, 1);
  for (int j = 0; j + m <= n; ++j) {
    double sum = 0;
    for (int k = 0; k < m; ++k) sum += v[j + k] * w[k];
    (*result)[j] = sum / total;
  }
  return result;
}

// The lags as whole shifts; every one must leave at least as many pairs
// as there are lags.
int shiftOf(double lag, int n, int m, std::string_view badLag) {
  if (!(std::floor(lag) == lag && std::fabs(lag) <= n - m)) raise(badLag);
  return static_cast<int>(lag);
}

// Σ_{k < n − s} (x_k − mx)(y_(k+s) − my)
double laggedProducts(M x, double mx, M y, double my, int s) {
  double sum = 0;
  for (int k = 0; k + s < x.count(); ++k) sum += (x[k] - mx) * (y[k + s] - my);
  return sum;
}

ValuePtr autocorrelation(M v, M lags) {
  const int n = v.count();
  const int m = lags.count();
  if (m > n) raise("acf: недопустимые размеры аргументов");
  const double mean = v.mean();
  const double d = v.variance();
  auto result = Matrix::create(m, 1);
  for (int i = 0; i < m; ++i) {
    const int s = std::abs(shiftOf(lags[i], n, m, "acf: недопустимое значение сдвига"));
    if (d == 0) raise("acf: дисперсия равна 0");
    (*result)[i] = laggedProducts(v, mean, v, mean, s) / d / n;
  }
  return result;
}

ValuePtr crossCorrelation(M x, M y, M lags) {
  const int n = x.count();
  const int m = lags.count();
  if (y.count() != n || n < m) raise("corf: недопустимые размеры аргументов");
  const double mx = x.mean();
  const double my = y.mean();
  const double spread = std::sqrt(x.variance() * y.variance());
  auto result = Matrix::create(m, 1);
  for (int i = 0; i < m; ++i) {
    const int s = shiftOf(lags[i], n, m, "corf: недопустимое значение сдвига");
    if (spread == 0) raise("corf: дисперсия равна 0");
    const double sum = s >= 0 ? laggedProducts(x, mx, y, my, s)
                              : laggedProducts(y, my, x, mx, -s);
    (*result)[i] = sum / spread / n;
  }
  return result;
}

constexpr BuiltinRow kRows[] = {
    row<FunctionO_M, differences>("dif"),
    row<FunctionO_M, rowDifferences>("cdif"),
    row<FunctionO_M, returns>("ret"),
    row<FunctionO_M, rowReturns>("cret"),
    row<FunctionO_MMM, crossCorrelation>("corf"),
    row<FunctionO_MM, autocorrelation>("acf"),
    row<FunctionO_MD, simpleMovingAverage>("sma"),
    row<FunctionO_MD, exponentialMovingAverage>("ema"),
    row<FunctionO_MM, weightedMovingAverage>("wma"),
};

}  // namespace

std::span<const BuiltinRow> seriesBuiltins() { return kRows; }

}  // namespace tesmora
