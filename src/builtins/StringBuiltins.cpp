// Builtins on texts: case, substrings, replacing, splitting, tagged
// extraction, frequency counts, character codes and numbers written in
// texts, and the program's own text and name. Texts are Windows-1251 bytes:
// one character is one byte.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "builtins/Rows.h"
#include "interp/Prog.h"
#include "text/LetterCase.h"

namespace tesmora {
namespace {

ValuePtr text(std::string value) { return std::make_unique<String>(std::move(value)); }

// A count or position given as a number: its whole part, kept within int
// (not a number counts as 0).
long long wholePart(double x) {
  constexpr double kLimit = std::numeric_limits<int>::max();
  if (std::isnan(x)) return 0;
  return static_cast<long long>(std::trunc(std::clamp(x, -kLimit, kLimit)));
}

ValuePtr upperCase(Str s) { return text(upperCased(s)); }
ValuePtr lowerCase(Str s) { return text(lowerCased(s)); }

// substr(s, start, count): from the 1-based start (below 1: the first
// character), count characters, clipped to the text.
ValuePtr substring(Str s, double start, double count) {
  const long long length = static_cast<long long>(s.size());
  const long long first = std::max(wholePart(start) - 1, 0LL);
  const long long wanted = std::max(wholePart(count), 0LL);
  if (first >= length) return text("");
  return text(s.substr(first, std::min(wanted, length - first)));
}

// replstr(s, old, new): every occurrence, left to right, not overlapping; an
// empty old text occurs nowhere.
ValuePtr replaced(Str s, Str from, Str to) {
  if (from.empty()) return text(s);
  std::string out;
  std::size_t pos = 0;
  for (std::size_t hit; (hit = s.find(from, pos)) != std::string::npos; pos = hit + from.size()) {
    out.append(s, pos, hit - pos);
    out += to;
  }
  out.append(s, pos);
  return text(std::move(out));
}

// splitstr(s, delimiters, n): tokens between runs of delimiter characters,
// at most n of them, as one row.
ValuePtr splitText(Str s, Str delimiters, double n) {
  const long long limit = std::max(wholePart(n), 0LL);
  std::vector<std::string_view> tokens;
  const std::string_view all(s);
  std::size_t pos = all.find_first_not_of(delimiters);
  while (pos != std::string_view::npos && static_cast<long long>(tokens.size()) < limit) {
    const std::size_t end = std::min(all.find_first_of(delimiters, pos), all.size());
    tokens.push_back(all.substr(pos, end - pos));
    pos = all.find_first_not_of(delimiters, end);
  }
  auto row = CSuperMatrix::create(1, static_cast<int>(tokens.size()));
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    row->setCell(int(i), text(std::string(tokens[i])));
  }
  return row;
}

// extract(text, tag): the texts between <tag> and the next </tag>, as a
// column, in order.
ValuePtr extractTagged(Str s, Str tag) {
  const std::string open = "<" + tag + ">";
  const std::string close = "</" + tag + ">";
  std::vector<std::string_view> pieces;
  const std::string_view all(s);
  std::size_t pos = 0;
  while (true) {
    const std::size_t opened = all.find(open, pos);
    if (opened == std::string_view::npos) break;
    const std::size_t begin = opened + open.size();
    const std::size_t closed = all.find(close, begin);
    if (closed == std::string_view::npos) break;
    pieces.push_back(all.substr(begin, closed - begin));
    pos = closed + close.size();
  }
  auto column = CSuperMatrix::create(static_cast<int>(pieces.size()), 1);
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    column->setCell(int(i), text(std::string(pieces[i])));
  }
  return column;
}

double byteCount(Str s) { return static_cast<double>(s.size()); }

// A number too large or too small for a double: infinite, or zero when its
// exponent is negative or its whole part is zero.
double beyondRange(const char* p, const char* end) {
  const bool negative = *p == '-';
  const std::string_view digits(p + negative, end - p - negative);
  const bool tiny = digits.find("e-") != std::string_view::npos ||
                    digits.find("E-") != std::string_view::npos ||
                    digits.find_first_not_of("0") == digits.find('.');
  const double magnitude = tiny ? 0.0 : HUGE_VAL;
  return negative ? -magnitude : magnitude;
}

// dbl(s, default): the number s holds (white space before it allowed), or
// the default when s is empty or holds anything more.
double numberIn(Str s, double fallback) {
  const char* p = s.data();
  const char* end = p + s.size();
  while (p < end && (*p == ' ' || (*p >= '\t' && *p <= '\r'))) ++p;
  if (p < end && *p == '+') {
    ++p;
    if (p < end && (*p == '+' || *p == '-')) return fallback;
  }
  double value = 0;
  const auto [stop, error] = std::from_chars(p, end, value);
  if (error == std::errc::result_out_of_range && stop == end) return beyondRange(p, end);
  if (error != std::errc() || stop != end) return fallback;
  return value;
}

// code(s, width): the bytes in groups of width, each read big-endian (a
// missing last byte counts as 0).
ValuePtr codesOf(Str s, int width) {
  const std::size_t n = (s.size() + width - 1) / width;
  auto codes = Matrix::create(1, static_cast<int>(std::min<std::size_t>(n, INT32_MAX)));
  for (std::size_t i = 0; i < n; ++i) {
    double value = 0;
    for (int j = 0; j < width; ++j) {
      const std::size_t pos = i * width + j;
      value = value * 256 + (pos < s.size() ? static_cast<unsigned char>(s[pos]) : 0);
    }
    (*codes)[static_cast<int>(i)] = value;
  }
  return codes;
}

ValuePtr codesByByte(Str s) { return codesOf(s, 1); }

ValuePtr codesByWidth(Str s, double width) {
  if (width != 1 && width != 2) raise("code: недопустимое значение второго аргумента");
  return codesOf(s, static_cast<int>(width));
}

// decode(codes [, width]): width bytes of every element, most significant
// first; a zero byte becomes a space.
ValuePtr decodeCodes(int count, Args args) {
  if (count == 0) raise("decode: нет аргументов");
  if (count > 2) raise("decode: слишком много аргументов");
  if (args[0]->typeCode != kMatrixType) raise("несоответствие типа аргумента");
  if (count == 2 && args[1]->typeCode != kScalarType) raise("несоответствие типа аргумента");
  const double width = count == 2 ? numberOf(*args[1]) : 1;
  if (!(width == 1 || width == 2 || width == 3)) {
    raise("decode: недопустимое значение второго аргумента");
  }
  const int bytes = static_cast<int>(width);
  const Matrix& codes = asMatrix(*args[0]);
  std::string out;
  out.reserve(std::size_t(codes.count()) * bytes);
  for (int i = 0; i < codes.count(); ++i) {
    const double x = codes[i];
    if (!(x >= 0 && x <= UINT32_MAX && x == std::floor(x))) {
      raise("decode: недопустимое значение первого аргумента");
    }
    const auto value = static_cast<std::uint32_t>(x);
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) {
      const char byte = static_cast<char>((value >> shift) & 0xFF);
      out += byte == 0 ? ' ' : byte;
    }
  }
  return text(std::move(out));
}

// strfr(list): the distinct texts in order of first appearance, each with
// the number of its occurrences.
ValuePtr textFrequencies(Sup list) {
  std::vector<const std::string*> distinct;
  std::vector<double> counts;
  std::unordered_map<std::string_view, std::size_t> rowOf;
  for (int i = 0; i < list.count(); ++i) {
    const MatObject* cell = list.cell(i);
    if (!cell || cell->typeCode != kStringType) raise("strfr: недопустимый тип элемента");
    const std::string& s = static_cast<const String*>(cell)->text;
    const auto [where, isNew] = rowOf.try_emplace(s, distinct.size());
    if (isNew) {
      distinct.push_back(&s);
      counts.push_back(0);
    }
    counts[where->second] += 1;
  }
  auto table = CSuperMatrix::create(static_cast<int>(distinct.size()), 2);
  for (std::size_t r = 0; r < distinct.size(); ++r) {
    table->setCell(int(2 * r), text(*distinct[r]));
    table->setCell(int(2 * r + 1), makeNumber(counts[r]));
  }
  return table;
}

// thisfile(): the program text being run, without carriage returns, ending
// with one line feed. A fragment is not the program, so it has none.
ValuePtr programText() {
  const ProgramContext& p = program();
  if (p.fragmentRun) raise("thisfile: функция не определена при выполнении фрагмента программы");
  std::string out;
  for (const char* c = p.scanner.textStart; c && *c; ++c) {
    if (*c != '\r') out += *c;
  }
  out += '\n';
  return text(std::move(out));
}

ValuePtr programName() { return text(program().documentTitle); }

constexpr BuiltinRow kRows[] = {
    row<FunctionO_, programText>("thisfile"),
    row<FunctionO_, programName>("thisfname"),
    row<COFunc, decodeCodes>("decode"),
    row2<FunctionO_Str_D, codesByByte, codesByWidth>("code"),
    row<FunctionO_Str, upperCase>("ucase"),
    row<FunctionO_Str, lowerCase>("lcase"),
    row<FunctionO_StrDD, substring>("substr"),
    row<FunctionO_StrStrStr, replaced>("replstr"),
    row<FunctionO_Super, textFrequencies>("strfr"),
    row<FunctionO_StrStrD, splitText>("splitstr"),
    row<FunctionO_StrStr, extractTagged>("extract"),
    row<SF_Str, byteCount>("strlen"),
    row<SF_StrD, numberIn>("dbl"),
};

}  // namespace

std::span<const BuiltinRow> stringBuiltins() { return kRows; }

}  // namespace tesmora
