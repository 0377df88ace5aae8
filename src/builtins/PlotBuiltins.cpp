// The plotting builtins: each checks its arguments and appends one graphic
// command, holding copies of its data, to the picture's command list.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "builtins/Rows.h"
#include "graphics/ChartCommands.h"
#include "graphics/PlotCommands.h"
#include "graphics/StateCommands.h"
#include "text/Cp1251.h"

namespace tesmora {
namespace {

using graphics::picture;
using graphics::Rgb;

bool isMatrix(const MatObject& v) { return v.typeCode == kMatrixType; }
bool isNumber(const MatObject& v) { return v.typeCode == kScalarType; }

void requireTypes(bool ok) {
  if (!ok) raise("несоответствие типа аргумента");
}

// Widths and counts are truncated toward zero; beyond any screen they stop
// growing (a double far outside int must not reach the conversion).
int truncated(double v) {
  constexpr double kLimit = 1e8;
  if (!(v > -kLimit)) return v != v ? 0 : -static_cast<int>(kLimit);
  if (v > kLimit) return static_cast<int>(kLimit);
  return static_cast<int>(std::trunc(v));
}

std::vector<double> copyOf(const Matrix& m) {
  return std::vector<double>(m.data(), m.data() + m.count());
}

// The packed conversion: each component keeps the low 8 bits of its
// integer part.
std::uint8_t lowByte(double v) {
  const double t = std::trunc(v);
  if (!(std::fabs(t) < 9e18)) return 0;
  return static_cast<std::uint8_t>(static_cast<long long>(t) & 0xFF);
}

// A colour read by the packed conversion; fewer than 3 elements is an
// index error, as reading the missing element would be.
Rgb packedColor(const Matrix& m) {
  if (m.count() < 3) raiseAbout("Matrix[]", "недопустимый индекс");
  return {lowByte(m[0]), lowByte(m[1]), lowByte(m[2])};
}

// The checked conversion: every component's integer part must be 0…255.
Rgb checkedColor(const Matrix& m, std::string_view subject = {}) {
  std::uint8_t c[3];
  for (int i = 0; i < 3; ++i) {
    const double t = std::trunc(m[i]);
    if (!(t >= 0 && t <= 255)) {
      if (subject.empty()) raise("недопустимый цвет");
      raiseAbout(subject, "недопустимый цвет");
    }
    c[i] = static_cast<std::uint8_t>(t);
  }
  return {c[0], c[1], c[2]};
}

template <class Command, class... Fields>
Command& append(Fields&&... fields) {
  auto command = std::make_unique<Command>(picture(), std::forward<Fields>(fields)...);
  Command& added = *command;
  picture().append(std::move(command));
  return added;
}

void line(int count, Args args) {
  if (count < 3) raise("line: слишком мало аргументов");
  if (count > 6) raise("line: слишком много аргументов");
  if (!isMatrix(*args[0])) raise("line: недопустимый тип 1-го аргумента");
  if (!isMatrix(*args[1])) raise("line: недопустимый тип 2-го аргумента");
  if (!isMatrix(*args[2])) raise("line: недопустимый тип 3-го аргумента");
  graphics::CLine::Style style;
  style.color = packedColor(asMatrix(*args[2]));
  if (count > 3) {
    if (!isNumber(*args[3])) raise("line: недопустимый тип 4-го аргумента");
    style.width = numberOf(*args[3]);
  }
  if (count > 4) {
    const MatObject& bounds = *args[4];
    if (isNumber(bounds)) {
      style.yBound = numberOf(bounds);
    } else if (isMatrix(bounds) && asMatrix(bounds).count() == 2) {
      style.xBound = asMatrix(bounds)[0];
      style.yBound = asMatrix(bounds)[1];
    } else {
      raise("line: недопустимый тип 5-го аргумента");
    }
  }
  if (count > 5) {
    if (!isMatrix(*args[5])) raise("line: недопустимый тип 5-го аргумента");
    style.color2 = packedColor(asMatrix(*args[5]));
    style.hasColor2 = true;
  }
  const Matrix& x = asMatrix(*args[0]);
  const Matrix& y = asMatrix(*args[1]);
  if (x.count() != y.count()) raise("line: не совпадают размерности");
  append<graphics::CLine>(style, copyOf(x), copyOf(y));
}

void verticalLines(int count, Args args) {
  if (count < 2) raise("vlines: слишком мало аргументов");
  if (count > 3) raise("vlines: слишком много аргументов");
  if (!isMatrix(*args[0])) raise("vlines: недопустимый тип 1-го аргумента");
  if (!isMatrix(*args[1])) raise("vlines: недопустимый тип 2-го аргумента");
  const Matrix& m = asMatrix(*args[0]);
  const Matrix& color = asMatrix(*args[1]);
  if (m.cols() != 2) raise("vlines: недопустимый размер 1-го аргумента");
  if (color.count() != 3) raise("vlines: 2-й аргумент не является цветом");
  int width = 1;
  if (count > 2) {
    if (!isNumber(*args[2])) raise("vlines: недопустимый тип 3-го аргумента");
    width = truncated(numberOf(*args[2]));
  }
  std::vector<double> x, y;
  for (int r = 0; r < m.rows(); ++r) {
    x.push_back(m.at(r, 0));
    y.push_back(m.at(r, 1));
  }
  append<graphics::CVLines>(std::move(x), std::move(y), width, packedColor(color));
}

void stairs(int count, Args args) {
  if (count < 2) raise("stairs: слишком мало аргументов");
  if (count > 2) raise("stairs: слишком много аргументов");
  requireTypes(isMatrix(*args[0]) && isMatrix(*args[1]));
  const Matrix& t = asMatrix(*args[0]);
  const Matrix& h = asMatrix(*args[1]);
  if (t.count() != h.count() + 1) {
    raise("stairs: точек должно быть на одну больше, чем высот");
  }
  append<graphics::CStairs>(copyOf(t), copyOf(h));
}

void squareLine(int count, Args args) {
  if (count < 6) raise("sqline: слишком мало аргументов");
  if (count > 6) raise("sqline: слишком много аргументов");
  requireTypes(isMatrix(*args[0]) && isMatrix(*args[1]) && isMatrix(*args[2]) &&
               isNumber(*args[3]) && isMatrix(*args[4]) && isNumber(*args[5]));
  const Matrix& color1 = asMatrix(*args[2]);
  const Matrix& color2 = asMatrix(*args[4]);
  if (color1.count() != 3) raise("sqline: 3-й аргумент не является цветом");
  if (color2.count() != 3) raise("sqline: 5-й аргумент не является цветом");
  const Matrix& x = asMatrix(*args[0]);
  const Matrix& y = asMatrix(*args[1]);
  if (x.count() != y.count()) raise("sqline: не совпадают размерности");
  append<graphics::CSqLine>(packedColor(color1), truncated(numberOf(*args[3])),
                            packedColor(color2), truncated(numberOf(*args[5])),
                            copyOf(x), copyOf(y));
}

void points(int count, Args args) {
  if (count < 3) raise("points: слишком мало аргументов");
  if (count > 4) raise("points: слишком много аргументов");
  requireTypes(isMatrix(*args[0]) && isMatrix(*args[1]) && isMatrix(*args[2]) &&
               (count < 4 || isNumber(*args[3])));
  const Matrix& color = asMatrix(*args[2]);
  if (color.count() != 3) raise("points: второй аргумент(цвет) - трехмерный вектор");
  const Matrix& x = asMatrix(*args[0]);
  const Matrix& y = asMatrix(*args[1]);
  if (x.count() != y.count()) raise("points: не совпадают размерности");
  const int size = count > 3 ? truncated(numberOf(*args[3])) : 1;
  append<graphics::CPoints>(size, packedColor(color), copyOf(x), copyOf(y));
}

// hist and dhist: bars from (left, right, value) rows or (x, height) rows;
// dhist turns values into densities.
void histogram(const char* name, bool density, int count, Args args) {
  if (count < 2) raiseAbout(name, "слишком мало аргументов");
  if (count > 4) raiseAbout(name, "слишком много аргументов");
  if (!isMatrix(*args[0])) raiseAbout(name, "недопустимый тип 1-го аргумента");
  const Matrix& m = asMatrix(*args[0]);
  if (m.cols() != 2 && m.cols() != 3) {
    raiseAbout(name, "первый аргумент должен быть матрицей, содержащей 2 или 3 столбца.");
  }
  if (!isMatrix(*args[1])) raiseAbout(name, "недопустимый тип 2-го аргумента");
  const Matrix& color = asMatrix(*args[1]);
  if (color.count() != 3) raiseAbout(name, "3-й аргумент не является цветом");
  const Rgb fill = checkedColor(color, name);
  double factor = 0.5;
  if (count > 2) {
    if (!isNumber(*args[2])) raiseAbout(name, "недопустимый тип 3-го аргумента");
    factor = numberOf(*args[2]);
    if (!(factor > 0)) raiseAbout(name, "недопустимое значение 3-го аргумента");
  }
  int outline = 1;
  if (count > 3) {
    if (!isNumber(*args[3])) raiseAbout(name, "недопустимый тип 4-го аргумента");
    outline = truncated(numberOf(*args[3]));
  }

  std::vector<graphics::CHist::Bar> bars;
  const int rows = m.rows();
  if (m.cols() == 3) {
    for (int r = 0; r < rows; ++r) {
      const double left = m.at(r, 0), right = m.at(r, 1), value = m.at(r, 2);
      if (!(right > left)) raise("hist: недопустимые границы интервалов");
      bars.push_back({left, right, density ? value / (right - left) : value});
    }
  } else {
    const double spacing = rows > 1 ? (m.at(rows - 1, 0) - m.at(0, 0)) / (rows - 1) : 1;
    const double half = factor * spacing / 2;
    for (int r = 0; r < rows; ++r) {
      bars.push_back({m.at(r, 0) - half, m.at(r, 0) + half, m.at(r, 1)});
    }
  }
  append<graphics::CHist>(std::move(bars), factor, fill, outline);
}

void hist(int count, Args args) { histogram("hist", false, count, args); }
void densityHist(int count, Args args) { histogram("dhist", true, count, args); }

void capitalMarketLine(int count, Args args) {
  if (count != 6) raise("cml: должно быть 6 аргументов");
  requireTypes(isMatrix(*args[0]) && isMatrix(*args[1]) && isNumber(*args[2]) &&
               isNumber(*args[3]) && isMatrix(*args[4]) && isMatrix(*args[5]));
  const Matrix& cov = asMatrix(*args[0]);
  const Matrix& mu = asMatrix(*args[1]);
  const Matrix& pointColor = asMatrix(*args[4]);
  const Matrix& lineColor = asMatrix(*args[5]);
  if (pointColor.count() != 3) raise("cml: пятый аргумент(цвет) - трехмерный вектор");
  if (lineColor.count() != 3) raise("cml: шестой аргумент(цвет) - трехмерный вектор");
  const int n = mu.count();
  // A covariance matrix is square; a wider or narrower one is refused with
  // its rows, since its row count cannot match both dimensions.
  if (cov.rows() != n || cov.cols() != n) {
    raise("cml: количество строк ковариационной матрицы не совпадает с размерностью "
          "вектора доходностей");
  }
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      const bool definite = cov.at(i, i) >= 0 &&
                            cov.at(i, i) * cov.at(j, j) - cov.at(i, j) * cov.at(j, i) >= 0;
      if (!definite) {
        raise("cml: ковариационная матрица должна быть неотрицательно определенной");
      }
    }
  }
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      if (cov.at(i, j) != cov.at(j, i)) {
        raise("cml: ковариационная матрица должна быть симметричной");
      }
    }
  }
  append<graphics::CCML>(packedColor(pointColor), packedColor(lineColor),
                         std::max(0, truncated(numberOf(*args[3]))), numberOf(*args[2]),
                         copyOf(cov), copyOf(mu));
}

void setView(int count, Args args) {
  if (count != 4) raise("setview: число аргументов");
  for (int i = 0; i < 4; ++i) requireTypes(isNumber(*args[i]));
  const double xmin = numberOf(*args[0]), ymin = numberOf(*args[1]);
  const double xmax = numberOf(*args[2]), ymax = numberOf(*args[3]);
  if (!(xmin < xmax && ymin < ymax)) raise("setview: недопустимые значения аргументов");
  auto& view = append<graphics::CSetView>(xmin, xmax, ymin, ymax);
  if (picture().view) raise("повторный вызов setview");
  picture().view = &view;
}

void axes(int count, Args args) {
  if (count > 2) raise("axes: слишком много аргументов");
  double xStep = 0, yStep = 0;
  std::string labels;
  if (count == 1 && args[0]->typeCode == kStringType) {
    xStep = 1;
    labels = static_cast<const String&>(*args[0]).text;
  } else {
    for (int i = 0; i < count; ++i) requireTypes(isNumber(*args[i]));
    if (count > 0) xStep = numberOf(*args[0]);
    if (count > 1) yStep = numberOf(*args[1]);
  }
  auto& added = append<graphics::CAxes>(xStep, yStep, std::move(labels));
  if (picture().axes) raise("повторный вызов axes");
  picture().axes = &added;
}

Rgb penColor(const MatObject& value) {
  if (asMatrix(value).count() != 3) raise("Цвет - 3D-вектор");
  return checkedColor(asMatrix(value));
}

void setPen(int count, Args args) {
  if (count < 1 || count > 2) raise("setpen: должно быть 1 или 2 аргумента");
  requireTypes(isMatrix(*args[0]) && (count < 2 || isNumber(*args[1])));
  const Rgb color = penColor(*args[0]);
  append<graphics::CSetPen>(color, count > 1 ? truncated(numberOf(*args[1])) : 1);
}

void setHPen(int count, Args args) {
  if (count > 1) raise("sethpen: много аргументов");
  if (count == 0) {
    append<graphics::CSetHPen>(graphics::kBlack, 0);
    return;
  }
  if (!isMatrix(*args[0])) raise("Цвет - 3D-вектор");
  append<graphics::CSetHPen>(penColor(*args[0]), 1);
}

void setBrush(int count, Args args) {
  if (count > 1) raise("setbrush: много аргументов");
  if (count == 0) {
    append<graphics::CSetBrush>(graphics::kBlack);
    return;
  }
  requireTypes(isMatrix(*args[0]));
  append<graphics::CSetBrush>(penColor(*args[0]));
}

void windowTitle(int count, Args args) {
  if (count != 1) raise("wintitle: должен быть 1 аргумент");
  const MatObject& title = *args[0];
  if (title.typeCode == kStringType) {
    append<graphics::CWinTitle>(static_cast<const String&>(title).text);
  } else {
    requireTypes(isNumber(title));
    append<graphics::CWinTitle>(graphics::gFormat(numberOf(title)));
  }
}

double setFont(double size) {
  picture().fontSize = size;
  return size;
}

constexpr BuiltinRow kRows[] = {
    row<SF_D, setFont>("setfont"),
    row<Subroutine, axes>("axes"),
    row<Subroutine, line>("line"),
    row<Subroutine, squareLine>("sqline"),
    row<Subroutine, verticalLines>("vlines"),
    row<Subroutine, stairs>("stairs"),
    row<Subroutine, capitalMarketLine>("cml"),
    row<Subroutine, setPen>("setpen"),
    row<Subroutine, setHPen>("sethpen"),
    row<Subroutine, setBrush>("setbrush"),
    row<Subroutine, setView>("setview"),
    row<Subroutine, hist>("hist"),
    row<Subroutine, densityHist>("dhist"),
    row<Subroutine, points>("points"),
    row<Subroutine, windowTitle>("wintitle"),
};

}  // namespace

std::span<const BuiltinRow> plotBuiltins() { return kRows; }

}  // namespace tesmora
