// What both fuzz targets share: one interpreter for the whole process (so a
// program costs only its run, not a start-up), a host that answers every
// box at once and whose clock races, so that the long-run question comes
// after a few hundred statements and is answered YES, a watchdog that stops
// a run the question cannot end (after timer(0)), and a scratch directory
// that every run starts in and that is emptied after it. The sandbox keeps
// file names inside the scratch directory and turns system() off. Since
// every run changes the current directory, give libFuzzer absolute paths
// (corpus, -artifact_prefix), as tests/fuzz/fuzz.sh does.
#pragma once

#include <string>

#include "interp/Interpreter.h"

namespace tesmora::fuzz {

// Deep recursion of user programs needs the stack a run gets in the
// programs (interp/LargeStack.h). Called from LLVMFuzzerInitialize: when the
// limit is lower, raises it and starts the process anew with `argv`.
void raiseStackLimit(char** argv);

class FuzzSession {
 public:
  // The process's session, made on first use.
  static FuzzSession& instance();

  // Runs a whole program text (Windows-1251 bytes; lone LFs become CR LF)
  // from a clean state: variables reset, generator seeded, scratch empty.
  RunReport run(const std::string& text);

  // The scratch directory (absolute), the current directory of every run.
  const std::string& scratch() const { return scratch_; }
  // Empties the scratch directory and makes it current again.
  void cleanScratch();

 private:
  FuzzSession();
  std::string scratch_;
};

}  // namespace tesmora::fuzz
