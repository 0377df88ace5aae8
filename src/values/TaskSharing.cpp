#include "values/TaskSharing.h"

#include <system_error>

namespace tesmora {

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
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [&] { return quit_ || generation_ != seen; });
    if (quit_) return;
    seen = generation_;
    lock.unlock();
    takeTasks(1);
    lock.lock();
    helperBusy_ = false;
    done_.notify_one();
  }
}

void TaskSharing::run(int count, const std::function<void(int, int)>& body) {
  if (!helper_.joinable()) {
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
      std::unique_lock<std::mutex> lock(sharing.mutex_);
      sharing.done_.wait(lock, [&] { return !sharing.helperBusy_; });
    }
  } waitForHelper{*this};
  takeTasks(0);
}

}  // namespace tesmora
