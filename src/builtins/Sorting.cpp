#include "builtins/Sorting.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <iterator>
#include <string_view>

#include "interp/Cancellation.h"

namespace tesmora {
namespace {

// True when a goes before b; NaN is after every number and equal to NaN.
bool numberBefore(double a, double b, SortOrder order) {
  if (std::isnan(a)) return false;
  if (std::isnan(b)) return true;
  return order == SortOrder::kAscending ? a < b : a > b;
}

// Sorting numbers by their bits: the bits of a double, with the sign bit
// flipped for positive numbers and every bit flipped for negative ones,
// order as unsigned integers exactly as the numbers do (−0 before +0, which
// compare equal anyway). Descending order flips every bit once more.
std::uint64_t orderedKey(double x, bool descending) {
  std::uint64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  const std::uint64_t key = bits >> 63 ? ~bits : bits | (std::uint64_t{1} << 63);
  return descending ? ~key : key;
}

constexpr int kTopShift = 56;
// Below this many keys a comparison sort beats another radix pass.
constexpr std::size_t kRadixCutoff = 256;
// Stretches at least this long poll for a stop request.
constexpr std::size_t kPollFrom = 1 << 16;

double numberOfKey(std::uint64_t key, bool descending) {
  if (descending) key = ~key;
  const std::uint64_t bits = key >> 63 ? key & ~(std::uint64_t{1} << 63) : ~key;
  double x;
  std::memcpy(&x, &bits, sizeof x);
  return x;
}

// In-place most-significant-digit radix sort (American flag sort): the
// keys are distributed by the byte at `shift` into 256 buckets by
// swapping, then each bucket is sorted by the next byte. About one pass
// per leading byte in practice, n·log n at worst, and no memory beyond the
// counts.
void radixSort(std::uint64_t* keys, std::size_t n, int shift) {
  if (n < kRadixCutoff || shift < 0) {
    std::sort(keys, keys + n);
    return;
  }
  if (n >= kPollFrom) pollStop();
  std::size_t count[256] = {};
  for (std::size_t i = 0; i < n; ++i) ++count[(keys[i] >> shift) & 0xFF];
  // One bucket holds everything: go straight to the next byte.
  if (std::find(std::begin(count), std::end(count), n) != std::end(count)) {
    radixSort(keys, n, shift - 8);
    return;
  }
  std::size_t next[256], end[256];
  std::size_t sum = 0;
  for (int b = 0; b < 256; ++b) {
    next[b] = sum;
    sum += count[b];
    end[b] = sum;
  }
  for (int b = 0; b < 256; ++b) {
    while (next[b] < end[b]) {
      std::uint64_t key = keys[next[b]];
      auto digit = (key >> shift) & 0xFF;
      while (digit != static_cast<std::uint64_t>(b)) {
        std::swap(key, keys[next[digit]++]);
        digit = (key >> shift) & 0xFF;
      }
      keys[next[b]++] = key;
    }
  }
  std::size_t from = 0;
  for (int b = 0; b < 256; ++b) {
    if (count[b] > 1) radixSort(keys + from, count[b], shift - 8);
    from += count[b];
  }
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
  // NaN goes last in either order; the rest is sorted as integer keys.
  const auto numbers = std::partition(values.begin(), values.end(),
                                      [](double x) { return !std::isnan(x); });
  const std::size_t n = static_cast<std::size_t>(numbers - values.begin());
  if (n == 0) return;  // an empty matrix may hold no storage at all
  const bool down = order == SortOrder::kDescending;
  // The keys take the place of the numbers in the same memory, so sorting
  // needs no second array. The byte copies in place make the storage hold
  // integers for the sort and numbers again afterwards.
  double* data = values.data();
  for (std::size_t i = 0; i < n; ++i) {
    double x;
    std::memcpy(&x, data + i, sizeof x);
    const std::uint64_t key = orderedKey(x, down);
    std::memcpy(data + i, &key, sizeof key);
  }
  std::memmove(data, data, n * sizeof(double));
  radixSort(std::launder(reinterpret_cast<std::uint64_t*>(data)), n, kTopShift);
  for (std::size_t i = 0; i < n; ++i) {
    std::uint64_t key;
    std::memcpy(&key, data + i, sizeof key);
    const double x = numberOfKey(key, down);
    std::memcpy(data + i, &x, sizeof x);
  }
  std::memmove(data, data, n * sizeof(double));
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
