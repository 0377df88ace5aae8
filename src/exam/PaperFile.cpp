#include "exam/PaperFile.h"

#include "interp/Errors.h"
#include "interp/Prog.h"
#include "io/TextFile.h"

namespace tesmora {
namespace {

// The paper preamble, around its style line.
constexpr std::string_view kPreambleStart =
    "\r\n"
    "\\documentclass[12pt,thmsa]{article}\r\n";
constexpr std::string_view kStyleLine = "\\usepackage{sw20jart}\r\n";
constexpr std::string_view kPreambleRest =
    "\r\n"
    "%TCIDATA{TCIstyle=article/art4.lat,jart,sw20jart}\r\n"
    "\r\n"
    "%TCIDATA{OutputFilter=LATEX.DLL}\r\n"
    "%TCIDATA{Version=5.00.0.2570}\r\n"
    "%TCIDATA{<META NAME=\"SaveForMode\" CONTENT=\"1\">}\r\n"
    "%TCIDATA{Created=Sat Nov 16 20:56:01 1996}\r\n"
    "%TCIDATA{LastRevised=Friday, April 08, 2005 13:21:28}\r\n"
    "%TCIDATA{<META NAME=\"GraphicsSave\" CONTENT=\"32\">}\r\n"
    "%TCIDATA{Language=American English}\r\n"
    "%TCIDATA{CSTFile=Exam.cst}\r\n"
    "%TCIDATA{PageSetup=43,43,57,57,0}\r\n"
    "%TCIDATA{Counters=arabic,1}\r\n"
    "%TCIDATA{AllPages=\r\n"
    "%H=36\r\n"
    "%F=36\r\n"
    "%}\r\n"
    "\r\n"
    "\\input{tcilatex}\r\n"
    "\r\n"
    "\\begin{document}\r\n"
    "\r\n"
    "\\section{Exam}\r\n"
    "\r\n"
    "\r\n";

constexpr char kSeparator = '/';

}  // namespace

void PaperFile::create(const std::string& name1251, std::string_view failureUtf8) {
  failure_ = std::string(failureUtf8);
  if (!file_.create(nativeFileName(name1251))) raise(failure_);
}

void PaperFile::write(std::string_view bytes) {
  if (file_.isOpen() && !file_.write(bytes)) raise(failure_);
}

void PaperFile::finish() {
  if (file_.isOpen() && !file_.close()) raise(failure_);
}

void writePaperPreamble(PaperFile& file) {
  file.write(kPreambleStart);
  file.write(kStyleLine);
  file.write(kPreambleRest);
}

// The style's option "students" gives the paper its students' title block;
// the paper's name stands in for the file name in the headings.
void writeStudentsPreamble(PaperFile& file, std::string_view paperName) {
  file.write(kPreambleStart);
  file.write("\\usepackage[students]{sw20jart}\r\n");
  file.write("\\newcommand{\\tsmpaper}{");
  file.write(paperName);
  file.write("}\r\n");
  file.write(kPreambleRest);
}

void writePaperEnding(PaperFile& file) {
  file.write("\n\n\\end{document}\n");
  file.finish();
}

std::string outputDirectory() { return program().documentTitle + "_out"; }

std::string outputPath(std::string_view fileName) {
  return outputDirectory() + kSeparator + std::string(fileName);
}

std::string outputPath(std::string_view subdirectory, std::string_view fileName) {
  return outputDirectory() + kSeparator + std::string(subdirectory) + kSeparator +
         std::string(fileName);
}

}  // namespace tesmora
