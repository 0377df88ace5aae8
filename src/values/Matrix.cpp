#include "values/Matrix.h"

#include <algorithm>
#include <cmath>

#include "interp/Errors.h"
#include "interp/Limits.h"
#include "values/CLaw.h"
#include "values/Indexing.h"
#include "values/Scalar.h"

namespace tesmora {
namespace {

int gMaxElements = kDefaultMaxElements;

}  // namespace

int maxElementCount() { return gMaxElements; }
void setMaxElementCount(int limit) { gMaxElements = limit; }

preMatrix::~preMatrix() = default;

Matrix::Matrix(int rows, int cols)
    : rows_(rows), cols_(cols),
      elements_(allocateElements(std::size_t(rows) * cols, true)) {}

Matrix::Matrix(int rows, int cols, ForOverwrite)
    : rows_(rows), cols_(cols),
      elements_(allocateElements(std::size_t(rows) * cols, false)) {}

std::unique_ptr<Matrix> Matrix::create(int rows, int cols) {
  if (static_cast<long long>(rows) * cols > gMaxElements) {
    raise("слишком большой массив");
  }
  return createUnbounded(rows, cols);
}

std::unique_ptr<Matrix> Matrix::createForOverwrite(int rows, int cols) {
  if (static_cast<long long>(rows) * cols > gMaxElements) {
    raise("слишком большой массив");
  }
  return std::unique_ptr<Matrix>(new Matrix(rows, cols, ForOverwrite{}));
}

std::unique_ptr<Matrix> Matrix::createUnbounded(int rows, int cols) {
  return std::unique_ptr<Matrix>(new Matrix(rows, cols));
}

std::unique_ptr<Matrix> Matrix::fromSizes(double rows, double cols) {
  if (!isNonNegativeInteger(rows) || !isNonNegativeInteger(cols)) {
    raise("Размеры матрицы должны быть натуральными числами");
  }
  if (rows > gMaxElements || cols > gMaxElements || rows * cols > gMaxElements) {
    raise("слишком большой массив чисел");
  }
  return createUnbounded(static_cast<int>(rows), static_cast<int>(cols));
}

std::unique_ptr<Matrix> Matrix::column(double n) {
  if (!isNonNegativeInteger(n)) {
    raise("Размер столбца должен быть натуральным числом");
  }
  if (n > gMaxElements) raise("слишком большой столбец");
  return createUnbounded(static_cast<int>(n), 1);
}

ValuePtr Matrix::elementAt(int index) const {
  if (index < 0 || index >= count()) raiseAbout("Matrix[]", "недопустимый индекс");
  return makeNumber(elements_[index]);
}

ValuePtr Matrix::elementAtRC(int row, int col) const {
  if (row < 0 || row >= rows_ || col < 0 || col >= cols_) {
    raiseAbout("Matrix2", "недопустимый индекс");
  }
  return makeNumber(at(row, col));
}

std::unique_ptr<Matrix> Matrix::duplicate() const {
  auto result = std::unique_ptr<Matrix>(new Matrix(rows_, cols_, ForOverwrite{}));
  std::copy(data(), data() + count(), result->data());
  return result;
}

ValuePtr Matrix::copy() const {
  if (static_cast<long long>(count()) > gMaxElements) raise("слишком большой массив");
  return duplicate();
}

double Matrix::mean() const {
  double sum = 0;
  for (int i = 0; i < count(); ++i) sum += elements_[i];
  return sum / count();
}

double Matrix::variance() const {
  const double m = mean();
  double sum = 0;
  for (int i = 0; i < count(); ++i) sum += (elements_[i] - m) * (elements_[i] - m);
  return sum / count();
}

void Matrix::setElement(int count, Args args) {
  if (count < 1) raise("у матрицы должны быть индексы");
  if (count > 2) raise("у матрицы не может быть более 2 индексов");
  if (args[count]->typeCode != kScalarType) {
    raise("недопустимый тип значения элемента");
  }
  for (int i = 0; i < count; ++i) {
    if (args[i]->typeCode != kScalarType) raise("недопустимый тип индекса");
  }
  const double value = numberOf(*args[count]);
  if (count == 1) {
    elements_[assignIndex(*this, *args[0], this->count())] = value;
  } else {
    const int r = assignIndex(*this, *args[0], rows_);
    const int c = assignIndex(*this, *args[1], cols_);
    at(r, c) = value;
  }
  cachedLaw.reset();
}

double Matrix::invoke(int count, Args args) {
  if (count == 1) return eval1(numberOf(*args[0]));
  if (count == 2) return eval2(numberOf(*args[0]), numberOf(*args[1]));
  raise("Элемент матрицы должен иметь 1 или 2 индекса");
}

double Matrix::eval1(double x) { return elements_[readIndex(x, count())]; }

double Matrix::eval2(double x, double y) {
  const int r = readIndex(x, rows_);
  const int c = readIndex(y, cols_);
  return at(r, c);
}

CColor::CColor(double red, double green, double blue) : Matrix(1, 3) {
  (*this)[0] = red;
  (*this)[1] = green;
  (*this)[2] = blue;
}

std::unique_ptr<Matrix> CColor::duplicate() const {
  return std::make_unique<CColor>((*this)[0], (*this)[1], (*this)[2]);
}

unsigned packColor(const Matrix& color) {
  unsigned packed = 0;
  for (int i = 2; i >= 0; --i) {
    const double component = std::trunc(color[i]);
    if (!(component >= 0 && component <= 255)) raise("недопустимый цвет");
    packed = packed * 256 + static_cast<unsigned>(component);
  }
  return packed;
}

}  // namespace tesmora
