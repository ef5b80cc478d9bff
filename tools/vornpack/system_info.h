// What the tool asks of the system besides files: how many processors to
// compress on, a clock for throughput, and environment variables.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/guid.h"

namespace vornpack {

uint32_t ProcessorCount();
// Seconds from an arbitrary start, never going back.
double MonotonicSeconds();
// A new random identifier (version 4); false when the system gave no
// random bytes.
bool NewRandomGuid(vorn::Guid& guid);
// The running program's own file (empty when the system cannot tell).
std::u16string ExecutablePath();
// The variable's value as UTF-8; `found` false when it is not set.
std::string EnvironmentVariable(const char* name, bool& found);

}  // namespace vornpack
