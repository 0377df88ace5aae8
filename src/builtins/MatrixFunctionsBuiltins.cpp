// Functions of numeric matrices: sizes, reductions, running sums and
// products, determinant, minors, Cholesky factor, identity and diagonal
// matrices, element access, interval lookup, row and column splitting,
// the table of a two-argument function, and the numeric algorithms that
// take a scalar function (root, sint, iSimpson).
#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <vector>

#include "builtins/Numerics.h"
#include "builtins/Rows.h"
#include "values/MatrixAlgebra.h"

namespace tesmora {
namespace {

std::vector<double> elementsOf(M a) { return {a.data(), a.data() + a.count()}; }

// The first element, for reductions that start from it; an empty matrix
// has none to read.
double firstElement(M a) {
  if (a.count() == 0) raise("недопустимый индекс");
  return a[0];
}

template <class Combine>
double reduce(M a, double start, Combine combine) {
  double result = start;
  for (int i = 0; i < a.count(); ++i) result = combine(result, a[i]);
  return result;
}

double elementCount(M a) { return a.count(); }
double rowCount(M a) { return a.rows(); }
double columnCount(M a) { return a.cols(); }

double sumOf(M a) {
  return reduce(a, 0, [](double s, double x) { return s + x; });
}
double productOf(M a) {
  return reduce(a, 1, [](double p, double x) { return p * x; });
}
double largest(M a) {
  return reduce(a, firstElement(a), [](double m, double x) { return std::max(m, x); });
}
double smallest(M a) {
  return reduce(a, firstElement(a), [](double m, double x) { return std::min(m, x); });
}
double largestMagnitude(M a) {
  return reduce(a, std::fabs(firstElement(a)),
                [](double m, double x) { return std::max(m, std::fabs(x)); });
}
double euclideanLength(M a) {
  return std::sqrt(reduce(a, 0, [](double s, double x) { return s + x * x; }));
}

// A matrix of a's shape holding the running results in storage order.
template <class Combine>
ValuePtr running(M a, double start, Combine combine) {
  auto result = Matrix::create(a.rows(), a.cols());
  double acc = start;
  for (int i = 0; i < a.count(); ++i) (*result)[i] = acc = combine(acc, a[i]);
  return result;
}

ValuePtr runningSums(M a) {
  return running(a, 0, [](double s, double x) { return s + x; });
}
ValuePtr runningProducts(M a) {
  return running(a, 1, [](double p, double x) { return p * x; });
}

double determinantOf(M a) {
  if (a.rows() != a.cols()) raise("неквадратная матрица");
  return determinant(elementsOf(a), a.rows());
}

ValuePtr choleskyFactor(M a) {
  if (a.rows() != a.cols()) raise("chol: неквадратная матрица");
  std::vector<double> u;
  if (!choleskyUpper(elementsOf(a), a.rows(), u)) raise("chol: ошибка вычисления");
  auto result = Matrix::create(a.rows(), a.cols());
  std::copy(u.begin(), u.end(), result->data());
  return result;
}

ValuePtr diagonalMatrix(M v) {
  const int n = v.count();
  auto result = Matrix::create(n, n);
  for (int i = 0; i < n; ++i) result->at(i, i) = v[i];
  return result;
}

ValuePtr identity(double n) {
  const double size = std::trunc(n);
  if (!(size >= 1)) raise("ident(n),E(n): n не может быть < 1");
  // Any size past the element limit fails alike; bounding it keeps the
  // conversion to int defined.
  return identityMatrix(static_cast<int>(std::min(size, maxElementCount() + 1.0)));
}

// mel reads through the matrix's own indexing (its messages included),
// which does not change the matrix.
double elementAt(M a, double i) { return const_cast<Matrix&>(a).eval1(i); }
double elementAtRowCol(M a, double i, double j) {
  return const_cast<Matrix&>(a).eval2(i, j);
}

// The interval of x among the breakpoints b[0..n-1]: the first i in
// 1..n-2 with x < b[i], else n-1. The outer breakpoints are never compared.
double intervalNumber(M breaks, double x) {
  const int n = breaks.count();
  for (int i = 1; i <= n - 2; ++i) {
    if (x < breaks[i]) return i;
  }
  return n - 1;
}

// A 1-based row or column number as a 0-based position.
int position(double k, int limit, const char* message) {
  if (!(k >= 1 && k <= limit && k == std::floor(k))) raise(message);
  return static_cast<int>(k) - 1;
}

// The determinant of a without row i and column j (1-based).
double minorValue(M a, double i, double j, const char* rowMessage,
                  const char* columnMessage) {
  const int row = position(i, a.rows(), rowMessage);
  const int column = position(j, a.cols(), columnMessage);
  if (a.rows() != a.cols()) raise("неквадратная матрица");
  std::vector<double> rest;
  rest.reserve(static_cast<std::size_t>(a.rows() - 1) * (a.cols() - 1));
  for (int r = 0; r < a.rows(); ++r) {
    for (int c = 0; c < a.cols(); ++c) {
      if (r != row && c != column) rest.push_back(a.at(r, c));
    }
  }
  return determinant(std::move(rest), a.rows() - 1);
}

ValuePtr minorOf(M a, double i, double j) {
  return makeNumber(minorValue(a, i, j, "minor: недопустимый номер строки",
                               "minor: недопустимый номер столбца"));
}

ValuePtr cofactor(M a, double i, double j) {
  const double minor = minorValue(a, i, j, "algc: недопустимый номер строки",
                                  "algc: недопустимый номер столбца");
  return makeNumber(std::fmod(i + j, 2.0) == 0 ? minor : -minor);
}

// rows and cols: a value split into its rows (or columns), each part a
// value of the same kind.
struct Split {
  bool byRows;
  int rows;
  int cols;
  int parts() const { return byRows ? rows : cols; }
  int length() const { return byRows ? cols : rows; }
  // A row is 1×k, a column m×1; the parts stand in a column (rows) or a row (cols).
  int partRows() const { return byRows ? 1 : rows; }
  int partCols() const { return byRows ? cols : 1; }
  int outerRows() const { return byRows ? rows : 1; }
  int outerCols() const { return byRows ? 1 : cols; }
  int index(int part, int e) const { return byRows ? part * cols + e : e * cols + part; }
};

ValuePtr matrixPart(M a, const Split& split, int part) {
  auto result = Matrix::create(split.partRows(), split.partCols());
  for (int e = 0; e < split.length(); ++e) (*result)[e] = a[split.index(part, e)];
  return result;
}

ValuePtr superPart(Sup a, const Split& split, int part) {
  auto result = CSuperMatrix::create(split.partRows(), split.partCols());
  for (int e = 0; e < split.length(); ++e) {
    result->setCell(e, a.cell(split.index(part, e))->copy());
  }
  return result;
}

ValuePtr splitValue(const MatObject& x, bool byRows) {
  const Split split{byRows, x.rowCount(), x.colCount()};
  auto result = CSuperMatrix::create(split.outerRows(), split.outerCols());
  for (int p = 0; p < split.parts(); ++p) {
    result->setCell(p, x.typeCode == kMatrixType ? matrixPart(asMatrix(x), split, p)
                                                 : superPart(asSuper(x), split, p));
  }
  return result;
}

ValuePtr splitArgument(int count, Args args, bool byRows, const char* noArguments,
                       const char* tooMany) {
  if (count == 0) raise(noArguments);
  if (count > 1) raise(tooMany);
  const int type = args[0]->typeCode;
  if (type != kMatrixType && type != kSuperType) raise("несоответствие типа аргумента");
  return splitValue(*args[0], byRows);
}

ValuePtr rowsOf(int count, Args args) {
  return splitArgument(count, args, true, "rows: нет аргументов",
                       "rows: слишком много аргументов");
}

ValuePtr colsOf(int count, Args args) {
  return splitArgument(count, args, false, "cols: нет аргументов",
                       "cols: слишком много аргументов");
}

// matrix(f, u, v): checks the arguments under the name "matrix" and returns
// the function; u and v are then vectors (f of numbers) or super-matrices
// of matrices (f of matrices).
CSFunc& tableFunction(int count, Args args) {
  if (count < 3) raiseAbout("matrix", "слишком мало аргументов");
  if (count > 3) raiseAbout("matrix", "слишком много аргументов");
  const int kind = args[0]->typeCode;
  if (kind != kSFuncType && kind != kMatrixType) {
    raiseAbout("matrix", "первый аргумент должен быть скалярной функцией");
  }
  auto& f = dynamic_cast<CSFunc&>(*args[0]);
  if (!(f.minArgs() <= 2 && f.maxArgs() >= 2)) {
    raiseAbout("matrix", "первый аргумент должен быть функцией от двух аргументов");
  }
  const int first = f.argType(0);
  const int second = f.argType(1);
  if (first != kScalarType && first != kMatrixType) {
    raiseAbout("matrix", "первый аргумент фунционального аргумента должен быть числом или матрицей");
  }
  if (second != kScalarType && second != kMatrixType) {
    raiseAbout("matrix", "второй аргумент фунционального аргумента должен быть числом или матрицей");
  }
  const bool ofNumbers = first == kScalarType && second == kScalarType;
  const bool ofMatrices = first == kMatrixType && second == kMatrixType;
  const auto holdsMatrices = [](const MatObject* x) {
    return x->typeCode == kSuperType && x->uniformType() == kMatrixType;
  };
  const bool fits =
      (ofNumbers && args[1]->typeCode == kMatrixType && args[2]->typeCode == kMatrixType) ||
      (ofMatrices && holdsMatrices(args[1]) && holdsMatrices(args[2]));
  if (!fits) raiseAbout("matrix", "конфликт типов аргументов");
  return f;
}

// The table f(u_i, v_j); pick(i, j) gives the two argument values.
template <class Pick>
ValuePtr tabulate(CSFunc& f, int rows, int cols, Pick pick) {
  auto table = Matrix::create(rows, cols);
  for (int i = 0; i < rows; ++i) {
    for (int j = 0; j < cols; ++j) {
      const std::array<MatObject*, 2> pair = pick(i, j);
      table->at(i, j) = f.invoke(2, pair.data());
    }
  }
  return table;
}

ValuePtr functionTable(int count, Args args) {
  CSFunc& f = tableFunction(count, args);
  const int rows = args[1]->elementCount();
  const int cols = args[2]->elementCount();
  if (args[1]->typeCode == kSuperType) {
    const auto& u = asSuper(*args[1]);
    const auto& v = asSuper(*args[2]);
    return tabulate(f, rows, cols, [&](int i, int j) {
      return std::array<MatObject*, 2>{u.cell(i), v.cell(j)};
    });
  }
  const auto& u = asMatrix(*args[1]);
  const auto& v = asMatrix(*args[2]);
  Scalar x(0);
  Scalar y(0);
  return tabulate(f, rows, cols, [&](int i, int j) {
    x.value = u[i];
    y.value = v[j];
    return std::array<MatObject*, 2>{&x, &y};
  });
}

// root(f, a, b, y): x in [a, b] with f(x) = y, by bisection.
double rootOf(F f, double a, double b, double y) {
  const double residualA = f.eval1(a) - y;
  if (sameStrictSign(residualA, f.eval1(b) - y)) {
    raise("root(f,a,b,y): y должен быть между f(a) и f(b)");
  }
  return bisect([&](double x) { return f.eval1(x) - y; }, a, b, residualA);
}

// The interval count of Simpson's rule: a positive even integer.
int simpsonIntervals(double n) {
  if (!(n > 0 && n <= INT_MAX && n == std::floor(n) && std::fmod(n, 2.0) == 0)) {
    raise("sint: недопустимое значение четвертого аргумента");
  }
  return static_cast<int>(n);
}

double simpsonIntegral(F f, double a, double b, double n) {
  return simpson([&](double x) { return f.eval1(x); }, a, b, simpsonIntervals(n));
}

// iSimpson(f, a, b, n, y): t in [a, b] with sint(f, a, t, n) = y.
double inverseSimpson(F f, double a, double b, double n, double y) {
  const int intervals = simpsonIntervals(n);
  const RealFunction integrand = [&](double x) { return f.eval1(x); };
  const RealFunction residual = [&](double t) { return simpson(integrand, a, t, intervals) - y; };
  if (sameStrictSign(-y, residual(b))) raise("invsimpson: одинаковые знаки");
  return bisect(residual, a, b, -y);
}

constexpr BuiltinRow kRows[] = {
    row<COFunc, rowsOf>("rows"),
    row<COFunc, colsOf>("cols"),
    row<FunctionO_M, choleskyFactor>("chol"),
    row<SF_MD, intervalNumber>("intnum"),
    row<COFunc, functionTable>("matrix"),
    row<SF_M, elementCount>("dim"),
    row<SF_M, rowCount>("rdim"),
    row<SF_M, columnCount>("cdim"),
    row<SF_M, determinantOf>("det"),
    row<FunctionO_M, diagonalMatrix>("diag"),
    row<SF_M, sumOf>("sum"),
    row<FunctionO_M, runningSums>("sums"),
    row<SF_M, productOf>("prod"),
    row<FunctionO_M, runningProducts>("prods"),
    row<SF_M, largest>("max"),
    row<SF_M, largestMagnitude>("maxabs"),
    row<SF_M, smallest>("min"),
    row<FunctionO_D, identity>("E"),
    row<FunctionO_D, identity>("ident"),
    row<SF_M, euclideanLength>("len"),
    row2<SF_MD_D, elementAt, elementAtRowCol>("mel"),
    row<SF_FDDD, rootOf>("root"),
    row<SF_FDDD, simpsonIntegral>("sint"),
    row<SF_FDDDD, inverseSimpson>("iSimpson"),
    row<FunctionO_MDD, minorOf>("minor", kMatrixType),
    row<FunctionO_MDD, cofactor>("algc", kMatrixType),
};

}  // namespace

std::span<const BuiltinRow> matrixFunctionBuiltins() { return kRows; }

}  // namespace tesmora
