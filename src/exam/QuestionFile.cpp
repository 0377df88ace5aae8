#include "exam/QuestionFile.h"

#include <string>
#include <string_view>

#include "exam/LatexFiles.h"
#include "interp/Errors.h"
#include "interp/Prog.h"
#include "io/OutputChannel.h"
#include "text/Cp1251.h"
#include "values/SuperMatrix.h"

namespace tesmora {
namespace {

// The preamble's lines; the text-mode channel ends each with CR LF on disk.
constexpr std::string_view kPreamble =
    "%% This document created by Tesmo (Kestrel)\n"
    "\n"
    "\n"
    "\\documentclass[12pt,thmsa]{article}\n"
    "%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%\n"
    "\\usepackage{sw20jart}\n"
    "\n"
    "%TCIDATA{TCIstyle=article/art4.lat,jart,sw20jart}\n"
    "\n"
    "%TCIDATA{OutputFilter=LATEX.DLL}\n"
    "%TCIDATA{Version=5.50.0.2890}\n"
    "%TCIDATA{<META NAME=\"SaveForMode\" CONTENT=\"1\">}\n"
    "%TCIDATA{<META NAME=\"GraphicsSave\" CONTENT=\"32\">}\n"
    "%TCIDATA{CSTFile=Exam.cst}\n"
    "%TCIDATA{PageSetup=43,43,57,57,0}\n"
    "%TCIDATA{Counters=arabic,1}\n"
    "%TCIDATA{AllPages=\n"
    "%H=36\n"
    "%F=36\n"
    "%}\n"
    "\n"
    "\\input{tcilatex}\n"
    "\\begin{document}\n";

// A backslash at the end of a line continues it: the backslash and the
// line end become one space.
std::string joinedLines(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 3, "\\\r\n") == 0) {
      out += ' ';
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// The channel writes every line feed as CR LF, so a line feed that already
// follows a CR (the program text's own line ends) goes to it alone: the
// file never holds CR CR LF, which TeX would read as an empty line.
std::string singleLineFeeds(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c == '\n') {
      while (!out.empty() && out.back() == '\r') out.pop_back();
    }
    out += c;
  }
  return out;
}

// A section's title or text as the question file holds it.
std::string converted(std::string_view text) { return singleLineFeeds(joinedLines(text)); }

const std::string& textOf(const MatObject* cell) {
  static const std::string empty;
  return cell && cell->typeCode == kStringType ? static_cast<const String*>(cell)->text
                                               : empty;
}

void openQuestionFile() {
  if (output::isOpen()) {
    output::close();
    raise(" выходной файл уже открыт");
  }
  const std::string name = program().documentTitle + ".tex";
  if (!output::openLatex(name)) raise1251(cp("Не удается открыть файл ") + name);
  noteLatexFile(name);
  output::write(kPreamble);
}

}  // namespace

void writeQuestion(const CSuperMatrix& question, int number) {
  if (number == 1) openQuestionFile();
  output::write("\n\\section{Question " + std::to_string(number) + "}\n");
  for (int row = 0; row < question.rows(); ++row) {
    output::write("\n\\subsection{");
    output::write(converted(textOf(question.cell(row, 0))));
    output::write("}\n");
    output::write(converted(textOf(question.cell(row, 1))));
  }
}

}  // namespace tesmora
