// Frequencies of the intervals between consecutive breakpoints, shared by
// the law methods (expected frequencies) and the matrix methods (counts).
#pragma once

#include <algorithm>

#include "values/Matrix.h"

namespace tesmora {

// For breakpoints b0, …, bk (the elements in storage order): k rows
// (b_i, b_(i+1), scale × (H(b_(i+1)) − H(b_i))), where H is `cumulative`
// except that H(b0) counts as 0 and H(bk) as `whole`, so the first interval
// is open to the left and the last to the right.
template <class Cumulative>
ValuePtr intervalTable(const Matrix& breakpoints, double whole, double scale,
                       const Cumulative& cumulative) {
  const int k = std::max(breakpoints.count() - 1, 0);
  auto table = Matrix::create(k, 3);
  double previous = 0;
  for (int i = 0; i < k; ++i) {
    const double next = i + 1 == k ? whole : cumulative(breakpoints[i + 1]);
    table->at(i, 0) = breakpoints[i];
    table->at(i, 1) = breakpoints[i + 1];
    table->at(i, 2) = scale * (next - previous);
    previous = next;
  }
  return table;
}

}  // namespace tesmora
