#include "interp/VariablesSnapshot.h"

#include "interp/Errors.h"
#include "interp/Prog.h"
#include "values/Display.h"
#include "values/Matrix.h"
#include "values/SuperMatrix.h"

namespace tesmora {

namespace {

// The display stops at its 8000-byte buffer; what fits is shown, marked
// as cut.
std::string displayed(const MatObject& value, bool full,
                      const char** caption = nullptr) {
  DisplayBuffer buffer;
  try {
    if (full) buffer.displayFull(value);
    else buffer.displayShort(value);
  } catch (const ScriptError&) {
    buffer.append("...");
  }
  if (caption != nullptr) *caption = buffer.caption();
  return buffer.text();
}

// One line: a line end becomes "; " (a matrix reads "1, 2; 3, 4", as it is
// written), tabs and runs of blanks one space.
std::string oneLine(const std::string& text) {
  std::string line;
  bool lineBreak = false;
  for (char c : text) {
    if (c == '\n') {
      lineBreak = true;
      continue;
    }
    const bool blank = c == '\r' || c == '\t' || c == ' ';
    if (blank) {
      if (!line.empty() && line.back() != ' ') line += ' ';
      continue;
    }
    if (lineBreak && !line.empty()) {
      while (!line.empty() && line.back() == ' ') line.pop_back();
      line += "; ";
    }
    lineBreak = false;
    line += c;
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  if (line.size() > kShortValueBytes) {
    line.resize(kShortValueBytes);
    line += "...";
  }
  return line;
}

void fillCells(const MatObject& value, VariableView& view) {
  if (value.typeCode == kMatrixType) {
    const auto& matrix = static_cast<const Matrix&>(value);
    view.rows = matrix.rows();
    view.cols = matrix.cols();
    const long long count = static_cast<long long>(view.rows) * view.cols;
    const int kept = count > kSnapshotMaxCells ? kSnapshotMaxCells : int(count);
    view.cells.reserve(kept);
    for (int i = 0; i < kept; ++i) view.cells.push_back(formatNumber(matrix[i]));
  } else if (value.typeCode == kSuperType) {
    const auto& table = static_cast<const CSuperMatrix&>(value);
    view.rows = table.rows();
    view.cols = table.cols();
    const int count = table.count();
    const int kept = count > kSnapshotMaxCells ? kSnapshotMaxCells : count;
    view.cells.reserve(kept);
    for (int i = 0; i < kept; ++i) {
      const MatObject* cell = table.cell(i);
      view.cells.push_back(cell ? oneLine(displayed(*cell, false)) : std::string());
    }
  }
}

}  // namespace

std::vector<VariableView> snapshotVariables(ProgramContext& program) {
  std::vector<VariableView> views;
  const VariableTable& table = program.variables;
  for (int i = table.predefinedCount(); i < table.count(); ++i) {
    const VariableTable::Entry& entry = table.entry(i);
    if (entry.value == nullptr || entry.category != 0) continue;
    VariableView view;
    view.name = entry.name;
    const char* caption = nullptr;
    view.fullText = displayed(*entry.value, true, &caption);
    view.caption = caption ? caption : "";
    fillCells(*entry.value, view);
    if (view.rows > 0 || entry.value->typeCode == kMatrixType ||
        entry.value->typeCode == kSuperType) {
      view.caption += " " + std::to_string(view.rows) + "×" +
                      std::to_string(view.cols);
    }
    view.shortValue = oneLine(view.fullText);
    views.push_back(std::move(view));
  }
  return views;
}

}  // namespace tesmora
