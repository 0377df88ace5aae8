// Key-array sorting for sort and dsort: every row (or element) gets its key
// once, the (position, key) pairs are sorted in n·log n, and the caller
// builds the result in one pass over the returned order. The sort is not
// stable: equal keys may come out in any relative order.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace tesmora {

enum class SortOrder { kAscending, kDescending };

struct NumberKey {
  int position;
  double key;
};

struct TextKey {
  int position;
  const std::string* key;  // borrowed from the value being sorted
};

// Numbers in place. A number that is not a number (NaN) goes last in
// either order, so the comparison stays a strict ordering whatever comes.
void sortNumbers(std::span<double> values, SortOrder order);

// The positions of the keys, taken in key order.
std::vector<int> orderByNumbers(std::vector<NumberKey> keys, SortOrder order);

// The positions of the keys in ascending byte order of their texts.
std::vector<int> orderByTexts(std::vector<TextKey> keys);

}  // namespace tesmora
