// Elementary functions of numbers, the choice iff, assert and splus.
//
// The runtime's mathematical routines signal their failures through their
// results: NaN from a number argument is a domain error, an infinity from
// a finite argument a pole (logarithms) or an overflow (exp). Each checked
// routine turns that into the system's message, named after the builtin
// the user called; an underflow simply yields 0.
#include <cmath>

#include "builtins/Rows.h"
#include "values/Arithmetic.h"
#include "values/Display.h"

namespace tesmora {
namespace {

enum class Infinity { kPole, kOverflow };

double checkedResult(const char* name, double x, double y,
                     Infinity infinity = Infinity::kPole) {
  if (std::isnan(y) && !std::isnan(x)) {
    raiseAbout(name, "выход за пределы области определения");
  }
  if (std::isinf(y) && std::isfinite(x)) {
    if (infinity == Infinity::kOverflow) raiseAbout(name, "значение функции слишком велико");
    raiseAbout(name, "выход за пределы области определения");
  }
  return y;
}

double sine(double x) { return checkedResult("sin", x, std::sin(x)); }
double cosine(double x) { return checkedResult("cos", x, std::cos(x)); }
double tangent(double x) { return checkedResult("tg", x, std::tan(x)); }
double arcSine(double x) { return checkedResult("arcsin", x, std::asin(x)); }
double arcCosine(double x) { return checkedResult("arccos", x, std::acos(x)); }
double arcTangent(double x) { return checkedResult("arctg", x, std::atan(x)); }
double exponent(double x) {
  return checkedResult("exp", x, std::exp(x), Infinity::kOverflow);
}
double naturalLog(double x) { return checkedResult("ln", x, std::log(x)); }
double decimalLog(double x) { return checkedResult("lg", x, std::log10(x)); }

double absolute(double x) { return std::fabs(x); }
double floorOf(double x) { return std::floor(x); }
double ceilingOf(double x) { return std::ceil(x); }
double sign(double x) { return x > 0 ? 1 : x < 0 ? -1 : 0; }
double inverse(double x) { return x == 0 ? 0 : 1 / x; }
double positivePart(double x) { return x > 0 ? x : 0; }
double multiply(double a, double b) { return a * b; }

// log(a, x): the logarithm of x to the base a; base 1 has none.
double logarithm(double a, double x) { return checkedDivide(naturalLog(x), naturalLog(a)); }

// splus(x): x as displayed, with a plus sign in front of non-negative numbers.
ValuePtr signedText(double x) {
  return std::make_unique<String>((x >= 0 ? "+" : "") + formatNumber(x));
}

// iff(c, a, b): a copy of a when c is 1, of b when c is 0.
ValuePtr choose(double condition, OValue whenTrue, OValue whenFalse) {
  if (condition == 1) return whenTrue.value.copy();
  if (condition == 0) return whenFalse.value.copy();
  raise("iff: первый аргумент должен быть 0 или 1");
}

double assertTrue(double condition) {
  if (condition != 1) raise("assert: условие нарушено");
  return 1;
}

constexpr BuiltinRow kRows[] = {
    row<SF_D, assertTrue>("assert"),
    row<FunctionO_D, signedText>("splus"),
    row<SF_DD, multiply>("mul"),
    row<SF_DD, logarithm>("log"),
    row<SF_DD, powerRule>("pow"),
    row<FunctionO_DOO, choose>("iff"),
    pureRow<SF_D, sine>("sin"),
    pureRow<SF_D, cosine>("cos"),
    pureRow<SF_D, exponent>("exp"),
    row<SF_D, inverse>("inv"),
    pureRow<SF_D, naturalLog>("ln"),
    pureRow<SF_D, decimalLog>("lg"),
    pureRow<SF_D, tangent>("tg"),
    pureRow<SF_D, arcSine>("arcsin"),
    pureRow<SF_D, arcCosine>("arccos"),
    pureRow<SF_D, arcTangent>("arctg"),
    row<SF_D, absolute>("abs"),
    row<SF_D, sign>("sign"),
    row<SF_D, floorOf>("floor"),
    row<SF_D, ceilingOf>("ceil"),
    row<SF_D, positivePart>("plus"),
};

}  // namespace

std::span<const BuiltinRow> elementaryBuiltins() { return kRows; }

}  // namespace tesmora
