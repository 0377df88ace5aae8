#include "values/ParallelLoop.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "interp/Cancellation.h"
#include "values/SpareThread.h"

namespace tesmora {
namespace {

// Long enough that taking a block costs nothing beside its work, short
// enough that the threads finish together and a stop is seen at once.
constexpr int kBlockElements = 4096;

// Elements between two stop polls when the loop runs on this thread alone.
constexpr int kSerialBlockElements = 256;

int helperThreads() {
  static const int helpers = [] {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores > 1 ? static_cast<int>(std::min(cores, 4u)) - 1 : 0;
  }();
  return helpers;
}

// The blocks handed out in order from one counter, and the first failure.
class SharedLoop {
 public:
  SharedLoop(int count, const std::function<void(int, int)>& block)
      : count_(count), block_(block) {}

  // Takes and runs blocks until none is left; the calling thread polls.
  void work(bool polls) {
    for (;;) {
      if (polls) pollStop();
      if (abandoned_.load(std::memory_order_relaxed)) return;
      const int index = next_.fetch_add(1, std::memory_order_relaxed);
      const long long begin = static_cast<long long>(index) * kBlockElements;
      // Blocks are taken in order, so after a failure every block still to
      // be taken lies behind it and need not run.
      if (begin >= count_ || index > firstFailure_.load(std::memory_order_relaxed)) return;
      const int end = static_cast<int>(std::min<long long>(count_, begin + kBlockElements));
      try {
        block_(static_cast<int>(begin), end);
      } catch (...) {
        record(index, std::current_exception());
      }
    }
  }

  void abandon() { abandoned_.store(true, std::memory_order_relaxed); }

  void rethrowFirstFailure() {
    if (failure_) std::rethrow_exception(failure_);
  }

 private:
  void record(int index, std::exception_ptr error) {
    std::lock_guard lock(mutex_);
    if (index < firstFailure_.load(std::memory_order_relaxed)) {
      firstFailure_.store(index, std::memory_order_relaxed);
      failure_ = std::move(error);
    }
  }

  const int count_;
  const std::function<void(int, int)>& block_;
  std::atomic<int> next_{0};
  std::atomic<int> firstFailure_{INT_MAX};
  std::atomic<bool> abandoned_{false};
  std::mutex mutex_;
  std::exception_ptr failure_;
};

void runHere(int count, const std::function<void(int, int)>& block) {
  for (int begin = 0; begin < count; begin += kSerialBlockElements) {
    pollStop();
    block(begin, std::min(count, begin + kSerialBlockElements));
  }
}

}  // namespace

// One of the helpers is the run's spare thread, woken in microseconds; any
// further ones (on machines of more than two cores) are started here.
void forEachBlock(int count, const std::function<void(int begin, int end)>& block) {
  if (count < kParallelElements || helperThreads() == 0) {
    runHere(count, block);
    return;
  }
  SharedLoop loop(count, block);
  std::vector<std::jthread> helpers;
  for (int h = 1; h < helperThreads(); ++h) {
    try {
      helpers.emplace_back([&loop] {
        leavePollsToInterpreterThread();
        loop.work(false);
      });
    } catch (const std::system_error&) {
      break;  // no thread to be had: fewer hands do the same work
    }
  }
  try {
    shareWithSpareThread([&loop](bool onSpare) {
      if (onSpare) {
        leavePollsToInterpreterThread();
        loop.work(false);
        return;
      }
      try {
        loop.work(true);
      } catch (...) {
        loop.abandon();  // the spare thread leaves at its next block
        throw;
      }
    });
  } catch (...) {
    loop.abandon();
    helpers.clear();  // joins: nothing may outlive the elements it writes
    throw;
  }
  helpers.clear();
  loop.rethrowFirstFailure();
}

}  // namespace tesmora
