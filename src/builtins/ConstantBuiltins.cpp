// The constants of the language: the named colours, pi, e, void, and the
// texts quote and newln.
#include <cmath>

#include "builtins/Rows.h"

namespace tesmora {
namespace {

template <int R, int G, int B>
ValuePtr makeColor() {
  return std::make_unique<CColor>(R, G, B);
}

template <int R, int G, int B>
constexpr BuiltinRow color(const char* name) {
  return constant<makeColor<R, G, B>>(name, "CColor");
}

ValuePtr makePi() { return makeNumber(4 * std::atan(1.0)); }
ValuePtr makeE() { return makeNumber(std::exp(1.0)); }
ValuePtr makeVoid() { return std::make_unique<Void>(); }
ValuePtr makeQuote() { return std::make_unique<String>("\""); }
ValuePtr makeNewLine() { return std::make_unique<String>("\n"); }

constexpr BuiltinRow kRows[] = {
    color<0, 255, 255>("aqua"),
    color<127, 255, 212>("aquamarine"),
    color<255, 228, 196>("bisque"),
    color<0, 0, 0>("black"),
    color<0, 0, 255>("blue"),
    color<165, 42, 42>("brown"),
    color<127, 255, 0>("chartreuse"),
    color<210, 105, 30>("chocolate"),
    color<255, 117, 80>("coral"),
    color<100, 149, 237>("cornflower"),
    color<220, 20, 60>("crimson"),
    color<0, 255, 255>("cyan"),
    color<255, 20, 147>("deeppink"),
    color<255, 215, 0>("gold"),
    color<128, 128, 128>("gray"),
    color<0, 255, 0>("green"),
    color<255, 105, 180>("hotpink"),
    color<255, 0, 255>("magenta"),
    color<0, 0, 128>("navy"),
    color<128, 128, 0>("olive"),
    color<255, 165, 152>("orange"),
    color<218, 112, 214>("orchid"),
    color<255, 192, 203>("pink"),
    color<221, 160, 221>("plum"),
    color<128, 0, 128>("purple"),
    color<255, 0, 0>("red"),
    color<188, 143, 143>("rosybrown"),
    color<250, 128, 114>("salmon"),
    color<192, 192, 192>("silver"),
    color<0, 191, 255>("skyblue"),
    color<70, 130, 180>("steelblue"),
    color<255, 250, 250>("snow"),
    color<210, 180, 140>("tan"),
    color<255, 99, 71>("tomato"),
    color<238, 130, 238>("violet"),
    color<245, 222, 179>("wheat"),
    color<255, 255, 255>("white"),
    color<224, 224, 224>("whitesmoke"),
    color<255, 255, 0>("yellow"),
    constant<makePi>("pi", "Scalar"),
    constant<makeE>("e", "Scalar"),
    constant<makeVoid>("void", "Void"),
    constant<makeQuote>("quote", "String"),
    constant<makeNewLine>("newln", "String"),
};

}  // namespace

std::span<const BuiltinRow> constantBuiltins() { return kRows; }

}  // namespace tesmora
