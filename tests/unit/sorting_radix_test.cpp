// sortNumbers sorts by the bits of the numbers, byte by byte: it must give
// exactly the order of a comparison sort for every kind of double — signs,
// zeros, infinities, subnormals, long runs of equal values, keys that share
// their leading bytes — in both orders, with NaN last.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "builtins/Sorting.h"

namespace tesmora {
namespace {

std::vector<double> sample(int kind, std::size_t n, std::mt19937_64& random) {
  std::uniform_real_distribution<double> unit(-1, 1);
  std::vector<double> v(n);
  for (std::size_t i = 0; i < n; ++i) {
    switch (kind) {
      case 0: v[i] = unit(random); break;                                // spread
      case 1: v[i] = std::floor(unit(random) * 3); break;                // few values
      case 2: v[i] = 1 + unit(random) * 1e-12; break;                    // shared leading bytes
      case 3: v[i] = std::ldexp(unit(random), int(random() % 2100) - 1074); break;  // all exponents
      default: {
        const double special[] = {0.0, -0.0, INFINITY, -INFINITY,
                                  std::numeric_limits<double>::denorm_min(),
                                  -std::numeric_limits<double>::max(), NAN};
        v[i] = special[random() % 7];
      }
    }
  }
  return v;
}

TEST(RadixSort, MatchesAComparisonSort) {
  std::mt19937_64 random(7);
  for (int kind = 0; kind < 5; ++kind) {
    for (std::size_t n : {0u, 1u, 255u, 256u, 5000u, 60000u}) {
      for (SortOrder order : {SortOrder::kAscending, SortOrder::kDescending}) {
        std::vector<double> v = sample(kind, n, random);
        std::vector<double> expected = v;
        const auto numbers = std::partition(expected.begin(), expected.end(),
                                            [](double x) { return !std::isnan(x); });
        if (order == SortOrder::kAscending) std::sort(expected.begin(), numbers);
        else std::sort(expected.begin(), numbers, std::greater<>());
        sortNumbers(v, order);
        ASSERT_EQ(v.size(), expected.size());
        for (std::size_t i = 0; i < v.size(); ++i) {
          // Equal keys may come in any order: −0 and +0 compare equal.
          const bool same = v[i] == expected[i] || (std::isnan(v[i]) && std::isnan(expected[i]));
          ASSERT_TRUE(same) << "kind " << kind << ", n " << n << ", at " << i;
        }
      }
    }
  }
}

}  // namespace
}  // namespace tesmora
