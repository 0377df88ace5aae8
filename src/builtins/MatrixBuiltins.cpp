// Builtins of matrices and tables.
#include "builtins/Rows.h"

namespace tesmora {
namespace {

constexpr BuiltinRow kRows[] = {
    {nullptr, 0, nullptr, nullptr},
};

}  // namespace

std::span<const BuiltinRow> matrixBuiltins() { return std::span(kRows).first(0); }

}  // namespace tesmora
