// The loaders of text data files: number and text columns, one named column
// of a delimited table, a daily series indexed by day number, and a whole
// file as one text. Names are Windows-1251; every failure raises.
#pragma once

#include <string>

#include "values/MatObject.h"

namespace tesmora {

// One number per line (a decimal comma is accepted): a numeric column.
ValuePtr loadNumberLines(const std::string& name);
// One text per line, verbatim: a column of strings.
ValuePtr loadTextLines(const std::string& name);
// One named column of a delimited table with a header line.
ValuePtr loadNumberColumn(const std::string& name, const std::string& field);
ValuePtr loadTextColumn(const std::string& name, const std::string& field);
// The named column of a table with a date column, as a column of
// last - first + 1 numbers indexed by day number (days without a line: 0).
ValuePtr loadDailySeries(double first, double last, const std::string& name,
                         const std::string& field);
// The file's raw bytes as one string.
ValuePtr loadWholeText(const std::string& name);

}  // namespace tesmora
