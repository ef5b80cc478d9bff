#include "package/sdk_allocator.h"

#include <cstdlib>

namespace vorn {

namespace {

void* Allocate(ISzAllocPtr, size_t size) {
  return std::malloc(size);
}
void Free(ISzAllocPtr, void* address) {
  std::free(address);
}

}  // namespace

const ISzAlloc kSdkAllocator = {Allocate, Free};

}  // namespace vorn
