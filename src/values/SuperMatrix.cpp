#include "values/SuperMatrix.h"

#include <cmath>

#include "interp/Errors.h"
#include "interp/Limits.h"
#include "values/Matrix.h"
#include "values/Indexing.h"
#include "values/Scalar.h"

namespace tesmora {
CSuperMatrix::CSuperMatrix(int rows, int cols)
    : COFunction(kSuperType),
      rows_(rows),
      cols_(cols),
      cells_(std::size_t(rows) * cols) {}

std::unique_ptr<CSuperMatrix> CSuperMatrix::create(int rows, int cols) {
  if (static_cast<long long>(rows) * cols > maxElementCount()) {
    raise("слишком большой массив объектов");
  }
  return std::unique_ptr<CSuperMatrix>(new CSuperMatrix(rows, cols));
}

std::unique_ptr<CSuperMatrix> CSuperMatrix::fromSizes(double rows, double cols,
                                                      const std::string& fill) {
  if (!isNonNegativeInteger(rows) || !isNonNegativeInteger(cols)) {
    raise("Размеры матрицы должны быть целыми >= 0");
  }
  const double limit = maxElementCount();
  if (rows > limit || cols > limit || rows * cols > limit) {
    raise("слишком большой массив объектов");
  }
  auto table = create(static_cast<int>(rows), static_cast<int>(cols));
  for (auto& cell : table->cells_) cell = std::make_unique<String>(fill);
  return table;
}

std::unique_ptr<CSuperMatrix> CSuperMatrix::column(double n) {
  if (!isNonNegativeInteger(n)) {
    raise("Размер столбца должен быть натуральным числом");
  }
  if (n > maxElementCount()) raise("слишком большой столбец");
  auto table = std::unique_ptr<CSuperMatrix>(new CSuperMatrix(static_cast<int>(n), 1));
  for (auto& cell : table->cells_) cell = std::make_unique<String>("");
  return table;
}

ValuePtr CSuperMatrix::elementAt(int index) const {
  if (index < 0 || index >= count()) raise("недопустимый индекс");
  return cells_[index]->copy();
}

ValuePtr CSuperMatrix::elementAtRC(int row, int col) const {
  if (row < 0 || row >= rows_ || col < 0 || col >= cols_) {
    raise("недопустимый индекс");
  }
  return cell(row, col)->copy();
}

ValuePtr CSuperMatrix::copy() const {
  auto result = create(rows_, cols_);
  for (int i = 0; i < count(); ++i) result->cells_[i] = cells_[i]->copy();
  return result;
}

int CSuperMatrix::uniformType() const {
  if (cells_.empty()) return kMixedType;
  const int first = cells_[0]->typeCode;
  for (const auto& cell : cells_) {
    if (cell->typeCode != first) return kMixedType;
  }
  return first;
}

int CSuperMatrix::elementType() const {
  if (cells_.empty()) return kMixedType;
  const int first = cells_[0]->elementType();
  for (const auto& cell : cells_) {
    if (cell->elementType() != first) return kMixedType;
  }
  return first;
}

void CSuperMatrix::setElement(int count, Args args) {
  if (count < 1) raise("у матрицы должны быть индексы");
  if (count > 2) raise("у матрицы не может быть более 2 индексов");
  for (int i = 0; i < count; ++i) {
    if (args[i]->typeCode != kScalarType) raise("недопустимый тип индекса");
  }
  int index = 0;
  if (count == 1) {
    index = assignIndex(*this, *args[0], this->count());
  } else {
    const int r = assignIndex(*this, *args[0], rows_);
    const int c = assignIndex(*this, *args[1], cols_);
    index = r * cols_ + c;
  }
  // Copy first: a failed copy leaves the old cell in place.
  ValuePtr value = args[count]->copy();
  cells_[index] = std::move(value);
}

ValuePtr CSuperMatrix::invoke(int count, Args args) {
  if (count == 1) {
    return cells_[readIndex(numberOf(*args[0]), this->count())]->copy();
  }
  if (count == 2) {
    const int r = readIndex(numberOf(*args[0]), rows_);
    const int c = readIndex(numberOf(*args[1]), cols_);
    return cell(r, c)->copy();
  }
  raise("Элемент матрицы должен иметь 1 или 2 индекса");
}

VectObjects::~VectObjects() {
  for (MatObject* item : items_) deleteIfTemporary(item);
}

void VectObjects::append(MatObject* item) {
  if (static_cast<int>(items_.size()) >= kMaxLiteralItems) {
    deleteIfTemporary(item);
    raise("Слишком много матричных элементов");
  }
  if (items_.empty()) {
    literalClass_ = item->literalClass();
  } else if (item->literalClass() != literalClass_) {
    literalClass_ = kMixedType;
  }
  items_.push_back(item);
}

}  // namespace tesmora
