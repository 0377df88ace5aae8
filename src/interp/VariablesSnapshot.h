// A plain copy of the user's variables for a host to show between runs:
// each variable's name, a caption naming its kind and size, a short value
// for a list, the full display text, and the cells of a matrix or a
// super-matrix for a table view. Predefined names (builtins, constants,
// colours) are never listed, even when the program has replaced one.
//
// Texts are Windows-1251 like every text of the core; captions are UTF-8
// (the display's captions are literals of the source).
#pragma once

#include <string>
#include <vector>

namespace tesmora {

class ProgramContext;

struct VariableView {
  std::string name;
  std::string caption;     // "Матрица 3×3", "Скаляр", "Строка", ...
  std::string shortValue;  // one line, at most kShortValueBytes and "…"
  std::string fullText;    // the display text of the result box
  // Matrices and super-matrices: their size and the short form of every
  // cell, row by row. 0×0 for other values.
  int rows = 0;
  int cols = 0;
  std::vector<std::string> cells;
};

inline constexpr std::size_t kShortValueBytes = 80;
// Tables larger than this keep only their first cells (a view of a
// million cells helps nobody and costs seconds).
inline constexpr int kSnapshotMaxCells = 100000;

// The user's variables in the order they were first assigned. Call it only
// while no run is going.
std::vector<VariableView> snapshotVariables(ProgramContext& program);

}  // namespace tesmora
