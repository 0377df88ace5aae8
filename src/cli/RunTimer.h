// --timeout: a watchdog that stops a run still going after a set time, the
// same way the desktop's Stop command does (interp/Cancellation.h), so the
// run fails with "Выполнение прекращено пользователем" and the next run of
// the session starts as usual.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace tesmora::cli {

class RunTimer {
 public:
  // Without a limit the timer does nothing and starts no thread.
  explicit RunTimer(std::optional<double> seconds);
  ~RunTimer();
  RunTimer(const RunTimer&) = delete;
  RunTimer& operator=(const RunTimer&) = delete;

  // Brackets one run: the limit counts from start().
  void start();
  void stop();

 private:
  void watch();

  std::optional<std::chrono::duration<double>> limit_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::optional<std::chrono::steady_clock::time_point> deadline_;
  bool quitting_ = false;
  std::thread watcher_;
};

// The run between start() and stop(), also when it ends by an exception.
class TimedRun {
 public:
  explicit TimedRun(RunTimer& timer) : timer_(timer) { timer_.start(); }
  ~TimedRun() { timer_.stop(); }
  TimedRun(const TimedRun&) = delete;
  TimedRun& operator=(const TimedRun&) = delete;

 private:
  RunTimer& timer_;
};

}  // namespace tesmora::cli
