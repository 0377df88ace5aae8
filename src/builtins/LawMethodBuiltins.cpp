// The methods of laws, called as L.name(...): probabilities, quantiles,
// the density, and the tables of discrete laws.
#include "builtins/IntervalTable.h"
#include "builtins/Rows.h"

namespace tesmora {
namespace {

double density(L law, double x) { return law.den(x); }
double below(L law, double x) { return law.pl(x); }
double atMost(L law, double x) { return law.ple(x); }
double exactly(L law, double x) { return law.pe(x); }
double above(L law, double x) { return law.pg(x); }
double atLeast(L law, double x) { return 1 - law.pl(x); }

double quantileBelow(L law, double p) { return law.invpl(p); }
double quantileAbove(L law, double p) { return law.invpl(1 - p); }
double lowestQuantile(L law, double p) { return law.qmin(p); }
double highestQuantile(L law, double p) { return law.qmax(p); }
double middleQuantile(L law, double p) { return law.q(p); }

// The interval probabilities need a < b; the message names the method.
template <double (CLaw::*Probability)(double, double) const, const char* Message>
double between(L law, double a, double b) {
  if (!(a < b)) raise(Message);
  return (law.*Probability)(a, b);
}
constexpr char kPglSays[] = "pgl: недопустимые значения аргументов";
constexpr char kPgelSays[] = "pgel: недопустимые значения аргументов";
constexpr char kPgleSays[] = "pgle: недопустимые значения аргументов";
constexpr char kPgeleSays[] = "pgele: недопустимые значения аргументов";

ValuePtr valueFrequencies(L law, double x) { return law.valefr(x); }
ValuePtr rangeFrequencies(L law, double a, double b, double x) { return law.rvalefr(a, b, x); }
ValuePtr stairPoints(L law, double a, double b) { return law.dlpoints(a, b); }

// Expected frequencies of the intervals between breakpoints, scaled by x.
template <double (*Cumulative)(L, double)>
ValuePtr intervalFrequencies(L law, M breakpoints, double x) {
  return intervalTable(breakpoints, 1, x, [&](double t) { return Cumulative(law, t); });
}
double halfOnPoint(L law, double t) { return law.pl(t) + law.pe(t) / 2; }

constexpr BuiltinRow kRows[] = {
    pureRow<SF_LD, density>("den", kLawType),
    pureRow<SF_LD, below>("pl", kLawType),
    pureRow<SF_LD, atMost>("ple", kLawType),
    pureRow<SF_LD, quantileBelow>("invpl", kLawType),
    pureRow<SF_LD, lowestQuantile>("qmin", kLawType),
    pureRow<SF_LD, highestQuantile>("qmax", kLawType),
    pureRow<SF_LD, middleQuantile>("q", kLawType),
    pureRow<SF_LD, exactly>("pe", kLawType),
    pureRow<SF_LD, above>("pg", kLawType),
    pureRow<SF_LD, atLeast>("pge", kLawType),
    row<SF_LDD, between<&CLaw::pgl, kPglSays>>("pgl", kLawType),
    row<SF_LDD, between<&CLaw::pgel, kPgelSays>>("pgel", kLawType),
    row<SF_LDD, between<&CLaw::pgle, kPgleSays>>("pgle", kLawType),
    row<SF_LDD, between<&CLaw::pgele, kPgeleSays>>("pgele", kLawType),
    pureRow<SF_LD, quantileAbove>("invpg", kLawType),
    row<FunctionO_LD, valueFrequencies>("valefr", kLawType),
    row<FunctionO_LDDD, rangeFrequencies>("rvalefr", kLawType),
    row<FunctionO_LDD, stairPoints>("dlpoints", kLawType),
    row<FunctionO_LMD, intervalFrequencies<below>>("intefrgel", kLawType),
    row<FunctionO_LMD, intervalFrequencies<atMost>>("intefrgle", kLawType),
    row<FunctionO_LMD, intervalFrequencies<halfOnPoint>>("intefr", kLawType),
};

}  // namespace

std::span<const BuiltinRow> lawMethodBuiltins() { return kRows; }

}  // namespace tesmora
