#include "builtins/Sorting.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace tesmora {
namespace {

// True when a goes before b; NaN is after every number and equal to NaN.
bool numberBefore(double a, double b, SortOrder order) {
  if (std::isnan(a)) return false;
  if (std::isnan(b)) return true;
  return order == SortOrder::kAscending ? a < b : a > b;
}

template <class Key>
std::vector<int> positionsOf(const std::vector<Key>& keys) {
  std::vector<int> order;
  order.reserve(keys.size());
  for (const Key& key : keys) order.push_back(key.position);
  return order;
}

}  // namespace

void sortNumbers(std::span<double> values, SortOrder order) {
  std::sort(values.begin(), values.end(),
            [order](double a, double b) { return numberBefore(a, b, order); });
}

std::vector<int> orderByNumbers(std::vector<NumberKey> keys, SortOrder order) {
  std::sort(keys.begin(), keys.end(), [order](const NumberKey& a, const NumberKey& b) {
    return numberBefore(a.key, b.key, order);
  });
  return positionsOf(keys);
}

std::vector<int> orderByTexts(std::vector<TextKey> keys) {
  // Byte order: string_view compares as unsigned bytes, like memcmp.
  std::sort(keys.begin(), keys.end(), [](const TextKey& a, const TextKey& b) {
    return std::string_view(*a.key) < std::string_view(*b.key);
  });
  return positionsOf(keys);
}

}  // namespace tesmora
