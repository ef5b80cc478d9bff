// Finds the package an installer executable carries: resource RCDATA 4096,
// the one FindResourceW(NULL, MAKEINTRESOURCE(4096), RT_RCDATA) returns.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/result.h"

namespace vornpack {

using vorn::Result;

// True when the bytes begin like a Windows executable ("MZ").
bool LooksLikeExecutable(const uint8_t* data, uint64_t size);

// The file offset and size of RCDATA 4096 (its first language). An
// executable without one gives 29; a damaged image 33.
Result LocatePackageResource(const uint8_t* file, uint64_t size, uint64_t& offset, uint64_t& length,
                             std::string& error);

}  // namespace vornpack
