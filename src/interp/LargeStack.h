// User programs may recurse deeply (user functions call themselves through
// the evaluator), far beyond the 8 MiB of a main thread. Every run therefore
// executes on a thread of its own with a large stack; the memory is reserved,
// not committed, until it is used.
#pragma once

#include <cstddef>
#include <functional>

namespace tesmora {

inline constexpr std::size_t kInterpreterStackBytes = std::size_t{512} << 20;

// Runs `body` on a new thread with a stack of `stackBytes` (smaller ones
// are tried when the system refuses that much) and returns its result. An
// exception thrown by `body` is rethrown in the caller.
int runOnLargeStack(const std::function<int()>& body,
                    std::size_t stackBytes = kInterpreterStackBytes);

}  // namespace tesmora
