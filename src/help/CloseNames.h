// Names close to one the user typed: for "did you mean" lists of the
// runner's --doc and the help browser.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tesmora::help {

// Edit distance of two byte strings: insertions, deletions, substitutions
// and swaps of two neighbours, each 1.
std::size_t editDistance(std::string_view a, std::string_view b);

// Up to `limit` of `names` closest to `wanted`, best first: names that
// differ only in letter case, then names that begin with `wanted` (or that
// `wanted` begins with), then names within an edit distance of about a third
// of the length; ties in name order.
std::vector<std::string> closeNames(std::string_view wanted,
                                    const std::vector<std::string>& names,
                                    std::size_t limit = 8);

}  // namespace tesmora::help
