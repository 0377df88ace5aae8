#include "interp/RunDriver.h"

#include <cstdio>
#include <ctime>
#include <new>
#include <stdexcept>

#include "graphics/RunPicture.h"
#include "interp/Errors.h"
#include "interp/Prog.h"
#include "io/OutputChannel.h"
#include "io/RunStatus.h"
#include "text/Cp1251.h"
#include "values/Matrix.h"

namespace tesmora {
namespace {

std::string format(const char* utf8Format, auto... values) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, utf8Format, values...);
  return cp(buffer);
}

std::string startStatus(std::time_t now) {
  std::tm local{};
  localtime_r(&now, &local);
  return format("Выполняется с %02d:%02d", local.tm_hour, local.tm_min);
}

// Everything a run does between the pre-check and the shown value.
void runProgram(ProgramContext& p, const char* text) {
  // Nothing of an earlier run stays on the stack: it may hold variables'
  // values, which resetting the variables deletes.
  p.stack.clear();
  if (!p.fragmentRun) p.variables.resetVariables();
  p.timeLimit = kDefaultTimeLimit;
  p.longRunCheck = true;
  p.stopRequested.store(false, std::memory_order_relaxed);
  p.pollsSinceClock = 0;
  p.callDepth = 0;
  p.currentFunctionName = "";
  p.failedFunctionNames.clear();
  setMaxElementCount(kDefaultMaxElements);

  Scanner& scanner = p.scanner;
  p.expressionMode = !scanner.precheck(text);
  p.display.reset();
  graphics::startRunPicture(!p.expressionMode);

  p.runStartMs = p.host.tickMs();
  p.host.setStatus(rememberRunStartStatus(startStatus(p.host.wallClock())));

  // The caret stays where the pre-check left it until a rule moves it.
  const char* precheckPosition = scanner.errorPos;
  scanner.start(text);
  scanner.errorPos = precheckPosition;
  scanner.scan();
  p.questionCounter = 0;
  if (p.expressionMode) {
    p.evaluator.evaluate();
  } else {
    do {
      p.stack.clear();
      p.statements.executeTopLevel();
      scanner.scan();
    } while (!scanner.atEnd());
  }

  p.display.reset();
  if (p.stack.empty()) p.stack.push(std::make_unique<Void>());
  p.display.displayFull(*p.stack.top());
  p.stack.clear();
  // The output file is complete only once its last bytes are written: a
  // failure there fails the run with the channel's message, like any write.
  output::finish();
}

std::string joined(const std::string& subject, const std::string& message) {
  return subject.empty() ? message : subject + ":  " + message;
}

}  // namespace

std::string elapsedStatus(std::int64_t ms) {
  const long long t = ms;
  const long long seconds = t / 1000;
  if (seconds >= 3600) {
    return format("Выполнено за %lldч %2lldм %2lldс", seconds / 3600,
                  seconds / 60 % 60, seconds % 60);
  }
  if (seconds >= 60) return format("Выполнено за %lldм %lldс", seconds / 60, seconds % 60);
  if (seconds >= 10) return format("Выполнено за %lldс", seconds);
  if (seconds >= 1) return format("Выполнено за %.1fс", t / 1000.0);
  return format("Выполнено за %lldмс", t);
}

RunReport runText(ProgramContext& p, const RunRequest& request) {
  RunReport report;
  p.compiledStatements.clear();
  p.fragmentRun = request.fragment;
  p.documentTitle = request.title;
  p.scanner.start(request.text.c_str());
  const std::int64_t started = p.host.tickMs();

  bool failed = true;
  bool inFunction = false;
  bool typeError = false;
  try {
    runProgram(p, request.text.c_str());
    failed = false;
  } catch (const ScriptError& error) {
    report.errorMessage = joined(error.subject, error.message);
  } catch (const CArgTypeError& error) {
    report.errorMessage = argTypeErrorText(error);
    typeError = true;
  } catch (const CBreak& jump) {
    report.errorMessage = cp("Неожиданное появление ") +
                          (jump.flag == 1 ? "break" : "continue");
  } catch (const std::bad_alloc&) {
    report.errorMessage = cp("не хватает памяти");
  } catch (const std::length_error&) {
    report.errorMessage = cp("не хватает памяти");
  } catch (const std::exception& error) {
    // Nothing in the interpreter throws anything else; should it happen,
    // the run still ends with a report and a closed output channel.
    report.errorMessage = cp("Внутренняя ошибка: ") + error.what();
  }

  if (!failed) {
    report.ok = true;
    report.shown = p.display.written();
    if (report.shown) {
      report.caption = p.display.caption() ? cp(p.display.caption()) : "";
      report.text = p.display.text();
    }
    report.status = elapsedStatus(p.host.tickMs() - started);
    graphics::finishRunPicture(p.host, report);
  } else {
    inFunction = p.scanner.nestingDepth != 0;
    report.errorTitle = cp("Ошибка");
    if (inFunction && !typeError) {
      report.errorTitle += cp(" в ") + p.currentFunctionName + cp("( )");
    }
    // The caret is always inside the run text; anything else would be a
    // position inside a stored function body, which the editor cannot show.
    const auto position = reinterpret_cast<std::uintptr_t>(p.scanner.errorPos);
    const auto start = reinterpret_cast<std::uintptr_t>(request.text.c_str());
    report.errorOffset = position >= start && position - start <= request.text.size()
                             ? position - start
                             : 0;
    p.stack.clear();
    p.display.reset();
    graphics::failRunPicture(p.host);
    report.status = cp("Выполнено с ошибкой");
  }
  p.scanner.nestingDepth = 0;
  p.callDepth = 0;
  output::close();
  p.host.setStatus(report.status);
  return report;
}

}  // namespace tesmora
