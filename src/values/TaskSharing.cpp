#include "values/TaskSharing.h"

#include <chrono>
#include <system_error>

namespace tesmora {
namespace {

// Between two loops of a series (an elimination's panel) the waiting side
// spins this long before it sleeps: waking a sleeping thread takes tens of
// microseconds, as long as a loop's share of work may be.
constexpr auto kSpinTime = std::chrono::microseconds(200);
// A wait for the helper this long means it lost its core; after this many
// of them it is no longer given work.
constexpr auto kLongWait = std::chrono::microseconds(500);
constexpr int kLongWaitsTolerated = 2;

// Spins until `ready` holds or kSpinTime has passed; whether it holds.
// Yielding lets a thread that shares the core (a busy machine) run.
template <class Ready>
bool spinUntil(const Ready& ready) {
  const auto start = std::chrono::steady_clock::now();
  for (int round = 0;; ++round) {
    if (ready()) return true;
    if (round % 16 == 15) {
      if (std::chrono::steady_clock::now() - start > kSpinTime) return false;
      std::this_thread::yield();
    }
  }
}

}  // namespace

TaskSharing::TaskSharing(bool wanted) {
  if (!wanted || std::thread::hardware_concurrency() < 2) return;
  try {
    helper_ = std::thread([this] { helperLoop(); });
  } catch (const std::system_error&) {
    // No thread to be had: the calling thread does all the work.
  }
}

TaskSharing::~TaskSharing() {
  if (!helper_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    quit_ = true;
  }
  wake_.notify_one();
  helper_.join();
}

void TaskSharing::takeTasks(int worker) {
  for (int i; (i = next_.fetch_add(1)) < count_;) (*body_)(i, worker);
}

void TaskSharing::helperLoop() {
  long seen = 0;
  for (;;) {
    const auto handedOut = [&] { return quit_ || generation_.load() != seen; };
    if (!spinUntil(handedOut)) {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, handedOut);
    }
    if (quit_) return;
    seen = generation_.load();
    takeTasks(1);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      helperBusy_ = false;
    }
    done_.notify_one();
  }
}

void TaskSharing::waitForHelper() {
  const auto start = std::chrono::steady_clock::now();
  if (!spinUntil([&] { return !helperBusy_.load(); })) {
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [&] { return !helperBusy_.load(); });
  }
  if (std::chrono::steady_clock::now() - start > kLongWait) ++longWaits_;
}

void TaskSharing::run(int count, const std::function<void(int, int)>& body) {
  if (!helper_.joinable() || longWaits_ > kLongWaitsTolerated) {
    for (int i = 0; i < count; ++i) body(i, 0);
    return;
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    body_ = &body;
    count_ = count;
    next_ = 0;
    helperBusy_ = true;
    ++generation_;
  }
  wake_.notify_one();
  // Whatever happens here, the helper is waited for before `body` goes.
  struct WaitForHelper {
    TaskSharing& sharing;
    ~WaitForHelper() {
      sharing.next_ = sharing.count_;  // no more tasks after a throw
      sharing.waitForHelper();
    }
  } waitForHelper{*this};
  takeTasks(0);
}

}  // namespace tesmora
