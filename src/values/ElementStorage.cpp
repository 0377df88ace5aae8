#include "values/ElementStorage.h"

#include <cstring>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace tesmora {
namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;
// From here on the faults of fresh pages outweigh the rounding up.
constexpr std::size_t kHugeTableBytes = std::size_t(4) << 20;
// For a buffer that is kept: a 300×300 product's columns (720 KB) fill
// 176 pages, whose first touch costs more than the product itself on some
// virtual machines.
constexpr std::size_t kHugeReusedBytes = std::size_t(512) << 10;

double* allocateHuge(std::size_t bytes) {
  const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  void* memory = std::aligned_alloc(kHugePage, rounded);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  // Only advice: where huge pages are off, ordinary pages serve.
  if (memory != nullptr) madvise(memory, rounded, MADV_HUGEPAGE);
#endif
  return static_cast<double*>(memory);
}

}  // namespace

ElementBuffer allocateElements(std::size_t count, bool zeroed) {
  const std::size_t bytes = count == 0 ? sizeof(double) : count * sizeof(double);
  double* elements = nullptr;
  if (bytes >= kHugeTableBytes) {
    elements = allocateHuge(bytes);
    if (elements != nullptr && zeroed) std::memset(elements, 0, bytes);
  } else {
    elements = static_cast<double*>(zeroed ? std::calloc(1, bytes) : std::malloc(bytes));
  }
  if (elements == nullptr) throw std::bad_alloc();
  return ElementBuffer(elements);
}

ElementBuffer allocateReusedElements(std::size_t count) {
  const std::size_t bytes = count == 0 ? sizeof(double) : count * sizeof(double);
  double* elements = bytes >= kHugeReusedBytes ? allocateHuge(bytes)
                                                : static_cast<double*>(std::malloc(bytes));
  if (elements == nullptr) throw std::bad_alloc();
  return ElementBuffer(elements);
}

}  // namespace tesmora
