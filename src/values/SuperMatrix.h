// CSuperMatrix: a rectangular table whose cells hold values of any kind —
// numbers, texts, matrices, laws, functions, other tables. Every cell owns
// its value (always a new value or a copy, never a variable's own).
#pragma once

#include <vector>

#include "values/Function.h"

namespace tesmora {

class CSuperMatrix final : public COFunction {
 public:
  // Cells empty (null), to be filled by the caller at once; bounded by the
  // element-count limit ("слишком большой массив объектов").
  static std::unique_ptr<CSuperMatrix> create(int rows, int cols);
  // Sizes given as numbers, cells holding the fill text.
  static std::unique_ptr<CSuperMatrix> fromSizes(double rows, double cols,
                                                 const std::string& fill);
  // A column of n empty texts, n given as a number.
  static std::unique_ptr<CSuperMatrix> column(double n);

  int rows() const { return rows_; }
  int cols() const { return cols_; }
  int count() const { return rows_ * cols_; }
  MatObject* cell(int index) const { return cells_[index].get(); }
  MatObject* cell(int r, int c) const { return cells_[std::size_t(r) * cols_ + c].get(); }
  void setCell(int index, ValuePtr value) { cells_[index] = std::move(value); }
  ValuePtr takeCell(int index) { return std::move(cells_[index]); }

  ValuePtr elementAt(int index) const override;
  ValuePtr copy() const override;
  int colCount() const override { return cols_; }
  int rowCount() const override { return rows_; }
  int elementCount() const override { return count(); }
  int elementType() const override;
  int uniformType() const override;
  void setElement(int count, Args args) override;
  ValuePtr elementAtRC(int row, int col) const override;

  int argCount() const override { return -1; }
  int maxArgs() const override { return 2; }
  int minArgs() const override { return 1; }
  int argType(int) const override { return kScalarType; }
  ValuePtr invoke(int count, Args args) override;

 private:
  CSuperMatrix(int rows, int cols);
  int rows_;
  int cols_;
  std::vector<ValuePtr> cells_;
};

inline CSuperMatrix& asSuper(MatObject& value) {
  return static_cast<CSuperMatrix&>(value);
}
inline const CSuperMatrix& asSuper(const MatObject& value) {
  return static_cast<const CSuperMatrix&>(value);
}

// The items of a matrix literal while it is being read. Owns the
// temporaries among them.
class VectObjects {
 public:
  VectObjects() = default;
  ~VectObjects();
  VectObjects(const VectObjects&) = delete;
  VectObjects& operator=(const VectObjects&) = delete;

  // Appends a value popped off the stack; raises "Слишком много матричных
  // элементов" at the 1001st item.
  void append(MatObject* item);
  int size() const { return static_cast<int>(items_.size()); }
  MatObject* operator[](int i) const { return items_[i]; }
  int literalClass() const { return literalClass_; }

 private:
  std::vector<MatObject*> items_;
  int literalClass_ = kMixedType;
};

}  // namespace tesmora
