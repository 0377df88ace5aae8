// New tables made of chosen rows and columns of another table, in the
// chosen order: the shared ground of c, r, select and the row sorts.
#pragma once

#include <vector>

#include "values/Matrix.h"
#include "values/SuperMatrix.h"

namespace tesmora {

// 0, 1, ..., count − 1.
std::vector<int> allPositions(int count);

// rows.size() × cols.size(); element (i, j) is source(rows[i], cols[j]).
// Positions are 0-based and already checked.
std::unique_ptr<Matrix> pickMatrix(const Matrix& source, const std::vector<int>& rows,
                                   const std::vector<int>& cols);
// The same for a super-matrix; the cells are copies.
std::unique_ptr<CSuperMatrix> pickTable(const CSuperMatrix& source,
                                        const std::vector<int>& rows,
                                        const std::vector<int>& cols);

}  // namespace tesmora
