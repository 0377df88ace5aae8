#include "values/Display.h"

#include <cmath>
#include <cstdio>

#include "interp/Errors.h"
#include "interp/Limits.h"
#include "text/Cp1251.h"
#include "values/CLaw.h"
#include "values/Matrix.h"
#include "values/Rounding.h"
#include "values/Scalar.h"
#include "values/SuperMatrix.h"

namespace tesmora {

namespace {

// The number as shown: rounded to the display step; a NaN shows without
// the sign that 0/0 happens to carry.
double shown(double value) {
  const double rounded = roundToStep(value, kDisplayStep);
  return std::isnan(rounded) ? std::fabs(rounded) : rounded;
}

}  // namespace

std::string formatNumber(double value) {
  char scratch[64];
  std::snprintf(scratch, sizeof scratch, "%.12g", shown(value));
  return scratch;
}

void DisplayBuffer::reset() {
  text_.clear();
  caption_ = nullptr;
  written_ = false;
}

void DisplayBuffer::append(std::string_view text) {
  written_ = true;
  if (text_.size() + text.size() + 1 > static_cast<std::size_t>(kDisplayBufferSize)) {
    raise("слишком большой объем печати");
  }
  text_.append(text);
}

void DisplayBuffer::appendLine(std::string_view text) {
  append(text);
  append("\n");
}

void DisplayBuffer::appendNumber(const char* format, double value) {
  char scratch[64];
  std::snprintf(scratch, sizeof scratch, format, shown(value));
  append(scratch);
}

void DisplayBuffer::displayFull(const MatObject& value) {
  switch (value.typeCode) {
    case kScalarType:
      caption_ = "Скаляр";
      appendNumber("%.12g", numberOf(value));
      break;
    case kMatrixType:
      caption_ = "Матрица";
      displayMatrix(value);
      break;
    case kSuperType:
      caption_ = "Суперматрица";
      displaySuper(value);
      break;
    case kFunctionType:
    case kSFuncType:
      caption_ = "Функция";
      append(cp("\r\n функция"));
      break;
    case kLawType:
      caption_ = "Закон";
      displayLaw(value);
      break;
    case kStringType:
      caption_ = "Строка";
      append(static_cast<const String&>(value).text);
      break;
    default:
      reset();
  }
}

void DisplayBuffer::displayShort(const MatObject& value) {
  switch (value.typeCode) {
    case kScalarType:
      appendNumber("%.12g", numberOf(value));
      break;
    case kMatrixType:
      append("[]");
      break;
    case kSuperType:
      append("[[]]");
      break;
    case kFunctionType:
    case kSFuncType:
      append(cp("функция"));
      break;
    case kLawType:
      append(cp("закон"));
      break;
    case kStringType:
      append(static_cast<const String&>(value).text);
      break;
    default:
      break;
  }
}

void DisplayBuffer::displayMatrix(const MatObject& value) {
  const Matrix& m = asMatrix(value);
  if (m.rows() == 0 || m.cols() == 0) {
    append(cp("Матрица без элементов"));
    return;
  }
  for (int r = 0; r < m.rows(); ++r) {
    for (int c = 0; c < m.cols(); ++c) {
      const bool lastInRow = c == m.cols() - 1;
      const bool lastRow = r == m.rows() - 1;
      const char* format = !lastInRow ? "  %.8g," : lastRow ? "  %.8g" : "  %.8g\r\n";
      appendNumber(format, m.at(r, c));
    }
  }
}

void DisplayBuffer::displaySuper(const MatObject& value) {
  const CSuperMatrix& table = asSuper(value);
  if (table.rows() == 0 || table.cols() == 0) {
    append(cp("Суперматрица без элементов"));
    return;
  }
  for (int r = 0; r < table.rows(); ++r) {
    for (int c = 0; c < table.cols(); ++c) {
      displayShort(*table.cell(r, c));
      if (c < table.cols() - 1) append(", ");
      else if (r < table.rows() - 1) append("\r\n");
    }
  }
}

void DisplayBuffer::displayLaw(const MatObject& value) {
  const CLaw& law = static_cast<const CLaw&>(value);
  if (law.valueCount() < 1) {
    append(cp("\r\n закон"));
    return;
  }
  append(cp("\r\nзакон:\r\n"));
  ValuePtr table = law.valefr(1);
  const Matrix& m = asMatrix(*table);
  for (int r = 0; r < m.rows(); ++r) {
    for (int c = 0; c < m.cols(); ++c) {
      const bool lastInRow = c == m.cols() - 1;
      const bool lastRow = r == m.rows() - 1;
      const char* format = !lastInRow ? "  %.8g," : lastRow ? "  %.8g;" : "  %.8g;\r\n";
      appendNumber(format, m.at(r, c));
    }
  }
}

}  // namespace tesmora
