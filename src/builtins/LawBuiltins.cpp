// The law constructors: nlaw, ulaw, dlaw, law2, Flaw, tlaw, x2law, explaw,
// binlaw and elaw.
#include <cmath>

#include "builtins/Rows.h"
#include "builtins/GammaFunctions.h"
#include "values/LawsContinuous.h"
#include "values/LawsDiscrete.h"
#include "values/LawsSampling.h"
#include "values/LawsTwoPoint.h"

namespace tesmora {
namespace {

// A table of probabilities sums to 1 within this tolerance.
constexpr double kSumTolerance = 0.000001;

ValuePtr normalLaw(double m, double s) { return std::make_unique<CLawNorm>(m, s); }

ValuePtr uniformLaw(int count, Args args) {
  if (count < 2) raise("ulaw: мало аргументов");
  if (count > 2) raise("ulaw: много аргументов");
  if (args[0]->typeCode != kScalarType || args[1]->typeCode != kScalarType) {
    raise("несоответствие типа аргумента");
  }
  const double a = numberOf(*args[0]);
  const double b = numberOf(*args[1]);
  if (!(a < b)) raise("ulaw: недопустимые параметры закона");
  return std::make_unique<CLawUnifCont>(a, b);
}

// dlaw(M): rows (value, probability); the probabilities must be
// non-negative and sum to 1.
ValuePtr discreteLaw(M table) {
  if (table.count() == 0) raise("dlaw: сумма вероятностей не равна 1");
  if (table.cols() != 2) raise("dlaw: матрица должна иметь 2 столбца");
  std::vector<WeightedValue> rows(table.rows());
  double sum = 0;
  for (int r = 0; r < table.rows(); ++r) {
    rows[r] = {table.at(r, 0), table.at(r, 1)};
    if (rows[r].weight < 0) raise("dlaw: отрицательная вероятность");
    sum += rows[r].weight;
  }
  if (!(std::fabs(sum - 1) <= kSumTolerance)) {
    raise("dlaw: сумма вероятностей не равна 1");
  }
  return CLawDis::fromRows(std::move(rows));
}

ValuePtr twoPointLaw(double a, double b, double p) { return std::make_unique<CLaw2>(a, b, p); }

ValuePtr fisherLaw(double n1, double n2) { return std::make_unique<CFisher>(n1, n2); }

ValuePtr studentLaw(double n) { return std::make_unique<CStudent>(n); }

ValuePtr chiSquareLaw(double n) { return std::make_unique<CChisq>(n); }

ValuePtr exponentialLaw(double rate) { return std::make_unique<CExpLaw>(rate); }

// binlaw(n, p): the values 0..n with the binomial probabilities, kept as
// they are (no merging, no dropping of underflowed probabilities).
ValuePtr binomialLaw(double n, double p) {
  if (n < 1 || !(p > 0 && p < 1)) raise("binlaw: недопустимое значение параметра");
  if (n == std::floor(n) && n + 1 > maxElementCount()) raise("слишком большой массив");
  const std::vector<double> lnFactorial = lnfaTable(n);
  const int last = static_cast<int>(n);
  std::vector<double> values(last + 1), probabilities(last + 1);
  const double lnP = std::log(p);
  const double lnQ = std::log(1 - p);
  for (int k = 0; k <= last; ++k) {
    values[k] = k;
    probabilities[k] = std::exp(lnFactorial[last] - lnFactorial[k] - lnFactorial[last - k] +
                                k * lnP + (last - k) * lnQ);
  }
  return std::make_unique<CLawDis>(std::move(values), std::move(probabilities));
}

ValuePtr sampleLaw(M sample) { return empiricalLaw(sample).copy(); }

constexpr BuiltinRow kRows[] = {
    row<FunctionO_DD, normalLaw>("nlaw"),
    row<COFunc, uniformLaw>("ulaw"),
    row<FunctionO_M, discreteLaw>("dlaw"),
    row<FunctionO_DDD, twoPointLaw>("law2"),
    row<FunctionO_DD, fisherLaw>("Flaw"),
    row<FunctionO_D, studentLaw>("tlaw"),
    row<FunctionO_D, chiSquareLaw>("x2law"),
    row<FunctionO_D, exponentialLaw>("explaw"),
    row<FunctionO_DD, binomialLaw>("binlaw"),
    row<FunctionO_M, sampleLaw>("elaw"),
};

}  // namespace

std::span<const BuiltinRow> lawBuiltins() { return kRows; }

}  // namespace tesmora
