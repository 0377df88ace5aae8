#include "builtins/TableParts.h"

#include <numeric>

namespace tesmora {

std::vector<int> allPositions(int count) {
  std::vector<int> positions(count);
  std::iota(positions.begin(), positions.end(), 0);
  return positions;
}

std::unique_ptr<Matrix> pickMatrix(const Matrix& source, const std::vector<int>& rows,
                                   const std::vector<int>& cols) {
  auto result = Matrix::create(static_cast<int>(rows.size()), static_cast<int>(cols.size()));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    for (std::size_t j = 0; j < cols.size(); ++j) {
      result->at(i, j) = source.at(rows[i], cols[j]);
    }
  }
  return result;
}

std::unique_ptr<CSuperMatrix> pickTable(const CSuperMatrix& source,
                                        const std::vector<int>& rows,
                                        const std::vector<int>& cols) {
  auto result =
      CSuperMatrix::create(static_cast<int>(rows.size()), static_cast<int>(cols.size()));
  int next = 0;
  for (const int r : rows) {
    for (const int c : cols) result->setCell(next++, source.cell(r, c)->copy());
  }
  return result;
}

}  // namespace tesmora
