// The generic calls of the two described families: argument counts and
// types are checked, and a function of numbers given matrices, tables or
// discrete laws in place of numbers is applied element by element.
#include <algorithm>
#include <vector>

#include "interp/Cancellation.h"
#include "interp/Errors.h"
#include "text/Cp1251.h"
#include "values/CLaw.h"
#include "values/Function.h"
#include "values/LawsDiscrete.h"
#include "values/Matrix.h"
#include "values/Scalar.h"
#include "values/SuperMatrix.h"

namespace tesmora {
namespace {

enum class Role { Exact, Elementwise, Recursive, Law };

bool matchesExactly(const MatObject& arg, int expected) {
  return arg.typeCode == expected ||
         (expected == kNotSuperType && arg.typeCode != kSuperType) ||
         (expected == kSFuncType && arg.typeCode == kMatrixType);
}

bool holdsNoTables(const CSuperMatrix& table) {
  for (int i = 0; i < table.count(); ++i) {
    if (table.cell(i)->typeCode == kSuperType) return false;
  }
  return true;
}

void checkCount(const Described& function, int count) {
  if (function.maxArgs() < count) raise("слишком много аргументов");
  if (count < function.minArgs()) raise("слишком мало аргументов");
}

// Reads the roles of all arguments; `scalarFamily` selects the rules of
// scalar functions (laws and element-type tables substituted) over those
// of object functions.
std::vector<Role> classify(const MatObject& function, const Described& d,
                           int count, Args args, bool scalarFamily) {
  std::vector<Role> roles(count, Role::Exact);
  for (int i = 0; i < count; ++i) {
    const MatObject& arg = *args[i];
    const int expected = d.argType(i);
    if (matchesExactly(arg, expected)) continue;
    switch (arg.typeCode) {
      case kMatrixType:
        if (expected != kScalarType) throwArgTypeError(function, i, count, false);
        roles[i] = Role::Elementwise;
        break;
      case kLawType:
        if (!scalarFamily || expected != kScalarType) {
          throwArgTypeError(function, i, count, false);
        }
        roles[i] = Role::Law;
        break;
      case kSuperType: {
        const auto& table = asSuper(arg);
        const int cells = table.uniformType();
        if (cells == expected) {
          roles[i] = Role::Elementwise;
        } else if (scalarFamily && expected == kNotSuperType &&
                   holdsNoTables(table)) {
          roles[i] = Role::Elementwise;
        } else if (expected == kScalarType && cells == kMatrixType) {
          roles[i] = Role::Recursive;
        } else {
          throwArgTypeError(function, i, count, scalarFamily);
        }
        break;
      }
      default:
        throwArgTypeError(function, i, count, false);
    }
  }
  return roles;
}

// The common shape of all substituted arguments.
void sharedShape(int count, Args args, const std::vector<Role>& roles,
                 int& rows, int& cols) {
  rows = cols = -1;
  for (int i = 0; i < count; ++i) {
    if (roles[i] == Role::Exact) continue;
    if (rows < 0) {
      rows = args[i]->rowCount();
      cols = args[i]->colCount();
    } else if (args[i]->rowCount() != rows || args[i]->colCount() != cols) {
      raise("Не совпадают размеры замещающих матриц");
    }
  }
}

// The arguments of one element call: substituted arguments replaced by
// their element k. Elements of numeric matrices live in reused Scalars.
class ElementArgs {
 public:
  ElementArgs(int count, Args args, const std::vector<Role>& roles)
      : args_(args, args + count), source_(args), roles_(roles) {
    for (int i = 0; i < count; ++i) {
      if (roles[i] != Role::Exact && args[i]->typeCode == kMatrixType) {
        numbers_.push_back(std::make_unique<Scalar>(0));
        args_[i] = numbers_.back().get();
      }
    }
  }
  Args at(int k) {
    std::size_t number = 0;
    for (std::size_t i = 0; i < args_.size(); ++i) {
      if (roles_[i] == Role::Exact) continue;
      const MatObject& source = *source_[i];
      if (source.typeCode == kMatrixType) {
        numbers_[number++]->value = asMatrix(source)[k];
      } else {
        args_[i] = asSuper(source).cell(k);
      }
    }
    return args_.data();
  }

 private:
  std::vector<MatObject*> args_;
  Args source_;
  const std::vector<Role>& roles_;
  std::vector<std::unique_ptr<Scalar>> numbers_;
};

bool any(const std::vector<Role>& roles, Role role) {
  for (const Role r : roles) {
    if (r == role) return true;
  }
  return false;
}

// Substituted laws must all be discrete with finitely many values; the
// function of them is then the discrete law of its values: every
// combination of values, the first law turning fastest, gives the row
// (f(values), product of their probabilities), and equal results merge.
ValuePtr substituteLaws(CSFunc& function, int count, Args args,
                        const std::vector<Role>& roles) {
  std::vector<int> lawArgs;
  std::vector<ValuePtr> tables;  // valefr(1) of each law: value, probability
  long long combinations = 1;
  for (int i = 0; i < count; ++i) {
    if (roles[i] != Role::Law) continue;
    const auto& law = static_cast<const CLaw&>(*args[i]);
    combinations *= law.valueCount();
    if (combinations == 0) {
      raise("все замещающие законы должны быть дискретными\t\t\tс конечным числом возможных значений");
    }
    // Beyond the element limit the table below cannot be built anyway.
    combinations = std::min<long long>(combinations, maxElementCount() + 1LL);
    lawArgs.push_back(i);
    tables.push_back(law.valefr(1));
  }
  auto results = Matrix::create(static_cast<int>(combinations), 2);

  std::vector<MatObject*> callArgs(args, args + count);
  std::vector<std::unique_ptr<Scalar>> numbers;
  for (const int i : lawArgs) {
    numbers.push_back(std::make_unique<Scalar>(0));
    callArgs[i] = numbers.back().get();
  }
  std::vector<int> position(lawArgs.size(), 0);
  for (int row = 0; row < results->rows(); ++row) {
    pollStop();
    double probability = 1;
    for (std::size_t k = 0; k < lawArgs.size(); ++k) {
      const Matrix& table = asMatrix(*tables[k]);
      numbers[k]->value = table.at(position[k], 0);
      probability *= table.at(position[k], 1);
    }
    results->at(row, 0) = function.invoke(count, callArgs.data());
    results->at(row, 1) = probability;
    for (std::size_t k = 0; k < lawArgs.size(); ++k) {
      if (++position[k] < asMatrix(*tables[k]).rows()) break;
      position[k] = 0;
    }
  }
  std::vector<WeightedValue> rows(results->rows());
  for (int row = 0; row < results->rows(); ++row) {
    rows[row] = {results->at(row, 0), results->at(row, 1)};
  }
  return CLawDis::fromRows(std::move(rows));
}

}  // namespace

void throwArgTypeError(const MatObject& function, int index, int count,
                       bool ofElement) {
  CArgTypeError error;
  error.index = index - methodCallFlag();
  error.count = count - methodCallFlag();
  if (function.variableName) {
    error.name = function.variableName;
  } else if (const auto* d = dynamic_cast<const Described*>(&function);
             d && d->fixedName) {
    error.name = cp(d->fixedName);
  }
  if (ofElement) error.suffix = cp(" элемента");
  throw error;
}

double CSFunc::eval1(double) { raise("операция '()' не определена"); }
double CSFunc::eval2(double, double) { raise("операция '()' не определена"); }

ValuePtr CSFunc::call(int count, Args args) {
  checkCount(*this, count);
  bool exact = true;
  for (int i = 0; i < count && exact; ++i) {
    exact = matchesExactly(*args[i], argType(i));
  }
  if (exact) return makeNumber(invoke(count, args));

  const auto roles = classify(*this, *this, count, args, true);
  const bool laws = any(roles, Role::Law);
  const bool tables = any(roles, Role::Elementwise) || any(roles, Role::Recursive);
  if (laws && tables) raise("Недопустимый тип аргумента");
  if (laws) return substituteLaws(*this, count, args, roles);
  if (!tables) raise("Недопустимый тип аргумента");

  int rows = 0, cols = 0;
  sharedShape(count, args, roles, rows, cols);
  ElementArgs element(count, args, roles);
  if (any(roles, Role::Recursive)) {
    auto result = CSuperMatrix::create(rows, cols);
    for (int k = 0; k < rows * cols; ++k) {
      pollStop();
      result->setCell(k, call(count, element.at(k)));
    }
    return result;
  }
  auto result = Matrix::createForOverwrite(rows, cols);
  for (int k = 0; k < rows * cols; ++k) {
    if (k % kElementsPerPoll == 0) pollStop();
    (*result)[k] = invoke(count, element.at(k));
  }
  return result;
}

ValuePtr COFunction::call(int count, Args args) {
  checkCount(*this, count);
  bool exact = true;
  for (int i = 0; i < count && exact; ++i) {
    exact = matchesExactly(*args[i], argType(i));
  }
  if (exact) return invoke(count, args);

  const auto roles = classify(*this, *this, count, args, false);
  int rows = 0, cols = 0;
  sharedShape(count, args, roles, rows, cols);
  if (rows < 0) raise("Недопустимый тип аргумента");
  ElementArgs element(count, args, roles);
  const bool recursive = any(roles, Role::Recursive);
  auto result = CSuperMatrix::create(rows, cols);
  for (int k = 0; k < rows * cols; ++k) {
    pollStop();
    result->setCell(k, recursive ? call(count, element.at(k))
                                 : invoke(count, element.at(k)));
  }
  return result;
}

}  // namespace tesmora
