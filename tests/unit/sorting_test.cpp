// The key-array sort behind sort and dsort: orders that scripts cannot
// easily reach (numbers that are not numbers, large inputs with many equal
// keys, texts with bytes above 127).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "builtins/Sorting.h"

namespace tesmora {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(Sorting, NotANumberGoesLastInBothOrders) {
  for (const SortOrder order : {SortOrder::kAscending, SortOrder::kDescending}) {
    std::vector<double> values{kNaN, 3, kNaN, -1, 2, kNaN};
    sortNumbers(values, order);
    const bool up = order == SortOrder::kAscending;
    EXPECT_EQ(values[0], up ? -1 : 3);
    EXPECT_EQ(values[1], 2);
    EXPECT_EQ(values[2], up ? 3 : -1);
    for (int i = 3; i < 6; ++i) EXPECT_TRUE(std::isnan(values[i])) << i;
  }
}

TEST(Sorting, ManyEqualKeysGiveAPermutationInKeyOrder) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> smallKey(0, 9);
  std::vector<NumberKey> keys;
  std::vector<double> keyOf;
  for (int i = 0; i < 20000; ++i) {
    const double key = i % 97 == 0 ? kNaN : smallKey(random);
    keys.push_back({i, key});
    keyOf.push_back(key);
  }
  const std::vector<int> order = orderByNumbers(keys, SortOrder::kDescending);

  std::vector<int> seen = order;
  std::sort(seen.begin(), seen.end());
  for (int i = 0; i < static_cast<int>(seen.size()); ++i) ASSERT_EQ(seen[i], i);

  bool inNaNs = false;
  for (std::size_t i = 1; i < order.size(); ++i) {
    const double before = keyOf[order[i - 1]];
    const double after = keyOf[order[i]];
    if (std::isnan(before)) inNaNs = true;
    if (inNaNs) {
      ASSERT_TRUE(std::isnan(after)) << "a number after NaN at " << i;
    } else if (!std::isnan(after)) {
      ASSERT_GE(before, after) << i;
    }
  }
}

TEST(Sorting, TextsGoInUnsignedByteOrder) {
  // Windows-1251 letters lie above 127 and must follow every Latin letter.
  const std::vector<std::string> texts{"\xE0", "b", "B", "", "a\xFF", "ab", "a"};
  std::vector<TextKey> keys;
  for (int i = 0; i < static_cast<int>(texts.size()); ++i) keys.push_back({i, &texts[i]});
  std::vector<std::string> sorted;
  for (const int position : orderByTexts(keys)) sorted.push_back(texts[position]);
  EXPECT_EQ(sorted, (std::vector<std::string>{"", "B", "a", "ab", "a\xFF", "b", "\xE0"}));
}

}  // namespace
}  // namespace tesmora
