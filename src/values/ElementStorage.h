// The storage of a matrix's elements.
//
// Large tables are where a loop over whole matrices spends its time when
// every fresh page costs a fault: they are laid on 2 MB boundaries and the
// system is asked to back them with huge pages, so that filling 8 MB takes
// four faults rather than two thousand.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>

namespace tesmora {

struct FreeElements {
  void operator()(double* elements) const noexcept { std::free(elements); }
};
using ElementBuffer = std::unique_ptr<double[], FreeElements>;

// Room for `count` numbers (never a null pointer, also for none), set to
// zero when `zeroed`; throws std::bad_alloc when memory runs out.
ElementBuffer allocateElements(std::size_t count, bool zeroed);

// Room for `count` numbers, not cleared, for a buffer kept and reused (the
// laid-out columns of the matrix product): on huge pages from a smaller
// size than a matrix's elements, since the rounding up is paid once and a
// fresh page costs a fault on first use.
ElementBuffer allocateReusedElements(std::size_t count);

}  // namespace tesmora
