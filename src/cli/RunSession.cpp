#include "cli/RunSession.h"

#include <exception>

#include "cli/CliHost.h"
#include "cli/RunOutput.h"
#include "cli/RunTimer.h"
#include "exam/LatexFiles.h"
#include "interp/Interpreter.h"
#include "text/Cp1251.h"

namespace tesmora::cli {
namespace {

// An exception that escapes the interpreter is a fault of ours, not of the
// user's program; it is still reported as a failed run, so that every run
// has its line and the remaining runs go on.
RunReport internalFailure(const std::exception* error) {
  RunReport report;
  report.ok = false;
  report.errorTitle = cp("Ошибка");
  report.errorMessage =
      std::string("internal error: ") + (error ? error->what() : "unknown");
  report.status = cp("Выполнено с ошибкой");
  return report;
}

RunReport runOne(Interpreter& interpreter, const RunRequest& request) {
  try {
    return interpreter.run(request);
  } catch (const std::exception& error) {
    return internalFailure(&error);
  } catch (...) {
    return internalFailure(nullptr);
  }
}

}  // namespace

int runSession(const std::vector<PreparedRun>& runs, bool json,
               std::optional<std::uint32_t> seed, SessionOutput output,
               std::optional<double> timeoutSeconds, const PdfStep* pdf) {
  CliHost host(
      [&](const BoxRecord& box) {
        if (!json) output.err << humanBox(box) << std::flush;
      },
      [&](const std::string& note) {
        output.err << "tesmora-run: " << note << '\n' << std::flush;
      });
  Interpreter interpreter(host);
  if (seed) interpreter.seed(*seed);
  RunTimer timer(timeoutSeconds);

  int status = 0;
  for (const PreparedRun& run : runs) {
    for (const std::string& answer : run.answers) host.queueAnswer(answer);
    host.setPictureTarget(run.pictureFile, run.pictureSize);

    const RunRequest request{run.text, run.fragment, run.title};
    clearLatexFiles();
    const RunReport report = [&] {
      const TimedRun timed(timer);
      return runOne(interpreter, request);
    }();
    const std::vector<PdfResult> pdfs = pdf ? pdf->compile(latexFiles()) : std::vector<PdfResult>();
    const std::vector<BoxRecord> boxes = host.takeBoxes();
    const RunOutcome outcome{report, boxes, run.text, run.title};

    if (json) {
      const std::string line = jsonLine(outcome);
      output.out << (pdf ? withPdfResults(line, pdfs) : line) << '\n';
    } else if (report.ok) {
      output.out << humanResult(report);
    } else {
      output.err << humanError(outcome);
    }
    if (pdf && !json) output.err << humanPdfResults(pdfs);
    for (const PdfResult& result : pdfs) {
      if (!result.pdf) status = 1;
    }
    output.out.flush();
    output.err.flush();
    if (!report.ok) status = 1;
  }
  return status;
}

}  // namespace tesmora::cli
