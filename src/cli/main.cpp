// tesmora-run: runs Tesmora programs without a window.

#include <cstdlib>
#include <exception>
#include <optional>
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/PdfStep.h"
#include "cli/DocCommand.h"
#include "cli/ProgramText.h"
#include "cli/RunSession.h"
#include "exam/TexBuild.h"

namespace {

constexpr int kUsageError = 2;

int usageError(const std::string& message) {
  std::cerr << "tesmora-run: " << message << "\n"
            << "Try 'tesmora-run --help' for more information.\n";
  return kUsageError;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tesmora::cli;
  std::ios::sync_with_stdio(false);

  CliOptions options;
  std::vector<PreparedRun> runs;
  try {
    options = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
      std::cout << usageText();
      return 0;
    }
    if (options.doc) return printDocEntry(*options.doc, std::cout, std::cerr);
    if (options.version) {
      std::cout << "tesmora-run " << TESMORA_VERSION << "\n";
      return 0;
    }
    // Every text is read and decoded before the first run, so a usage error
    // never leaves half of the runs done.
    for (const RunSource& run : options.runs) runs.push_back(prepareRun(run));
    if (options.pdf && !findPdflatex()) {
      throw UsageError("--pdf needs pdflatex on the PATH (install TeX Live: scripts/setup.sh --tex)");
    }
  } catch (const UsageError& error) {
    return usageError(error.what());
  }

  try {
    std::optional<PdfStep> pdf;
    if (options.pdf) {
      pdf.emplace(*findPdflatex(),
                  tesmora::findTexSupport(programDirectory(), std::getenv("TESMORA_TEX_DIR")));
    }
    return runSession(runs, options.json, options.seed,
                      SessionOutput{std::cout, std::cerr}, options.timeoutSeconds,
                      pdf ? &*pdf : nullptr);
  } catch (const std::exception& error) {
    std::cerr << "tesmora-run: " << error.what() << "\n";
    return 1;
  }
}
