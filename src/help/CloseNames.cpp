#include "help/CloseNames.h"

#include <algorithm>
#include <cctype>
#include <tuple>

namespace tesmora::help {
namespace {

std::string lowered(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// How far a typo may go: one edit for short names, about a third of the
// length for longer ones.
std::size_t allowedDistance(std::string_view wanted) {
  return std::max<std::size_t>(1, wanted.size() / 3);
}

}  // namespace

std::size_t editDistance(std::string_view a, std::string_view b) {
  // Optimal string alignment: the common typo of two swapped neighbours
  // ("sni" for "sin") costs one edit, not two.
  const std::size_t width = b.size() + 1;
  std::vector<std::size_t> d((a.size() + 1) * width);
  const auto at = [&](std::size_t i, std::size_t j) -> std::size_t& { return d[i * width + j]; };
  for (std::size_t i = 0; i <= a.size(); ++i) at(i, 0) = i;
  for (std::size_t j = 0; j <= b.size(); ++j) at(0, j) = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
      at(i, j) = std::min({at(i - 1, j) + 1, at(i, j - 1) + 1, at(i - 1, j - 1) + cost});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        at(i, j) = std::min(at(i, j), at(i - 2, j - 2) + 1);
    }
  }
  return at(a.size(), b.size());
}

std::vector<std::string> closeNames(std::string_view wanted,
                                    const std::vector<std::string>& names,
                                    std::size_t limit) {
  if (wanted.empty()) return {};
  const std::string key = lowered(wanted);
  // (kind, distance, name): kind 0 same letters, 1 prefix, 2 near typo.
  std::vector<std::tuple<int, std::size_t, std::string>> ranked;
  for (const std::string& name : names) {
    if (name == wanted) continue;
    const std::string lower = lowered(name);
    const std::size_t distance = editDistance(key, lower);
    if (lower == key) {
      ranked.emplace_back(0, 0, name);
    } else if (key.size() >= 2 && (startsWith(lower, key) ||
                                  (lower.size() >= 2 && startsWith(key, lower)))) {
      ranked.emplace_back(1, distance, name);
    } else if (distance <= allowedDistance(key)) {
      ranked.emplace_back(2, distance, name);
    }
  }
  std::sort(ranked.begin(), ranked.end());
  ranked.erase(std::unique(ranked.begin(), ranked.end()), ranked.end());
  std::vector<std::string> result;
  for (const auto& [kind, distance, name] : ranked) {
    if (result.size() == limit) break;
    result.push_back(name);
  }
  return result;
}

}  // namespace tesmora::help
