// Rearranging the elements of matrices and tables: sort and dsort (of all
// elements, or of rows by a key column), gap filling (repl0) and row
// selection by a 0/1 mask (select, sselect). The argument is never changed.
#include <cmath>
#include <vector>

#include "builtins/Rows.h"
#include "builtins/Sorting.h"
#include "builtins/TableParts.h"

namespace tesmora {
namespace {

constexpr SortOrder kUp = SortOrder::kAscending;
constexpr SortOrder kDown = SortOrder::kDescending;

// ---- the orders ------------------------------------------------------------

// The 0-based key column: k an exact integer in 1..columns.
int keyColumn(double k, int columns) {
  if (!(k >= 1 && k <= columns && k == std::floor(k))) raise("недопустимый номер столбца");
  return static_cast<int>(k) - 1;
}

std::vector<int> orderOfMatrixRows(M m, int column, SortOrder order) {
  std::vector<NumberKey> keys(m.rows());
  for (int r = 0; r < m.rows(); ++r) keys[r] = {r, m.at(r, column)};
  return orderByNumbers(std::move(keys), order);
}

bool allOfType(const std::vector<const MatObject*>& values, int typeCode) {
  for (const MatObject* value : values) {
    if (value->typeCode != typeCode) return false;
  }
  return true;
}

// The order of table cells: numbers either way, texts only ascending.
std::vector<int> orderOfCells(const std::vector<const MatObject*>& cells, SortOrder order) {
  const int count = static_cast<int>(cells.size());
  if (allOfType(cells, kScalarType)) {
    std::vector<NumberKey> keys(count);
    for (int i = 0; i < count; ++i) keys[i] = {i, numberOf(*cells[i])};
    return orderByNumbers(std::move(keys), order);
  }
  if (order == kDown) raise("не все объекты в столбце являются числами");
  if (!allOfType(cells, kStringType)) {
    raise("или в столбце есть объекты разных типов, или объекты имеют одинаковый тип, "
          "но этот тип не Scalar и не String");
  }
  std::vector<TextKey> keys(count);
  for (int i = 0; i < count; ++i) keys[i] = {i, &static_cast<const String*>(cells[i])->text};
  return orderByTexts(std::move(keys));
}

// ---- sort and dsort --------------------------------------------------------

ValuePtr sortedElements(M m, SortOrder order) {
  auto result = m.duplicate();
  sortNumbers({result->data(), static_cast<std::size_t>(result->count())}, order);
  return result;
}

// sort(T): every cell a number, or every cell a text; filled row by row.
ValuePtr sortedCells(Sup table) {
  std::vector<const MatObject*> cells(table.count());
  for (int i = 0; i < table.count(); ++i) cells[i] = table.cell(i);
  const std::vector<int> order = orderOfCells(cells, kUp);
  auto result = CSuperMatrix::create(table.rows(), table.cols());
  for (int i = 0; i < table.count(); ++i) result->setCell(i, table.cell(order[i])->copy());
  return result;
}

ValuePtr sortedMatrixRows(M m, int column, SortOrder order) {
  return pickMatrix(m, orderOfMatrixRows(m, column, order), allPositions(m.cols()));
}

ValuePtr sortedTableRows(Sup table, int column, SortOrder order) {
  std::vector<const MatObject*> keys(table.rows());
  for (int r = 0; r < table.rows(); ++r) keys[r] = table.cell(r, column);
  return pickTable(table, orderOfCells(keys, order), allPositions(table.cols()));
}

// sort(x, k), dsort(x, k): the rows of x by their values in column k.
ValuePtr sortedRows(const MatObject& x, const MatObject& k, SortOrder order) {
  const bool isTable = x.typeCode == kMatrixType || x.typeCode == kSuperType;
  if (k.typeCode != kScalarType || !isTable) raise("несоответствие типа аргумента");
  const int column = keyColumn(numberOf(k), x.colCount());
  if (x.typeCode == kMatrixType) return sortedMatrixRows(asMatrix(x), column, order);
  return sortedTableRows(asSuper(x), column, order);
}

struct SortMessages {
  const char* noArguments;
  const char* tooManyArguments;
  const char* badType;
};
constexpr SortMessages kSortSays{"sort: нет аргументов", "sort: слишком много аргументов",
                                 "sort: недопустимый тип аргумента"};
constexpr SortMessages kDsortSays{"dsort: нет аргументов", "dsort: слишком много аргументов",
                                  "dsort: недопустимый тип аргумента"};

ValuePtr sortCall(int count, Args args, SortOrder order, const SortMessages& say) {
  if (count < 1) raise(say.noArguments);
  if (count > 2) raise(say.tooManyArguments);
  if (count == 2) return sortedRows(*args[0], *args[1], order);
  const MatObject& x = *args[0];
  if (x.typeCode == kMatrixType) return sortedElements(asMatrix(x), order);
  if (x.typeCode == kSuperType && order == kUp) return sortedCells(asSuper(x));
  raise(say.badType);
}

ValuePtr sortFunction(int count, Args args) { return sortCall(count, args, kUp, kSortSays); }
ValuePtr dsortFunction(int count, Args args) {
  return sortCall(count, args, kDown, kDsortSays);
}

// M.sort(k), M.dsort(k).
ValuePtr sortMethod(M m, double k) { return sortedMatrixRows(m, keyColumn(k, m.cols()), kUp); }
ValuePtr dsortMethod(M m, double k) {
  return sortedMatrixRows(m, keyColumn(k, m.cols()), kDown);
}

// ---- repl0 -----------------------------------------------------------------

// M.repl0(x): the elements, read row by row as one series, with each zero
// replaced by the nearest non-zero value before it (x < 0, at most |x|
// steps back) or after it (x >= 0, at most x steps ahead).
ValuePtr gapsFilled(M m, double reach) {
  auto result = m.duplicate();
  Matrix& out = *result;
  const int n = out.count();
  if (n == 0) return result;
  if (reach < 0) {
    int source = 0;
    for (int i = 0; i < n; ++i) {
      if (out[i] != 0) source = i;
      else if (i - source <= -reach) out[i] = out[source];
    }
  } else {
    int source = n - 1;
    for (int i = n - 1; i >= 0; --i) {
      if (out[i] != 0) source = i;
      else if (source - i <= reach) out[i] = out[source];
    }
  }
  return result;
}

// ---- select and sselect ----------------------------------------------------

struct MaskMessages {
  const char* badSizes;
  const char* notFlags;
};
constexpr MaskMessages kSelectSays{
    "select: недопустимые размеры аргументов",
    "select: второй аргумент содержит элементы, отличные от 0 и 1"};
constexpr MaskMessages kSselectSays{
    "sselect: недопустимые размеры аргументов",
    "sselect: второй аргумент содержит элементы, отличные от 0 и 1"};

// The rows whose flag is 1, in order. The mask is one column of 0s and 1s,
// one flag per row.
std::vector<int> flaggedRows(M mask, int rows, const MaskMessages& say) {
  if (mask.cols() != 1 || mask.rows() != rows) raise(say.badSizes);
  std::vector<int> picked;
  for (int r = 0; r < rows; ++r) {
    if (mask[r] == 1) picked.push_back(r);
    else if (mask[r] != 0) raise(say.notFlags);
  }
  return picked;
}

ValuePtr selectFunction(int count, Args args) {
  if (count < 2) raise("select: слишком мало аргументов");
  if (count > 2) raise("select: слишком много аргументов");
  const MatObject& table = *args[0];
  const bool isTable = table.typeCode == kMatrixType || table.typeCode == kSuperType;
  if (!isTable || args[1]->typeCode != kMatrixType) raise("select: недопустимый тип аргумента");
  const auto rows = flaggedRows(asMatrix(*args[1]), table.rowCount(), kSelectSays);
  const auto cols = allPositions(table.colCount());
  if (table.typeCode == kMatrixType) return pickMatrix(asMatrix(table), rows, cols);
  return pickTable(asSuper(table), rows, cols);
}

ValuePtr sselectFunction(Sup table, M mask) {
  return pickTable(table, flaggedRows(mask, table.rows(), kSselectSays),
                   allPositions(table.cols()));
}

constexpr BuiltinRow kRows[] = {
    row<COFunc, sortFunction>("sort"),
    row<COFunc, dsortFunction>("dsort"),
    row<FunctionO_MD, sortMethod>("sort", kMatrixType),
    row<FunctionO_MD, dsortMethod>("dsort", kMatrixType),
    row<FunctionO_MD, gapsFilled>("repl0", kMatrixType),
    row<COFunc, selectFunction>("select"),
    row<FunctionO_SupM, sselectFunction>("sselect"),
};

}  // namespace

std::span<const BuiltinRow> sortBuiltins() { return kRows; }

}  // namespace tesmora
