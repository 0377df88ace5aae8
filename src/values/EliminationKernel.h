// The inner loop of the blocked Gauss–Jordan elimination: rows taking a
// series of steps x ← x − e·p, one after another.
#pragma once

#include <cstddef>

namespace tesmora {

// For every row r < rows and column c < width:
//   for s = 0 .. steps−1 in order:  x[r·stride + c] −= e[r·stride + s] · p[s·pStride + c]
// each step a rounded product and a rounded difference (never a fused
// multiply-add), so the result is the same with or without vector
// instructions. e and x are read from the same rows, apart by a fixed offset.
void subtractSteps(double* x, std::size_t stride, int rows, const double* e,
                   const double* p, std::size_t pStride, int steps, int width);

// The same without vector instructions beyond the baseline; exposed so
// that tests can hold both to the same bits.
void subtractStepsPortable(double* x, std::size_t stride, int rows, const double* e,
                           const double* p, std::size_t pStride, int steps, int width);

}  // namespace tesmora
