// Random choices without replacement. The expected positions were worked
// out by hand-run reference code of the generator (x ← 214013·x + 2531011
// mod 2^32, bits 16..30) and the two drawing rules, so a change in the
// number or order of generator calls shows here.
#include "builtins/Sampling.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "values/Random.h"

namespace tesmora {
namespace {

struct DrawCase {
  const char* what;
  unsigned seed;
  int population;
  int size;
  std::vector<int> expected;
};

TEST(Sampling, DrawsFollowTheGeneratorExactly) {
  const DrawCase cases[] = {
      {"whole population: by rank among the available", 1, 5, 5, {1, 4, 2, 0, 3}},
      {"more than half: by rank", 42, 10, 6, {5, 4, 7, 8, 3, 9}},
      {"at most half: retried until free", 1, 10, 3, {1, 7, 4}},
      {"large population: 30-bit numbers", 1, 40000, 3, {1955, 19012, 25516}},
      {"empty sample", 1, 10, 0, {}},
  };
  for (const DrawCase& c : cases) {
    seedRandom(c.seed);
    EXPECT_EQ(drawWithoutReplacement(c.population, c.size), c.expected) << c.what;
  }
}

TEST(Sampling, RandomBelowUsesOneNumberUpTo32768AndTwoAbove) {
  seedRandom(5);
  std::vector<double> small, large;
  for (int i = 0; i < 5; ++i) small.push_back(randomBelow(6));
  for (int i = 0; i < 3; ++i) large.push_back(randomBelow(100000));
  EXPECT_EQ(small, (std::vector<double>{0, 1, 3, 5, 0}));
  EXPECT_EQ(large, (std::vector<double>{22167, 49904, 52634}));
}

// Half of a population far beyond the generator's 32768 numbers: the
// retrying rule must still find free positions (one number alone could
// never reach the upper part and would retry forever).
TEST(Sampling, LargePopulationsAreDrawnWhole) {
  seedRandom(9);
  const int population = 100000;
  for (const int size : {population / 2, population}) {
    std::vector<int> drawn = drawWithoutReplacement(population, size);
    ASSERT_EQ(static_cast<int>(drawn.size()), size);
    std::sort(drawn.begin(), drawn.end());
    EXPECT_EQ(std::adjacent_find(drawn.begin(), drawn.end()), drawn.end()) << size;
    EXPECT_GE(drawn.front(), 0);
    EXPECT_LT(drawn.back(), population);
    EXPECT_GT(drawn.back(), 32768) << "the upper part is reachable";
  }
}

}  // namespace
}  // namespace tesmora
