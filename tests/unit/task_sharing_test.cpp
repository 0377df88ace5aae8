// The helper thread of the blocked elimination: every task of every loop
// runs exactly once, on worker 0 or 1, whether or not a helper is wanted,
// and a loop whose calling-thread task throws still waits for the helper.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

#include "values/TaskSharing.h"

namespace tesmora {
namespace {

TEST(TaskSharing, EveryTaskOnceInEveryLoop) {
  for (bool wanted : {false, true}) {
    TaskSharing sharing(wanted);
    EXPECT_TRUE(sharing.workers() == 1 || (wanted && sharing.workers() == 2));
    for (int count : {0, 1, 2, 7, 64, 1000}) {
      for (int loop = 0; loop < 20; ++loop) {
        std::vector<std::atomic<int>> runs(count);
        std::atomic<int> badWorker{0};
        sharing.run(count, [&](int i, int worker) {
          runs[i].fetch_add(1);
          if (worker < 0 || worker >= sharing.workers()) badWorker = 1;
        });
        int wrong = 0;
        for (auto& r : runs) wrong += r.load() != 1;
        EXPECT_EQ(wrong, 0) << "wanted " << wanted << ", " << count << " tasks";
        EXPECT_EQ(badWorker.load(), 0);
      }
    }
  }
}

TEST(TaskSharing, AThrowingTaskLeavesNoTaskRunning) {
  TaskSharing sharing(true);
  std::atomic<int> running{0};
  bool threw = false;
  std::atomic<bool> callingThreadRan{false};
  try {
    sharing.run(200, [&](int, int worker) {
      running.fetch_add(1);
      volatile double x = 0;
      for (int k = 0; k < 2000; ++k) x = x + k;
      running.fetch_sub(1);
      if (worker == 0) {
        callingThreadRan = true;
        throw std::runtime_error("stop");
      }
    });
  } catch (const std::runtime_error&) {
    threw = true;
  }
  // Unless the helper took every task, the calling thread's first one threw
  // out of run(), and only once no task of the helper was running.
  EXPECT_EQ(threw, callingThreadRan.load());
  EXPECT_EQ(running.load(), 0);
  std::atomic<int> after{0};
  sharing.run(50, [&](int, int) { after.fetch_add(1); });
  EXPECT_EQ(after.load(), 50);
}

}  // namespace
}  // namespace tesmora
