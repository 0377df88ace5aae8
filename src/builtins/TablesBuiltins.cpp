// Building and taking apart tables: super, resize, the row and column
// counts of super-matrices, colours (rgb, w), and the selectors c, r and
// contains of matrices and super-matrices.
#include <cmath>
#include <string_view>
#include <vector>

#include "builtins/Rows.h"
#include "builtins/TableParts.h"

namespace tesmora {
namespace {

bool isNumber(const MatObject* value) { return value->typeCode == kScalarType; }

// ---- super ----------------------------------------------------------------

ValuePtr superFromSizes(double rows, double cols, const std::string& fill) {
  try {
    return CSuperMatrix::fromSizes(rows, cols, fill);
  } catch (ScriptError& error) {
    error.subject = "super";  // the size errors name the builtin too
    throw;
  }
}

// super(n), super(m, n), super(m, n, t): a table of texts t (empty by default).
ValuePtr superTable(int count, Args args) {
  if (count < 1) raiseAbout("super", "слишком мало аргументов");
  if (count > 3) raiseAbout("super", "слишком много аргументов");
  if (count == 1) {
    if (!isNumber(args[0])) raiseAbout("super", "аргумент должен быть числом");
    return superFromSizes(numberOf(*args[0]), 1, "");
  }
  if (!isNumber(args[0]) || !isNumber(args[1])) {
    raiseAbout("super", count == 2 ? "оба аргумента должены быть числами"
                                   : "первые два аргумента должены быть числами");
  }
  if (count == 2) return superFromSizes(numberOf(*args[0]), numberOf(*args[1]), "");
  if (args[2]->typeCode != kStringType) {
    raiseAbout("super", "третий аргумент должен быть строкой");
  }
  return superFromSizes(numberOf(*args[0]), numberOf(*args[1]),
                        static_cast<const String&>(*args[2]).text);
}

ValuePtr superRowCount(Sup table) { return makeNumber(table.rows()); }
ValuePtr superColumnCount(Sup table) { return makeNumber(table.cols()); }

// ---- resize ---------------------------------------------------------------

int checkedWidth(double k) {
  if (!(k > 0 && k == std::floor(k))) raise("Недопустимое значение второго аргумента");
  if (k > maxElementCount()) raise("слишком большой массив объектов");
  return static_cast<int>(k);
}

// resize(x, k): the elements of x, row by row, laid out in rows of k cells;
// the cells after the last element hold empty texts.
ValuePtr resizeTable(int count, Args args) {
  if (count != 2) raise("resize: должно быть 2 аргумента");
  if (!isNumber(args[1])) raise("resize: второй аргумент должен быть скаляром");
  const MatObject& source = *args[0];
  if (source.typeCode != kMatrixType && source.typeCode != kSuperType) {
    raise("несоответствие типа аргумента");
  }
  const int width = checkedWidth(numberOf(*args[1]));
  const long long elements = source.elementCount();
  auto result = CSuperMatrix::create(static_cast<int>((elements + width - 1) / width), width);
  for (int i = 0; i < result->count(); ++i) {
    result->setCell(i, i < elements ? source.elementAt(i) : std::make_unique<String>(""));
  }
  return result;
}

// ---- colours --------------------------------------------------------------

ValuePtr colorOf(double red, double green, double blue) {
  return std::make_unique<CColor>(red, green, blue);
}

// c.w(x): the colour moved towards white by the share x.
ValuePtr whitened(M color, double share) {
  if (color.count() != 3) raise("w: аргумент не является цветом");
  packColor(color);  // refuses components outside 0..255
  auto lighter = [&](int i) { return 255 * share + (1 - share) * std::trunc(color[i]); };
  return std::make_unique<CColor>(lighter(0), lighter(1), lighter(2));
}

// ---- c and r --------------------------------------------------------------

// The 0-based positions a selector names: one number, or a numeric matrix
// of numbers, each an exact integer in 1..limit.
std::vector<int> selectedPositions(const MatObject& selector, int limit,
                                   std::string_view message) {
  auto position = [&](double k) {
    if (!(k >= 1 && k <= limit && k == std::floor(k))) raise(message);
    return static_cast<int>(k) - 1;
  };
  if (isNumber(&selector)) return {position(numberOf(selector))};
  if (selector.typeCode != kMatrixType) raise(message);
  const Matrix& numbers = asMatrix(selector);
  std::vector<int> positions(numbers.count());
  for (int i = 0; i < numbers.count(); ++i) positions[i] = position(numbers[i]);
  return positions;
}

ValuePtr pickPart(M source, const std::vector<int>& rows, const std::vector<int>& cols) {
  return pickMatrix(source, rows, cols);
}
ValuePtr pickPart(Sup source, const std::vector<int>& rows, const std::vector<int>& cols) {
  return pickTable(source, rows, cols);
}

template <class Table>
ValuePtr columnsOf(Table source, OValue k) {
  const auto cols = selectedPositions(k.value, source.cols(), "c: недопустимый номер столбца");
  return pickPart(source, allPositions(source.rows()), cols);
}

template <class Table>
ValuePtr rowsOf(Table source, OValue k) {
  const auto rows = selectedPositions(k.value, source.rows(), "r: недопустимый номер строки");
  return pickPart(source, rows, allPositions(source.cols()));
}

// ---- contains -------------------------------------------------------------

double matrixContains(M m, double x) {
  for (int i = 0; i < m.count(); ++i) {
    if (m[i] == x) return 1;
  }
  return 0;
}

// Only texts can equal a text; numbers in the table never do.
double tableContains(Sup table, Str text) {
  for (int i = 0; i < table.count(); ++i) {
    const MatObject* cell = table.cell(i);
    if (cell->typeCode == kStringType && static_cast<const String*>(cell)->text == text) {
      return 1;
    }
  }
  return 0;
}

constexpr BuiltinRow kRows[] = {
    row<COFunc, superTable>("super"),
    row<FunctionO_Super, superRowCount>("srdim"),
    row<FunctionO_Super, superColumnCount>("scdim"),
    row<COFunc, resizeTable>("resize"),
    row<FunctionO_DDD, colorOf>("rgb"),
    row<FunctionO_MD, whitened>("w", kMatrixType),
    row<FunctionO_MO, columnsOf<M>>("c", kMatrixType),
    row<FunctionO_MO, rowsOf<M>>("r", kMatrixType),
    row<SF_MD, matrixContains>("contains", kMatrixType),
    row<FunctionO_SupO, columnsOf<Sup>>("c", kSuperType),
    row<FunctionO_SupO, rowsOf<Sup>>("r", kSuperType),
    row<SF_SupStr, tableContains>("contains", kSuperType),
};

}  // namespace

std::span<const BuiltinRow> tableBuiltins() { return kRows; }

}  // namespace tesmora
