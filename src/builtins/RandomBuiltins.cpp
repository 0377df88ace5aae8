// Random numbers: seeding the shared generator, random integers and
// elements, and samples without replacement. All of them draw from the one
// generator of values/Random.h, as the law draws do, so initrand makes a
// whole program repeat its numbers.
#include <cmath>
#include <vector>

#include "builtins/Rows.h"
#include "builtins/Sampling.h"
#include "interp/Cancellation.h"
#include "values/Random.h"

namespace tesmora {
namespace {

constexpr double kSeedModulus = 4294967296.0;  // seeds are 32-bit

// initrand seeds with its argument truncated to an integer, wrapped to 32 bits
// the way a negative integer converts; what is not a number seeds with 0.
double seedGenerator(double s) {
  double seed = std::fmod(std::trunc(s), kSeedModulus);
  if (!std::isfinite(seed)) seed = 0;
  if (seed < 0) seed += kSeedModulus;
  seedRandom(static_cast<std::uint32_t>(seed));
  return s;
}

void requireKind(const MatObject& value, int typeCode) {
  if (value.typeCode != typeCode) raise("несоответствие типа аргумента");
}

// rand(a, b): an integer from a to b, both truncated first.
ValuePtr randomInteger(const MatObject& low, const MatObject& high) {
  requireKind(low, kScalarType);
  requireKind(high, kScalarType);
  const double a = std::trunc(numberOf(low));
  const double b = std::trunc(numberOf(high));
  if (!(b >= a)) raise("rand: недопустимые значения аргументов");
  return makeNumber(a + randomBelow(b - a + 1));
}

// The storage position of a random element among `count`; an empty value
// has none to give.
int randomPosition(int count) {
  if (count == 0) raise("rand: недопустимые значения аргументов");
  return static_cast<int>(randomBelow(count));
}

ValuePtr randomElement(const MatObject& source) {
  if (source.typeCode == kMatrixType) {
    const auto& matrix = asMatrix(source);
    return makeNumber(matrix[randomPosition(matrix.count())]);
  }
  if (source.typeCode == kSuperType) {
    const auto& table = asSuper(source);
    return table.cell(randomPosition(table.count()))->copy();
  }
  raise("несоответствие типа аргумента");
}

ValuePtr randomChoice(int count, Args args) {
  if (count < 1) raise("слишком мало аргументов");
  if (count > 2) raise("слишком много аргументов");
  if (count == 2) return randomInteger(*args[0], *args[1]);
  return randomElement(*args[0]);
}

// sample(A, m) and sample(A, m, k): one draw without replacement of m·k
// elements, written in storage order.
ValuePtr sampleWithoutReplacement(int count, Args args) {
  if (count != 2 && count != 3) raise("sample: должно быть 2 или 3 аргумента");
  requireKind(*args[0], kMatrixType);
  for (int i = 1; i < count; ++i) requireKind(*args[i], kScalarType);
  const auto& population = asMatrix(*args[0]);
  const double m = numberOf(*args[1]);
  const double k = count == 3 ? numberOf(*args[2]) : 1;
  if (m * k > population.count()) {
    raise("sample: объем бесповторной выборки ограничен объемом генеральной совокупности");
  }
  auto result = Matrix::fromSizes(m, k);
  const std::vector<int> drawn = drawWithoutReplacement(population.count(), result->count());
  for (int i = 0; i < result->count(); ++i) (*result)[i] = population[drawn[i]];
  return result;
}

// samples(A, m, k): k independent samples of m, one per column.
ValuePtr independentSamples(int count, Args args) {
  if (count != 3) raise("samples: должно быть 3 аргумента");
  requireKind(*args[0], kMatrixType);
  requireKind(*args[1], kScalarType);
  requireKind(*args[2], kScalarType);
  const auto& population = asMatrix(*args[0]);
  const double m = numberOf(*args[1]);
  if (m > population.count()) {
    raise("samples: объем бесповторной выборки ограничен объемом генеральной совокупности");
  }
  auto result = Matrix::fromSizes(m, numberOf(*args[2]));
  for (int column = 0; column < result->cols(); ++column) {
    pollStop();
    const std::vector<int> drawn =
        drawWithoutReplacement(population.count(), result->rows());
    for (int r = 0; r < result->rows(); ++r) {
      result->at(r, column) = population[drawn[r]];
    }
  }
  return result;
}

constexpr BuiltinRow kRows[] = {
    row<SF_D, seedGenerator>("initrand"),
    row<COFunc, sampleWithoutReplacement>("sample"),
    row<COFunc, independentSamples>("samples"),
    row<COFunc, randomChoice>("rand"),
};

}  // namespace

std::span<const BuiltinRow> randomBuiltins() { return kRows; }

}  // namespace tesmora
