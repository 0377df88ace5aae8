#include "values/Scalar.h"

#include <new>

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

// Freed blocks form an intrusive list: each holds the next one's address.
struct FreeBlock {
  FreeBlock* next;
};
static_assert(sizeof(FreeBlock) <= sizeof(Scalar));

FreeBlock* freeBlocks = nullptr;
std::size_t freeCount = 0;
constexpr std::size_t kKeptBlocks = 4096;

}  // namespace

void* Scalar::operator new(std::size_t size) {
  if (kUseFreeList && size == sizeof(Scalar) && freeBlocks) {
    FreeBlock* block = freeBlocks;
    freeBlocks = block->next;
    --freeCount;
    return block;
  }
  return ::operator new(size);
}

void Scalar::operator delete(void* block, std::size_t size) {
  if (kUseFreeList && size == sizeof(Scalar) && freeCount < kKeptBlocks) {
    auto* freed = static_cast<FreeBlock*>(block);
    freed->next = freeBlocks;
    freeBlocks = freed;
    ++freeCount;
    return;
  }
  ::operator delete(block);
}

}  // namespace tesmora
