// tesmora-run --pdf: after a run, every LaTeX file the run wrote is
// compiled to PDF beside it with the installed pdflatex.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "exam/LatexFiles.h"

namespace tesmora::cli {

// The result of one file, as the JSON reports it.
struct PdfResult {
  std::string tex;                 // the file, relative to the current directory when inside it
  std::optional<std::string> pdf;  // the PDF written, or nothing when compiling failed
  std::string log;                 // "" on success, else the error lines of the log (UTF-8)
};

// The full path of pdflatex on the PATH, or nothing.
std::optional<std::string> findPdflatex();

class PdfStep {
 public:
  // `pdflatex`: the program to run; `supportDir`: our TeX support folder
  // (may be empty: the files then need sw20jart.sty from elsewhere).
  PdfStep(std::string pdflatex, std::string supportDir);

  std::vector<PdfResult> compile(const std::vector<LatexFile>& files) const;
  PdfResult compileOne(const std::string& texPath) const;

 private:
  std::string pdflatex_;
  std::string supportDir_;
};

// The folder of the running program, for finding the support files.
std::string programDirectory();

// `"pdf":[…]` appended to a run's JSON object.
std::string withPdfResults(const std::string& jsonObject, const std::vector<PdfResult>& results);

// The human form: one line per file on standard error.
std::string humanPdfResults(const std::vector<PdfResult>& results);

}  // namespace tesmora::cli
