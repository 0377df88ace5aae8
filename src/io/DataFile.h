// Reading the text data files of the loaders: whole lines of a file opened
// read-only in text mode, numbers as the C library converts them, and the
// header line of delimited tables.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tesmora {

// The error of a file that cannot be opened: the subject "Не удается открыть
// файл " followed by the file name as the message.
[[noreturn]] void raiseCannotOpen(const std::string& name1251);

// The file's raw bytes. False when it cannot be opened (a directory cannot
// be opened as a file either); `readFailed` tells a read error apart.
bool readFileBytes(const std::string& name1251, std::string& bytes, bool& readFailed);

// The lines of a text-mode file (CR LF read as LF); a final line feed ends
// the last line rather than starting an empty one.
std::vector<std::string> splitLines(std::string_view text);

// Reads the lines of a data file, or raises the file-open error or the given
// read-failure message.
std::vector<std::string> readDataLines(const std::string& name1251,
                                       std::string_view readFailureUtf8);

// Converts a number the way the C library does: leading white space is
// skipped, nothing may follow the number, and a conversion error (out of
// range) makes it bad. Text holding no number at all converts to 0 only when
// it is empty. Returns false for a bad number.
bool parseNumber(const std::string& text, double& value);

// Windows-1251 lowercase of Latin and Cyrillic letters.
std::string lowercase(std::string_view text);

// The cells of a line split at every separator (an empty line is one
// empty cell).
std::vector<std::string_view> splitCells(std::string_view line, char separator);

// The header of a delimited table: semicolon style (";" between cells,
// decimal comma) when the header holds a semicolon, else comma style.
// Header fields may be quoted; they are kept lowercased.
struct TableHeader {
  char separator = ',';
  std::vector<std::string> fields;

  bool semicolonStyle() const { return separator == ';'; }
  // The index of the last field equal to `name` after lowercasing, or -1.
  int find(const std::string& name) const;
};

// The errors the header parser raises, given by each loader (UTF-8).
struct HeaderMessages {
  std::string_view missingClosingQuote;
  std::string_view textAfterClosingQuote;
};

TableHeader parseHeader(std::string_view line, const HeaderMessages& messages);

}  // namespace tesmora
