// Item bases (tables of items, one row of five texts per question) and exam
// bases (tables of item bases, one per variant of an exam).
#pragma once

#include <string>
#include <vector>

#include "values/MatObject.h"

namespace tesmora {

class CSuperMatrix;

enum ItemColumn : int {
  kItemName,
  kItemComment,
  kItemSetup,
  kItemStatement,
  kItemSolution,
  kItemColumnCount
};

// The items of the question files listed in `files` (texts, taken in
// storage order) whose Comment contains `filter`.
ValuePtr loadItemBase(const CSuperMatrix& files, const std::string& filter,
                      const char* builtin);
// One item base per element of `lists`, each a table of file names.
ValuePtr loadExamBase(const CSuperMatrix& lists, const std::string& filter);

// The item bases of an exam base, each checked to be a table of five text
// columns ("недопустимый тип элемента аргумента 1" under `builtin`).
std::vector<CSuperMatrix*> variantsOf(const CSuperMatrix& exam, const char* builtin);

// One text of an item of a checked item base.
std::string& itemText(const CSuperMatrix& base, int row, ItemColumn column);

// Replaces every occurrence of `old` by `replacement` in the Comment of
// every item of every variant.
void replaceInComments(const CSuperMatrix& exam, const std::string& old,
                       const std::string& replacement, const char* builtin);

// Whether an item's Comment carries a tag ("class=A", "state=public", ...).
bool hasTag(const std::string& comment, const char* tag);

}  // namespace tesmora
