// Reading question files back: every question of a file becomes an item,
// the row (name, Comment, Setup, Statement, Solution) of an item base.
#pragma once

#include <string>
#include <vector>

namespace tesmora {

struct Item {
  std::string name;  // the file name as listed, "-" and the question's number
  std::string comment;
  std::string setup;
  std::string statement;
  std::string solution;
};

// Appends the items of the question file `listedName` + ".tex" whose
// Comment contains `filter` (an empty filter keeps every item). Raises
// "неожиданный конец файла" for a file cut off inside a question, and
// under `builtin` when the file cannot be read.
void readItems(const std::string& listedName, const std::string& filter,
               const char* builtin, std::vector<Item>& items);

}  // namespace tesmora
