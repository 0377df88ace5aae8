#include "io/DataFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include <locale.h>

#include "interp/Errors.h"
#include "io/TextFile.h"
#include "text/Cp1251.h"

namespace tesmora {
namespace {

// Numbers in data files always use the decimal point, whatever locale the
// host process has set; the loaders replace decimal commas themselves.
locale_t classicLocale() {
  static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t{});
  return locale;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

void raiseCannotOpen(const std::string& name1251) {
  raise1251(name1251, cp("Не удается открыть файл "));
}

bool readFileBytes(const std::string& name1251, std::string& bytes, bool& readFailed) {
  readFailed = false;
  bytes.clear();
  const std::string native = nativeFileName(name1251);
  std::error_code ignored;
  if (std::filesystem::is_directory(native, ignored)) return false;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(native.c_str(), "rb"));
  if (!file) return false;
  char block[65536];
  std::size_t got = 0;
  while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) {
    bytes.append(block, got);
  }
  readFailed = std::ferror(file.get()) != 0;
  return true;
}

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::vector<std::string> readDataLines(const std::string& name1251,
                                       std::string_view readFailureUtf8) {
  std::string bytes;
  bool readFailed = false;
  if (!readFileBytes(name1251, bytes, readFailed)) raiseCannotOpen(name1251);
  if (readFailed) raise(readFailureUtf8);
  return splitLines(fromTextModeBytes(bytes));
}

bool parseNumber(const std::string& text, double& value) {
  const char* start = text.c_str();
  char* end = nullptr;
  errno = 0;
  value = strtod_l(start, &end, classicLocale());
  const bool conversionError = errno != 0 && errno != EILSEQ;
  errno = 0;
  // A text holding a zero byte is never a number.
  const bool trailing = end != start + text.size();
  return !conversionError && !trailing;
}

std::string lowercase(std::string_view text) {
  std::string lower(text);
  for (char& ch : lower) {
    const auto byte = static_cast<unsigned char>(ch);
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDF)) {
      ch = static_cast<char>(byte + 0x20);
    } else if (byte == 0xA8) {  // Ё
      ch = static_cast<char>(0xB8);
    }
  }
  return lower;
}

std::vector<std::string_view> splitCells(std::string_view line, char separator) {
  std::vector<std::string_view> cells;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = line.find(separator, start);
    if (end == std::string_view::npos) {
      cells.push_back(line.substr(start));
      return cells;
    }
    cells.push_back(line.substr(start, end - start));
    start = end + 1;
  }
}

int TableHeader::find(const std::string& name) const {
  const std::string wanted = lowercase(name);
  int found = -1;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (fields[i] == wanted) found = static_cast<int>(i);
  }
  return found;
}

TableHeader parseHeader(std::string_view line, const HeaderMessages& messages) {
  TableHeader header;
  header.separator = line.find(';') != std::string_view::npos ? ';' : ',';
  std::size_t start = 0;
  while (true) {
    std::size_t end;
    std::string_view field;
    if (start < line.size() && line[start] == '"') {
      const std::size_t closing = line.find('"', start + 1);
      if (closing == std::string_view::npos) raise(messages.missingClosingQuote);
      end = line.find(header.separator, closing + 1);
      if (end == std::string_view::npos) end = line.size();
      if (line[end - 1] != '"') raise(messages.textAfterClosingQuote);
      field = line.substr(start + 1, end - start - 2);
    } else {
      end = line.find(header.separator, start);
      if (end == std::string_view::npos) end = line.size();
      field = line.substr(start, end - start);
    }
    header.fields.push_back(lowercase(field));
    if (end == line.size()) return header;
    start = end + 1;
  }
}

}  // namespace tesmora
