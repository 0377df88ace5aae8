// The interpreter thread: deep recursion of user programs needs far more
// stack than a main thread has.
#include <gtest/gtest.h>

#include <stdexcept>

#include "interp/LargeStack.h"

namespace tesmora {
namespace {

// About 600 bytes of stack per level; the frame is read after the call,
// so the compiler cannot turn the recursion into a loop.
int descend(int depth) {
  volatile char frame[512];
  frame[0] = static_cast<char>(depth);
  if (depth == 0) return 0;
  const int below = descend(depth - 1);
  return below + (frame[0] == static_cast<char>(depth) ? 1 : 0);
}

TEST(LargeStack, RunsRecursionFarDeeperThanAMainThreadAllows) {
  constexpr int kDepth = 150000;  // some 90 MiB, ten times a main thread
  EXPECT_EQ(runOnLargeStack([] { return descend(kDepth); }), kDepth);
}

TEST(LargeStack, PassesResultsAndExceptionsBack) {
  EXPECT_EQ(runOnLargeStack([] { return 7; }), 7);
  EXPECT_THROW(runOnLargeStack([]() -> int { throw std::runtime_error("x"); }),
               std::runtime_error);
}

}  // namespace
}  // namespace tesmora
