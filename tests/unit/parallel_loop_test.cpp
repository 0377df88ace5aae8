// The loop shared between threads covers every element once and reports
// the failure a loop in order meets first.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "values/ParallelLoop.h"

namespace tesmora {
namespace {

TEST(ParallelLoop, EveryElementOnceAtEverySize) {
  for (const int count : {0, 1, 255, 257, kParallelElements - 1, kParallelElements,
                          kParallelElements + 1, 100003}) {
    std::vector<std::atomic<int>> visits(count);
    forEachBlock(count, [&](int begin, int end) {
      ASSERT_LE(0, begin);
      ASSERT_LT(begin, end);
      ASSERT_LE(end, count);
      for (int k = begin; k < end; ++k) visits[k].fetch_add(1);
    });
    int wrong = 0;
    for (const auto& v : visits) wrong += v.load() != 1;
    EXPECT_EQ(0, wrong) << "count " << count;
  }
}

// Failing elements in neighbouring blocks run by different threads: the
// later one fails at once, the earlier only at the end of its block.
TEST(ParallelLoop, TheFirstFailingElementIsReported) {
  const int count = 200000;
  const std::vector<std::set<int>> cases = {
      {0},          {count - 1},           {8191, 8192},  {4095, 4096, 70000},
      {150000, 199999}, {40000, 40001, 5}, {12287, 8192},
  };
  for (const auto& failing : cases) {
    for (int round = 0; round < 20; ++round) {
      try {
        forEachBlock(count, [&](int begin, int end) {
          for (int k = begin; k < end; ++k) {
            if (failing.count(k)) throw std::runtime_error(std::to_string(k));
          }
        });
        ADD_FAILURE() << "no failure reported";
      } catch (const std::runtime_error& error) {
        ASSERT_EQ(std::to_string(*failing.begin()), error.what());
      }
    }
  }
}

}  // namespace
}  // namespace tesmora
