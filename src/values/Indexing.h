// The index rules shared by numeric matrices and super-matrices.
#pragma once

#include "values/MatObject.h"

namespace tesmora {

// A size given as a number: a whole number >= 0 (of any magnitude; the
// element limit decides whether it is too large).
bool isNonNegativeInteger(double x);

// Reading an element: the index is truncated towards zero and must lie in
// 1..limit, else "недопустимый индекс". Returns the 0-based position.
int readIndex(double x, int limit);

// Assigning an element: the index must be a number ("недопустимый тип
// индекса") and an exact integer in 1..limit; else "недопустимый индекс"
// naming the assigned variable. Returns the 0-based position.
int assignIndex(const MatObject& target, const MatObject& index, int limit);

}  // namespace tesmora
