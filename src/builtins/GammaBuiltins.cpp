// Special functions of numbers: gamma, its logarithm, factorials, binomial
// coefficients, beta and the Kolmogorov distribution. Given matrices or
// tables they apply element by element, like every scalar function.
#include "builtins/Rows.h"
#include "builtins/GammaFunctions.h"

namespace tesmora {
namespace {

constexpr BuiltinRow kRows[] = {
    pureRow<SF_D, gammaOf>("gamma"),
    pureRow<SF_D, lngammaOf>("lngamma"),
    row<SF_D, factorial>("fa"),
    row<SF_DD, binomial>("cbin"),
    row<SF_DD, betaOf>("beta"),
    row<SF_D, kolmogorovQ>("pvKolm"),
    row<SF_D, kolmogorovCritical>("crKolm"),
};

}  // namespace

std::span<const BuiltinRow> specialBuiltins() { return kRows; }

}  // namespace tesmora
