// What compiling the exam generator's LaTeX files to PDF needs, for the
// hosts that run pdflatex (the runner's --pdf, the desktop's export): the
// command line, where our TeX support files are, and what a log says.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tesmora {

// A pass of pdflatex that takes longer than this is stopped.
constexpr int kPdflatexPassSeconds = 60;
// Passes at most: the page count "N из M" needs a second one, a third
// settles a count that the second changed.
constexpr int kPdflatexMaxPasses = 3;

// pdflatex's arguments for a file in the current directory: no questions
// on errors, stop at the first one, errors as FILE:LINE: MESSAGE, and no
// shell commands from the texts.
std::vector<std::string> pdflatexArguments(const std::string& texFileName);

// The folder holding sw20jart.sty and tcilatex.tex, looked up beside the
// program in the installed layout (bin/ -> share/tesmora/tex) and in the
// build tree; `overrideDir` (the variable TESMORA_TEX_DIR) comes first.
// Empty when none is found.
std::string findTexSupport(const std::string& programDir, const char* overrideDir);

// TEXINPUTS for pdflatex: our folder first, then `existing` or, without
// one, TeX's own search path (the empty entry of the trailing colon).
std::string texInputs(const std::string& supportDir, const char* existing);

// Whether the log asks for one more pass to settle references.
bool logAsksRerun(std::string_view log);

// The first error of a log: the file, the line and TeX's message, and the
// log's lines from the error to its context line "l.N …".
struct TexError {
  std::string file;
  int line = 0;
  std::string message;
  std::string lines;
};
std::optional<TexError> firstTexError(std::string_view log);

// The file name of `texPath` with ".tex" replaced by `extension`.
std::string withExtension(const std::string& texPath, std::string_view extension);

}  // namespace tesmora
