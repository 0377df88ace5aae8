// A second thread for a series of loops whose iterations are independent:
// the blocked elimination shares each block's column tiles with it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace tesmora {

class TaskSharing {
 public:
  // With `wanted` false, or on a machine with one core, or when no thread
  // can be had, every loop runs on the calling thread alone.
  explicit TaskSharing(bool wanted);
  // Stops and joins the helper; no loop is running then (run() returns
  // only when its loop is done, also when the body throws).
  ~TaskSharing();
  TaskSharing(const TaskSharing&) = delete;
  TaskSharing& operator=(const TaskSharing&) = delete;

  // 1, or 2 with a helper: the `worker` numbers a body may see.
  int workers() const { return helper_.joinable() ? 2 : 1; }

  // body(i, worker) for every i < count, shared between the calling thread
  // (worker 0) and the helper (worker 1); returns when all are done. The
  // body must not throw on the helper. On a machine busy with other work
  // the helper may lose its core in the middle of a task, and the calling
  // thread then waits for it: after a few such long waits, the calling
  // thread takes every later loop alone.
  void run(int count, const std::function<void(int, int)>& body);

 private:
  void helperLoop();
  void takeTasks(int worker);
  void waitForHelper();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable done_;
  const std::function<void(int, int)>* body_ = nullptr;
  int count_ = 0;
  std::atomic<int> next_{0};
  std::atomic<long> generation_{0};  // loops handed out so far
  std::atomic<bool> helperBusy_{false};
  std::atomic<bool> quit_{false};
  int longWaits_ = 0;
  std::thread helper_;
};

}  // namespace tesmora
