#include "exam/QuestionFile.h"

#include <string>
#include <string_view>

#include "interp/Errors.h"
#include "interp/Prog.h"
#include "io/OutputChannel.h"
#include "text/Cp1251.h"
#include "values/SuperMatrix.h"

namespace tesmora {
namespace {

// The preamble's lines end in CR LF; the text-mode channel turns each of
// these into CR CR LF on disk, which is the layout the front end expects.
constexpr std::string_view kPreamble =
    "%% This document created by Tesmo (Kestrel)\r\n"
    "\r\n"
    "\r\n"
    "\\documentclass[12pt,thmsa]{article}\r\n"
    "%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%\r\n"
    "\\usepackage{sw20jart}\r\n"
    "\r\n"
    "%TCIDATA{TCIstyle=article/art4.lat,jart,sw20jart}\r\n"
    "\r\n"
    "%TCIDATA{OutputFilter=LATEX.DLL}\r\n"
    "%TCIDATA{Version=5.50.0.2890}\r\n"
    "%TCIDATA{<META NAME=\"SaveForMode\" CONTENT=\"1\">}\r\n"
    "%TCIDATA{<META NAME=\"GraphicsSave\" CONTENT=\"32\">}\r\n"
    "%TCIDATA{CSTFile=Exam.cst}\r\n"
    "%TCIDATA{PageSetup=43,43,57,57,0}\r\n"
    "%TCIDATA{Counters=arabic,1}\r\n"
    "%TCIDATA{AllPages=\r\n"
    "%H=36\r\n"
    "%F=36\r\n"
    "%}\r\n"
    "\r\n"
    "\\input{tcilatex}\r\n"
    "\\begin{document}\r\n";

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
  output::write(kPreamble);
}

}  // namespace

void writeQuestion(const CSuperMatrix& question, int number) {
  if (number == 1) openQuestionFile();
  output::write("\n\\section{Question " + std::to_string(number) + "}\n");
  for (int row = 0; row < question.rows(); ++row) {
    output::write("\n\\subsection{");
    output::write(joinedLines(textOf(question.cell(row, 0))));
    output::write("}\n");
    output::write(joinedLines(textOf(question.cell(row, 1))));
  }
}

}  // namespace tesmora
