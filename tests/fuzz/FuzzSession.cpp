#include "FuzzSession.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include <sys/resource.h>
#include <unistd.h>

#include "graphics/RunPicture.h"
#include "interp/Cancellation.h"
#include "interp/LargeStack.h"
#include "interp/RunDriver.h"
#include "io/Sandbox.h"

namespace tesmora::fuzz {
namespace {

// Every reading of the clock moves it on by this much, so the ten seconds
// of the long-run limit pass after 100 readings (the statement loop reads
// it at every statement start, long loops every 1024 polls).
constexpr std::int64_t kTickStepMs = 100;
// Runs that switched the question off are stopped after this much real
// time, as the runner's --timeout would.
constexpr auto kWatchdogLimit = std::chrono::milliseconds(200);

// Looks at the run in progress every few milliseconds and stops one that
// has been going for longer than the limit. Runs only count themselves, so
// a short run costs two atomic stores and no system call.
class Watchdog {
 public:
  Watchdog() {
    std::thread([this] { watch(); }).detach();
  }
  void runStarts() { current_.fetch_add(1); }
  void runEnds() { current_.fetch_add(1); }

 private:
  // An odd count is a run in progress.
  [[noreturn]] void watch() {
    std::uint64_t seen = 0;
    auto since = std::chrono::steady_clock::now();
    for (;;) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      const std::uint64_t now = current_.load();
      if (now != seen) {
        seen = now;
        since = std::chrono::steady_clock::now();
      } else if (now % 2 == 1 && std::chrono::steady_clock::now() - since > kWatchdogLimit) {
        requestStop();
      }
    }
  }
  std::atomic<std::uint64_t> current_{0};
};

class FuzzHost : public Host {
 public:
  std::string messageBox(const BoxRequest& box) override {
    if (box.kind == BoxKind::LongRun) return "YES";
    return box.buttons.substr(0, box.buttons.find('|'));
  }
  std::string getString(const std::string&) override { return ""; }
  void setStatus(const std::string&) override {}
  int showPicture(const PictureRequest&) override { return 0; }
  void setClipboardText(const std::string&) override {}
  std::int64_t tickMs() override { return clock_ += kTickStepMs; }
  std::time_t wallClock() override { return 1700000000; }

 private:
  std::int64_t clock_ = 0;
};

std::string withCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

std::string makeScratch() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/tesmora-fuzz-XXXXXX";
  if (!mkdtemp(pattern.data())) std::abort();
  return pattern;
}

}  // namespace

void raiseStackLimit(char** argv) {
  rlimit limit{};
  if (getrlimit(RLIMIT_STACK, &limit) != 0 || limit.rlim_cur >= kInterpreterStackBytes) return;
  if (limit.rlim_max != RLIM_INFINITY && limit.rlim_max < kInterpreterStackBytes) return;
  limit.rlim_cur = kInterpreterStackBytes;
  if (setrlimit(RLIMIT_STACK, &limit) != 0) return;
  // The main thread's stack may grow to the new limit only in a fresh image.
  execv("/proc/self/exe", argv);
}

FuzzSession& FuzzSession::instance() {
  static FuzzSession session;
  return session;
}

FuzzSession::FuzzSession() : scratch_(makeScratch()) {
  enterSandbox();
  cleanScratch();
}

void FuzzSession::cleanScratch() {
  std::error_code ignored;
  std::filesystem::current_path(scratch_, ignored);
  for (const auto& entry : std::filesystem::directory_iterator(scratch_, ignored)) {
    std::filesystem::remove_all(entry.path(), ignored);
  }
}

RunReport FuzzSession::run(const std::string& text) {
  static FuzzHost host;
  static Interpreter interpreter(host);
  static Watchdog* watchdog = new Watchdog;  // its thread outlives exit

  // What a run may leave for the next one: the picture of an expression
  // run, the generator's state, the current directory and its files.
  graphics::startRunPicture(true);
  interpreter.seed(1);
  RunReport report;
  // The run driver itself, on this thread: Interpreter::run would start a
  // thread with a large stack for every run, which costs more than most
  // runs. The stack limit is raised instead (raiseStackLimit()).
  // TESMORA_FUZZ_SLOW_MS=N names the inputs that take longer than N ms,
  // which is where the fuzzer's time goes.
  static const char* slow = std::getenv("TESMORA_FUZZ_SLOW_MS");
  const auto started = std::chrono::steady_clock::now();
  watchdog->runStarts();
  report = runText(interpreter.context(), RunRequest{withCrLf(text), false, "fuzz"});
  watchdog->runEnds();
  if (slow) {
    const double ms = std::chrono::duration<double, std::milli>(
                          std::chrono::steady_clock::now() - started).count();
    if (ms > std::atof(slow)) {
      std::fprintf(stderr, "slow input: %.1f ms: %.200s\n", ms, text.c_str());
    }
  }
  cleanScratch();
  return report;
}

}  // namespace tesmora::fuzz
