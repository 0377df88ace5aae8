// Frequencies of the values of a sample: valfr and the matrix methods
// fre ... frgle, rvalfr and the interval counts. All read the counts of
// the matrix's cached empirical law.
#include "builtins/IntervalTable.h"
#include "builtins/Rows.h"
#include "values/LawsDiscrete.h"

namespace tesmora {
namespace {

// With C<(t) and C=(t) the numbers of elements below and equal to t.
double equalTo(M a, double x) { return empiricalLaw(a).countEqual(x); }
double lessThan(M a, double x) { return empiricalLaw(a).countBelow(x); }
double atMost(M a, double x) {
  const CELaw& law = empiricalLaw(a);
  return law.countBelow(x) + law.countEqual(x);
}
double greaterThan(M a, double x) { return empiricalLaw(a).size() - atMost(a, x); }
double atLeast(M a, double x) { return empiricalLaw(a).size() - lessThan(a, x); }

void checkBounds(double a, double b, const char* message) {
  if (!(a < b)) raise(message);
}
double fromIncludedToExcluded(M s, double a, double b) {
  checkBounds(a, b, "frgel: недопустимые значения аргументов");
  return lessThan(s, b) - lessThan(s, a);
}
double fromIncludedToIncluded(M s, double a, double b) {
  checkBounds(a, b, "frgele: недопустимые значения аргументов");
  return atMost(s, b) - lessThan(s, a);
}
double fromExcludedToExcluded(M s, double a, double b) {
  checkBounds(a, b, "frgl: недопустимые значения аргументов");
  return lessThan(s, b) - atMost(s, a);
}
double fromExcludedToIncluded(M s, double a, double b) {
  checkBounds(a, b, "frgle: недопустимые значения аргументов");
  return atMost(s, b) - atMost(s, a);
}

ValuePtr valueCounts(M a) {
  const CELaw& law = empiricalLaw(a);
  return valueTable(law.values(), law.counts(), 1);
}

ValuePtr rangeCounts(M a, double low, double high) {
  checkBounds(low, high, "rvalfr: недопустимые значения границ");
  const CELaw& law = empiricalLaw(a);
  return lumpedTable(law.values(), law.counts(), low, high, 1);
}

// Interval counts; an element on a breakpoint counts half to each side
// for intfr.
template <double (*Cumulative)(M, double)>
ValuePtr intervalCounts(M a, M breakpoints) {
  return intervalTable(breakpoints, empiricalLaw(a).size(), 1,
                       [&](double t) { return Cumulative(a, t); });
}
double halfOnPoint(M a, double t) { return lessThan(a, t) + equalTo(a, t) / 2; }

constexpr BuiltinRow kRows[] = {
    row<FunctionO_M, valueCounts>("valfr"),
    row<FunctionO_MM, intervalCounts<halfOnPoint>>("intfr", kMatrixType),
    row<FunctionO_MDD, rangeCounts>("rvalfr", kMatrixType),
    row<FunctionO_MM, intervalCounts<lessThan>>("intfrgel", kMatrixType),
    row<FunctionO_MM, intervalCounts<atMost>>("intfrgle", kMatrixType),
    row<SF_MD, equalTo>("fre", kMatrixType),
    row<SF_MD, lessThan>("frl", kMatrixType),
    row<SF_MD, atMost>("frle", kMatrixType),
    row<SF_MD, greaterThan>("frg", kMatrixType),
    row<SF_MD, atLeast>("frge", kMatrixType),
    row<SF_MDD, fromIncludedToExcluded>("frgel", kMatrixType),
    row<SF_MDD, fromIncludedToIncluded>("frgele", kMatrixType),
    row<SF_MDD, fromExcludedToExcluded>("frgl", kMatrixType),
    row<SF_MDD, fromExcludedToIncluded>("frgle", kMatrixType),
};

}  // namespace

std::span<const BuiltinRow> frequencyBuiltins() { return kRows; }

}  // namespace tesmora
