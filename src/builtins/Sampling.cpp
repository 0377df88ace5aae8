#include "builtins/Sampling.h"

#include <cmath>

#include "interp/Cancellation.h"
#include "values/Random.h"

namespace tesmora {
namespace {

constexpr double kGeneratorRange = 32768;  // nextRandom() gives 0..32767
// Draws between two looks for a stop: millions of draws take a while.
constexpr int kDrawsPerPoll = 4096;

// The available positions as a Fenwick tree of 0/1 marks, so that finding
// the k-th available one and taking it away cost log n each: the walk
// over the still available positions stays fast for large populations.
class AvailablePositions {
 public:
  explicit AvailablePositions(int count) : tree_(count + 1, 0) {
    for (int i = 1; i <= count; ++i) {
      tree_[i] += 1;
      const int parent = i + (i & -i);
      if (parent <= count) tree_[parent] += tree_[i];
    }
    highestBit_ = 1;
    while (highestBit_ * 2 <= count) highestBit_ *= 2;
  }

  // The 0-based position of the (k + 1)-th available one, k < available.
  int nth(int k) const {
    int position = 0;
    int remaining = k + 1;
    const int count = static_cast<int>(tree_.size()) - 1;
    for (int step = highestBit_; step > 0; step /= 2) {
      const int next = position + step;
      if (next <= count && tree_[next] < remaining) {
        position = next;
        remaining -= tree_[next];
      }
    }
    return position;  // the 1-based index position + 1, made 0-based
  }

  void take(int position) {
    const int count = static_cast<int>(tree_.size()) - 1;
    for (int i = position + 1; i <= count; i += i & -i) tree_[i] -= 1;
  }

 private:
  std::vector<int> tree_;
  int highestBit_;
};

std::vector<int> drawByRank(int population, int size) {
  AvailablePositions available(population);
  std::vector<int> drawn;
  drawn.reserve(size);
  for (int left = population; static_cast<int>(drawn.size()) < size; --left) {
    if (drawn.size() % kDrawsPerPoll == 0) pollStop();
    const int position = available.nth(static_cast<int>(randomBelow(left)));
    available.take(position);
    drawn.push_back(position);
  }
  return drawn;
}

std::vector<int> drawByRetrying(int population, int size) {
  std::vector<bool> taken(population, false);
  std::vector<int> drawn;
  drawn.reserve(size);
  while (static_cast<int>(drawn.size()) < size) {
    if (drawn.size() % kDrawsPerPoll == 0) pollStop();
    int position;
    do {
      position = static_cast<int>(randomBelow(population));
    } while (taken[position]);
    taken[position] = true;
    drawn.push_back(position);
  }
  return drawn;
}

}  // namespace

double randomBelow(double bound) {
  double number = nextRandom();
  if (!(bound <= kGeneratorRange)) number = number * kGeneratorRange + nextRandom();
  return std::fmod(number, bound);
}

std::vector<int> drawWithoutReplacement(int population, int size) {
  if (size > population / 2) return drawByRank(population, size);
  return drawByRetrying(population, size);
}

}  // namespace tesmora
