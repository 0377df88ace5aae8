// Builtins that write files: the output channel (setout, closeout, print,
// println) and the one-call savers (savetext, savetable, savevector,
// savetextvector). Every file is written in text mode, Windows-1251.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>

#include "builtins/Rows.h"
#include "interp/Prog.h"
#include "io/OutputChannel.h"
#include "io/TextFile.h"
#include "text/Cp1251.h"

namespace tesmora {
namespace {

ValuePtr nothing() { return std::make_unique<Void>(); }

const std::string& textOf(const MatObject& value) {
  return static_cast<const String&>(value).text;
}

// Names of files that setout and savetable may write: long enough to carry
// an extension, and never a program or a driver.
void checkFileName(const char* subject, const std::string& name) {
  if (name.size() < 5) raiseAbout(subject, "недопустимое имя файла");
  const std::string extension = name.substr(name.size() - 4);
  if (extension == ".exe" || extension == ".com" || extension == ".drv") {
    raiseAbout(subject, "недопустимое расширение в имени файла");
  }
}

[[noreturn]] void raiseCannotOpen(const std::string& name) {
  raise1251(name, cp("Не удается открыть файл "));
}

// savevector, savetextvector and savetable report a file they could not
// finish as one they could not open: the partial file is gone either way.
WriteFailure cannotWrite(const std::string& name) {
  return [name](int) { raiseCannotOpen(name); };
}

// A number as the savers write it: "%.12g", not rounded for display.
std::string savedNumber(double value) {
  char scratch[64];
  std::snprintf(scratch, sizeof scratch, "%.12g", value);
  return scratch;
}

// ---- the output channel ----------------------------------------------------

ValuePtr setOutput(Str name) {
  output::finish();
  checkFileName("setout", name);
  if (!output::open(name)) raise1251(name, cp("xxx Не удается открыть файл "));
  return nothing();
}

ValuePtr closeOutput() {
  output::finish();
  return nothing();
}

struct PrintMessages {
  const char* latex;
  const char* closed;
};

// Each value in its full display form without carriage returns (the file's
// text mode adds them back), values separated by line feeds.
void printValues(int count, Args args, const PrintMessages& messages) {
  if (output::isLatex()) raise(messages.latex);
  if (!output::isOpen()) raise(messages.closed);
  DisplayBuffer& display = program().display;
  std::string text;
  for (int i = 0; i < count; ++i) {
    if (i > 0) output::write("\n");
    display.reset();
    display.displayFull(*args[i]);
    text = display.text();
    std::erase(text, '\r');
    output::write(text);
  }
  output::flush();
}

void print(int count, Args args) {
  printValues(count, args,
              {"print: используйте puts",
               "print: необходимо открыть выходной файл.\nНапример:\nsetout(\"out.txt\");"});
}

void println(int count, Args args) {
  printValues(count, args,
              {"println: используйте puts",
               "println: необходимо открыть выходной файл.\nНапример:\nsetout(\"out.txt\");"});
  output::write("\n");
  output::flush();
}

// ---- whole files -------------------------------------------------------------

[[noreturn]] void raiseSaveTextFailure(const std::string& name, int cause) {
  raise1251(cp("savetext: не удается открыть файл ") + name + cp("\nОшибка ") +
            std::to_string(cause));
}

ValuePtr saveText(Str text, Str name) {
  TextFile file;
  const std::string fileName = name;
  if (!file.create(name, [fileName](int cause) { raiseSaveTextFailure(fileName, cause); })) {
    raiseSaveTextFailure(name, errno);
  }
  file.write(text);
  file.close();
  return nothing();
}

ValuePtr saveVector(M values, Str name) {
  TextFile file;
  if (!file.create(name, cannotWrite(name))) raiseCannotOpen(name);
  for (int i = 0; i < values.count(); ++i) {
    if (i > 0) file.write("\n");
    file.write(savedNumber(values[i]));
  }
  file.close();
  return nothing();
}

ValuePtr saveTextVector(Sup strings, Str name) {
  for (int i = 0; i < strings.count(); ++i) {
    if (strings.cell(i)->typeCode != kStringType) raise("недопустимый тип элемента");
  }
  TextFile file;
  if (!file.create(name, cannotWrite(name))) raiseCannotOpen(name);
  for (int i = 0; i < strings.count(); ++i) {
    if (i > 0) file.write("\n");
    file.write(textOf(*strings.cell(i)));
  }
  file.close();
  return nothing();
}

// savetable's two styles: Russian spreadsheets take ';' between cells and a
// decimal comma, English ones ',' and a decimal point.
struct TableStyle {
  char separator;
  bool decimalComma;
  const char* separatorName;  // names the separator when a text holds it
};
constexpr TableStyle kRussian{';', true, "\nточка с запятой"};
constexpr TableStyle kEnglish{',', false, "\nзапятая"};

constexpr const char* kSaveTable = "savetable";

std::string tableNumber(double value, const TableStyle& style) {
  std::string text = savedNumber(value);
  if (style.decimalComma) std::replace(text.begin(), text.end(), '.', ',');
  return text;
}

// The cell's text, or an error naming what the table cannot hold.
std::string tableCell(const MatObject& cell, const TableStyle& style) {
  if (cell.typeCode == kScalarType) return tableNumber(numberOf(cell), style);
  if (cell.typeCode != kStringType) {
    raiseAbout(kSaveTable, "недопустимый тип элемента аргумента 1");
  }
  const std::string& text = textOf(cell);
  if (text.find(style.separator) != std::string::npos) {
    raiseAbout(cp("недопустимый символ в текстовом элементе суперматрицы"),
               style.separatorName);
  }
  return text;
}

// Rows separated by line feeds, cells by the style's separator; `cellText`
// gives the text of cell (r, c). Each cell reaches the file before the next
// is looked at, so a refused cell leaves the table written up to it.
template <class CellText>
void writeTable(TextFile& file, int rows, int cols, const TableStyle& style,
                CellText cellText) {
  const char separator[] = {style.separator, 0};
  for (int r = 0; r < rows; ++r) {
    if (r > 0) file.write("\n");
    for (int c = 0; c < cols; ++c) {
      if (c > 0) file.write(separator);
      file.write(cellText(r, c));
    }
  }
}

const TableStyle& tableStyle(int count, Args args) {
  if (count < 3) return kRussian;
  if (args[2]->typeCode != kStringType) {
    raiseAbout(kSaveTable, "недопустимый тип аргумента 3");
  }
  const std::string& style = textOf(*args[2]);
  if (style == "rus") return kRussian;
  if (style == "eng") return kEnglish;
  raiseAbout(kSaveTable, "недопустимое значение аргумента 3");
}

void saveTable(int count, Args args) {
  if (count > 3) raiseAbout(kSaveTable, "слишком много аргументов");
  if (count < 2) raiseAbout(kSaveTable, "слишком мало аргументов");
  if (args[1]->typeCode != kStringType) {
    raiseAbout(kSaveTable, "недопустимый тип аргумента 2");
  }
  const TableStyle& style = tableStyle(count, args);
  const std::string& name = textOf(*args[1]);
  checkFileName(kSaveTable, name);

  TextFile file;
  if (!file.create(name, cannotWrite(name))) raiseCannotOpen(name);
  const MatObject& table = *args[0];
  if (table.typeCode == kMatrixType) {
    const Matrix& m = asMatrix(table);
    writeTable(file, m.rows(), m.cols(), style,
               [&](int r, int c) { return tableNumber(m.at(r, c), style); });
  } else if (table.typeCode == kSuperType) {
    const CSuperMatrix& s = asSuper(table);
    writeTable(file, s.rows(), s.cols(), style,
               [&](int r, int c) { return tableCell(*s.cell(r, c), style); });
  } else {
    // The file has been created (and truncated) by now; it stays so.
    raiseAbout(kSaveTable, "недопустимый тип аргумента 1");
  }
  file.close();
}

constexpr BuiltinRow kRows[] = {
    row<FunctionO_, closeOutput>("closeout"),
    row<Subroutine, print>("print"),
    row<Subroutine, println>("println"),
    row<FunctionO_Str, setOutput>("setout"),
    row<Subroutine, saveTable>("savetable"),
    row<FunctionO_SupStr, saveTextVector>("savetextvector"),
    row<FunctionO_MStr, saveVector>("savevector"),
    row<FunctionO_StrStr, saveText>("savetext"),
};

}  // namespace

std::span<const BuiltinRow> outputBuiltins() { return kRows; }

}  // namespace tesmora
