// Grading helpers for exam texts: a score with the Russian word for points
// in the form that agrees with it (ball), and the grade of a score (ball5).
#include <cmath>
#include <string>

#include "builtins/Rows.h"
#include "text/Cp1251.h"

namespace tesmora {
namespace {

// Scores are whole numbers from 0 to 100.
int checkedScore(double x, const char* message) {
  if (!(x >= 0 && x <= 100 && x == std::floor(x))) raise(message);
  return static_cast<int>(x);
}

const char* pointsWord(int score) {
  const int last = score % 10;
  if (score >= 5 && score <= 20) return "баллов";
  if (last == 1) return "балл";
  if (last >= 2 && last <= 4) return "балла";
  return "баллов";
}

// "22~балла": the tilde is LaTeX's non-breaking space.
ValuePtr scoreText(double x) {
  const int score = checkedScore(x, "ball: недопустимое значение балла");
  return std::make_unique<String>(std::to_string(score) + "~" + cp(pointsWord(score)));
}

double grade(double x) {
  const int score = checkedScore(x, "ball5: недопустимое значение балла");
  if (score <= 50) return 2;
  if (score <= 69) return 3;
  if (score <= 85) return 4;
  return 5;
}

constexpr BuiltinRow kRows[] = {
    row<FunctionO_D, scoreText>("ball"),
    row<SF_D, grade>("ball5"),
};

}  // namespace

std::span<const BuiltinRow> gradeBuiltins() { return kRows; }

}  // namespace tesmora
