// The spare thread shares a loop with its caller: every piece runs once
// whoever takes it, the caller returns only when the spare thread has left
// the loop (also when the caller's part throws), and a loop offered while
// the spare thread is busy, or by the spare thread itself, runs on the
// caller alone.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "values/SpareThread.h"

namespace tesmora {
namespace {

// `count` pieces taken from one counter by both threads; how many each
// piece ran.
std::vector<int> sharedPieces(int count, int piecesBeforeThrow = -1) {
  std::vector<std::atomic<int>> visits(count);
  std::atomic<int> next{0};
  shareWithSpareThread([&](bool onSpare) {
    for (int i; (i = next.fetch_add(1)) < count;) {
      if (!onSpare && i == piecesBeforeThrow) {
        next = count;
        throw std::runtime_error("stop");
      }
      visits[i].fetch_add(1);
    }
  });
  return {visits.begin(), visits.end()};
}

TEST(SpareThread, EveryPieceOnceInEveryLoop) {
  for (int count : {0, 1, 2, 7, 1000, 100000}) {
    for (int loop = 0; loop < 20; ++loop) {
      const std::vector<int> visits = sharedPieces(count);
      int wrong = 0;
      for (int v : visits) wrong += v != 1;
      ASSERT_EQ(wrong, 0) << count << " pieces, loop " << loop;
    }
  }
}

TEST(SpareThread, AThrowIsRethrownOnceTheSpareHasLeft) {
  for (int loop = 0; loop < 50; ++loop) {
    std::atomic<int> inside{0};
    std::atomic<int> next{0};
    bool leftBeforeReturn = false;
    try {
      shareWithSpareThread([&](bool onSpare) {
        if (onSpare) {
          inside = 1;
          while (next.load() < 1000) std::this_thread::yield();
          inside = 0;
          return;
        }
        next = 1000;
        throw std::runtime_error("stop");
      });
    } catch (const std::runtime_error&) {
      leftBeforeReturn = inside.load() == 0;
    }
    ASSERT_TRUE(leftBeforeReturn) << "loop " << loop;
  }
}

TEST(SpareThread, LoopsOfferedWhileItIsBusyRunOnTheirCaller) {
  // From the spare thread itself, and from two callers at once.
  std::atomic<int> innerPieces{0};
  shareWithSpareThread([&](bool onSpare) {
    if (!onSpare) return;
    shareWithSpareThread([&](bool innerOnSpare) {
      EXPECT_FALSE(innerOnSpare);
      innerPieces.fetch_add(1);
    });
  });
  EXPECT_LE(innerPieces.load(), 1);
  std::vector<int> first, second;
  std::thread other([&] { first = sharedPieces(50000); });
  second = sharedPieces(50000);
  other.join();
  int wrong = 0;
  for (int v : first) wrong += v != 1;
  for (int v : second) wrong += v != 1;
  EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace tesmora
