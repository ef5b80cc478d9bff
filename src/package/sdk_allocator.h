// The allocator handed to the LZMA SDK's coders: plain malloc and free, so
// that a failed allocation comes back to us as the SDK's memory error.
#pragma once

#include "lzmasdk/7zTypes.h"

namespace vorn {

extern const ISzAlloc kSdkAllocator;

}  // namespace vorn
