// What the runner prints for one run: the JSON line (--json) or the human
// form. Everything from the interpreter is Windows-1251 and is converted to
// UTF-8 here.
#pragma once

#include <string>
#include <vector>

#include "cli/CliHost.h"
#include "interp/Interpreter.h"

namespace tesmora::cli {

// One finished run with what is needed to report it.
struct RunOutcome {
  const RunReport& report;
  const std::vector<BoxRecord>& boxes;
  const std::string& runText;  // the text as run, for line and column
  const std::string& title;    // the document title
};

// The run's JSON object, without a line end.
std::string jsonLine(const RunOutcome& outcome);

// Human form, standard output of a successful run: the result text with LF
// line ends and a final line end; empty when nothing is shown.
std::string humanResult(const RunReport& report);

// Human form, standard error of a failed run: "NAME:LINE:COLUMN: TITLE:
// MESSAGE" and a line end.
std::string humanError(const RunOutcome& outcome);

// Human form of one box on standard error: "[caption] text -> answer".
std::string humanBox(const BoxRecord& box);

}  // namespace tesmora::cli
