#include "values/SpareThread.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "interp/Cancellation.h"

namespace tesmora {
namespace {

using Work = std::function<void(bool)>;

// The caller spins this long for the spare thread to finish its part before
// it sleeps: the spare thread is then in the middle of one piece of work,
// which seldom takes longer, and waking a sleeping thread costs more.
constexpr auto kSpinTime = std::chrono::microseconds(200);

class Spare {
 public:
  // Detached and never destroyed: it may still sleep on its mutex while the
  // process exits.
  static Spare* instance() {
    static Spare* const spare = [] {
      if (std::thread::hardware_concurrency() < 2) return static_cast<Spare*>(nullptr);
      auto* created = new Spare;
      try {
        std::thread([created] { created->serve(); }).detach();
      } catch (const std::system_error&) {
        delete created;
        return static_cast<Spare*>(nullptr);
      }
      return created;
    }();
    return spare;
  }

  // Offers `work` to the spare thread; false when it is sharing another
  // loop (or still has one offered).
  bool offer(const Work& work) {
    std::lock_guard lock(mutex_);
    if (offered_ != nullptr || running_.load() != nullptr) return false;
    offered_ = &work;
    wake_.notify_one();
    return true;
  }

  // Once this returns the spare thread no longer touches `work`: taken
  // back if not picked up yet, otherwise waited for.
  void takeBack(const Work& work) {
    {
      std::lock_guard lock(mutex_);
      if (offered_ == &work) {
        offered_ = nullptr;
        return;
      }
    }
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; running_.load() == &work; ++round) {
      if (round % 16 == 15) {
        if (std::chrono::steady_clock::now() - start > kSpinTime) break;
        std::this_thread::yield();
      }
    }
    std::unique_lock lock(mutex_);
    done_.wait(lock, [&] { return running_.load() != &work; });
  }

 private:
  void serve() {
    leavePollsToInterpreterThread();
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [&] { return offered_ != nullptr; });
      const Work* work = offered_;
      offered_ = nullptr;
      running_.store(work);
      lock.unlock();
      (*work)(true);
      lock.lock();
      running_.store(nullptr);
      done_.notify_all();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable done_;
  const Work* offered_ = nullptr;            // offered, not picked up yet
  std::atomic<const Work*> running_{nullptr};  // picked up, not finished
};

}  // namespace

void shareWithSpareThread(const std::function<void(bool onSpare)>& work) {
  Spare* spare = Spare::instance();
  if (spare == nullptr || !spare->offer(work)) {
    work(false);
    return;
  }
  struct TakeBack {
    Spare& spare;
    const Work& work;
    ~TakeBack() { spare.takeBack(work); }
  } takeBack{*spare, work};
  work(false);
}

}  // namespace tesmora
