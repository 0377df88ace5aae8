// One call of tesmora-run: one interpreter, one host, the runs in order.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <vector>

#include "cli/PdfStep.h"
#include "cli/ProgramText.h"

namespace tesmora::cli {

struct SessionOutput {
  std::ostream& out;  // results (human form) or JSON lines
  std::ostream& err;  // errors, boxes of the human form, warnings
};

// Runs every prepared run with one Interpreter, exactly as presses of F12
// in one session, and prints each run's report as it ends. Returns the exit
// status: 0 when every run succeeded, 1 when some run failed. With a
// timeout, a run still going after that many seconds is stopped; with
// `pdf`, the LaTeX files of each run are compiled after it.
int runSession(const std::vector<PreparedRun>& runs, bool json,
               std::optional<std::uint32_t> seed, SessionOutput output,
               std::optional<double> timeoutSeconds = {},
               const PdfStep* pdf = nullptr);

}  // namespace tesmora::cli
