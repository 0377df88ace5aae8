#include "values/Scalar.h"

#include <new>
#include <vector>

namespace tesmora {
namespace {

// Freed numbers wait here to be reused. Sanitizer builds bypass the list
// so that use-after-free of a number is still caught.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUseFreeList = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kUseFreeList = false;
#else
constexpr bool kUseFreeList = true;
#endif
#else
constexpr bool kUseFreeList = true;
#endif

struct FreeList {
  std::vector<void*> blocks;
  ~FreeList() {
    for (void* block : blocks) ::operator delete(block);
  }
};

FreeList& freeList() {
  static FreeList list;
  return list;
}

constexpr std::size_t kKeptBlocks = 4096;

}  // namespace

void* Scalar::operator new(std::size_t size) {
  if (kUseFreeList && size == sizeof(Scalar)) {
    auto& blocks = freeList().blocks;
    if (!blocks.empty()) {
      void* block = blocks.back();
      blocks.pop_back();
      return block;
    }
  }
  return ::operator new(size);
}

void Scalar::operator delete(void* block, std::size_t size) {
  if (kUseFreeList && size == sizeof(Scalar)) {
    auto& blocks = freeList().blocks;
    if (blocks.size() < kKeptBlocks) {
      if (blocks.capacity() == 0) blocks.reserve(kKeptBlocks);
      blocks.push_back(block);
      return;
    }
  }
  ::operator delete(block);
}

}  // namespace tesmora
