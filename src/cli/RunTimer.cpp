#include "cli/RunTimer.h"

#include "interp/Cancellation.h"

namespace tesmora::cli {

RunTimer::RunTimer(std::optional<double> seconds) {
  if (!seconds) return;
  limit_ = std::chrono::duration<double>(*seconds);
  watcher_ = std::thread([this] { watch(); });
}

RunTimer::~RunTimer() {
  if (!watcher_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    quitting_ = true;
  }
  changed_.notify_one();
  watcher_.join();
}

void RunTimer::start() {
  if (!limit_) return;
  {
    std::lock_guard lock(mutex_);
    deadline_ = std::chrono::steady_clock::now() +
                std::chrono::duration_cast<std::chrono::steady_clock::duration>(*limit_);
  }
  changed_.notify_one();
}

void RunTimer::stop() {
  if (!limit_) return;
  {
    std::lock_guard lock(mutex_);
    deadline_.reset();
  }
  changed_.notify_one();
}

// Sleeps until the deadline of the current run, or until a run ends or
// starts. Past the deadline the stop is asked for again every few
// milliseconds until the run ends: a request that came before the run had
// even begun would otherwise be lost, since every run starts with the
// request cleared. A request made just as a run ends is harmless for the
// same reason.
void RunTimer::watch() {
  constexpr auto kRepeat = std::chrono::milliseconds(10);
  std::unique_lock lock(mutex_);
  while (!quitting_) {
    if (!deadline_) {
      changed_.wait(lock);
    } else if (std::chrono::steady_clock::now() < *deadline_) {
      changed_.wait_until(lock, *deadline_);
    } else {
      requestStop();
      changed_.wait_for(lock, kRepeat);
    }
  }
}

}  // namespace tesmora::cli
