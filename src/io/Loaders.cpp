#include "io/Loaders.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "interp/Errors.h"
#include "io/DataFile.h"
#include "io/Dates.h"
#include "text/Cp1251.h"
#include "values/Matrix.h"
#include "values/SuperMatrix.h"

namespace tesmora {
namespace {

std::string lineNumberText(int number) {
  return cp("Номер строки: ") + std::to_string(number) + ".\n";
}

void replaceAll(std::string& text, char from, char to) {
  std::replace(text.begin(), text.end(), from, to);
}

ValuePtr stringColumn(std::vector<std::string>&& texts) {
  auto column = CSuperMatrix::create(static_cast<int>(texts.size()), 1);
  for (std::size_t i = 0; i < texts.size(); ++i) {
    column->setCell(static_cast<int>(i), std::make_unique<String>(std::move(texts[i])));
  }
  return column;
}

// The data lines of a table after its header; an empty file has no header
// and counts as a file that cannot be opened.
struct Table {
  std::vector<std::string> lines;  // lines[0] is the header
  TableHeader header;
  int dataLineCount() const { return static_cast<int>(lines.size()) - 1; }
};

Table readTable(const std::string& name, std::string_view readFailure,
                const HeaderMessages& messages) {
  Table table;
  table.lines = readDataLines(name, readFailure);
  if (table.lines.empty()) raiseCannotOpen(name);
  table.header = parseHeader(table.lines[0], messages);
  return table;
}

// ---- loadnumcol and loadtextcol ---------------------------------------------

constexpr HeaderMessages kNumColumnHeader{
    "loadtextcol: в заголовке нет закрывающих кавычек",
    "loadnumcol: после закрывающих кавычек нет (точки с) запятой"};
constexpr HeaderMessages kTextColumnHeader{
    "loadtextcol: в заголовке нет закрывающих кавычек",
    "loadtextcol: после закрывающих кавычек нет (точки с) запятой"};

// ---- loaddaily ----------------------------------------------------------------

constexpr HeaderMessages kDailyHeader{
    "loaddaily: в заголовке нет закрывающих кавычек",
    "loaddaily: после закрывающих кавычек нет (точки с) запятой"};

// The number written by `length` digits at `pos`, or -1.
int digitsAt(std::string_view text, std::size_t pos, std::size_t length) {
  int value = 0;
  for (std::size_t i = pos; i < pos + length; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

int dayOf(std::string_view text, std::size_t yearPos, std::size_t monthPos,
          std::size_t dayPos) {
  return calendarDayNumber(digitsAt(text, yearPos, 4), digitsAt(text, monthPos, 2),
                   digitsAt(text, dayPos, 2));
}

// A date cell: 2020-01-02, 02.01.2020, 2.01.2020, 20200102, or a day
// number of five digits. -1 for anything else or a date that does not exist.
int dateCellDay(std::string_view cell) {
  const std::size_t size = cell.size();
  if (cell.find('-') != std::string_view::npos) {
    if (size == 10 && cell[4] == '-' && cell[7] == '-') return dayOf(cell, 0, 5, 8);
    return -1;
  }
  if (cell.find('.') != std::string_view::npos) {
    if (size == 10 && cell[2] == '.' && cell[5] == '.') return dayOf(cell, 6, 3, 0);
    if (size == 9 && cell[1] == '.' && cell[4] == '.') {
      return calendarDayNumber(digitsAt(cell, 5, 4), digitsAt(cell, 2, 2), digitsAt(cell, 0, 1));
    }
    return -1;
  }
  if (size == 8) return dayOf(cell, 0, 4, 6);
  if (size == 5) return digitsAt(cell, 0, 5);
  return -1;
}

int dailyDay(std::string_view cell) {
  const int day = dateCellDay(cell);
  if (day < 0) raise1251(cp("loaddaily: неверно задана дата\n") + std::string(cell));
  return day;
}

// A value cell: a number, or 0 for a cell beginning with '#' (a gap mark).
double dailyValue(std::string_view cell) {
  if (!cell.empty() && cell[0] == '#') return 0;
  const std::string text(cell);
  double value = 0;
  if (!parseNumber(text, value)) raise1251(cp("loaddaily: неверно задано число\n") + text);
  return value;
}

bool isInteger(double x) { return std::isfinite(x) && x == std::floor(x); }

int dateColumn(const TableHeader& header) {
  return std::max({header.find("date"), header.find("<date>"), header.find(cp("дата"))});
}

}  // namespace

ValuePtr loadNumberLines(const std::string& name) {
  const std::vector<std::string> lines = readDataLines(name, "loadvector: ошибка чтения файла");
  auto result = Matrix::create(static_cast<int>(lines.size()), 1);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const int number = static_cast<int>(i) + 1;
    if (line.empty()) {
      raise1251(cp("loadvector: отсутствует число.\n") + lineNumberText(number) +
                cp("Число символов: 0.\nСтрока:\n"));
    }
    std::string text = line;
    replaceAll(text, ',', '.');
    if (!parseNumber(text, (*result)[static_cast<int>(i)])) {
      raise1251(cp("loadvector: неверно задано число\n") + line);
    }
  }
  return result;
}

ValuePtr loadTextLines(const std::string& name) {
  return stringColumn(readDataLines(name, "loadtextvector: ошибка чтения файла"));
}

ValuePtr loadNumberColumn(const std::string& name, const std::string& field) {
  const Table table = readTable(name, "loadnumcol: ошибка чтения файла", kNumColumnHeader);
  const int index = table.header.find(field);
  if (index < 0) raise1251(field, cp("loadnumcol: в заголовке нет поля "));
  const char separator = table.header.separator;
  auto result = Matrix::create(table.dataLineCount(), 1);
  for (int k = 1; k <= table.dataLineCount(); ++k) {
    const std::string& line = table.lines[k];
    std::string text = line;
    if (table.header.semicolonStyle()) replaceAll(text, ',', '.');
    const auto cells = splitCells(text, separator);
    if (static_cast<std::size_t>(index) >= cells.size()) {
      raise1251(cp("loadnumcol: в строке слишком мало разделителей (") + separator +
                ").\n" + lineNumberText(k) + cp("Строка: ") + line);
    }
    const std::string cell(cells[index]);
    if (cell.empty()) {
      raise1251(cp("loadnumcol: отсутствует число.\n") + lineNumberText(k) +
                cp("Строка: ") + line);
    }
    if (!parseNumber(cell, (*result)[k - 1])) {
      raise1251(cp("loadnumcol: неверно задано число\nЧисло: ") + cell + "\n" +
                lineNumberText(k) + cp("Строка: ") + line);
    }
  }
  return result;
}

ValuePtr loadTextColumn(const std::string& name, const std::string& field) {
  Table table = readTable(name, "loadtextcol: ошибка чтения файла", kTextColumnHeader);
  const int index = table.header.find(field);
  if (index < 0) raise1251(cp("loadtextcol: в заголовке нет поля ") + field + ".\n");
  const char separator = table.header.separator;
  std::vector<std::string> texts;
  texts.reserve(table.lines.size() - 1);
  for (int k = 1; k <= table.dataLineCount(); ++k) {
    const auto cells = splitCells(table.lines[k], separator);
    if (static_cast<std::size_t>(index) >= cells.size()) {
      raise1251(cp("loadtextcol: в строке слишком мало разделителей (") + separator +
                ").\n" + lineNumberText(k) + cp("Строка заголовка имеет номер 0.\n"));
    }
    texts.emplace_back(cells[index]);
  }
  return stringColumn(std::move(texts));
}

ValuePtr loadDailySeries(double first, double last, const std::string& name,
                         const std::string& field) {
  if (!isInteger(first)) raise("loaddaily: недопустимое значение 1-го аргумента");
  if (!isInteger(last) || last < first) raise("loaddaily: недопустимое значение 2-го аргумента");
  auto result = Matrix::column(last - first + 1);
  const Table table = readTable(name, "loaddaily: ошибка чтения файла", kDailyHeader);
  const int dateIndex = dateColumn(table.header);
  if (dateIndex < 0) raise("loaddaily: в заголовке нет полей 'date' и 'дата')");
  const int valueIndex = table.header.find(field);
  if (valueIndex < 0) raise1251(field, cp("loaddaily: в заголовке нет поля "));
  for (int k = 1; k <= table.dataLineCount(); ++k) {
    std::string text = table.lines[k];
    if (table.header.semicolonStyle()) {
      replaceAll(text, ',', '.');
      replaceAll(text, ';', ',');
    }
    // An empty line has no cells at all: day 0, value 0.
    const auto cells = text.empty() ? std::vector<std::string_view>{} : splitCells(text, ',');
    const auto has = [&](int index) { return static_cast<std::size_t>(index) < cells.size(); };
    const int day = has(dateIndex) ? dailyDay(cells[dateIndex]) : 0;
    const double value = has(valueIndex) ? dailyValue(cells[valueIndex]) : 0;
    if (day >= first && day <= last) (*result)[static_cast<int>(day - first)] = value;
  }
  return result;
}

ValuePtr loadWholeText(const std::string& name) {
  std::string bytes;
  bool readFailed = false;
  if (!readFileBytes(name, bytes, readFailed) || readFailed) raiseCannotOpen(name);
  return std::make_unique<String>(std::move(bytes));
}

}  // namespace tesmora
