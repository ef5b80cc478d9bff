// What the tool asks of the system besides files: how many processors to
// compress on, a clock for throughput, and environment variables.
#pragma once

#include <cstdint>
#include <string>

namespace vornpack {

uint32_t ProcessorCount();
// Seconds from an arbitrary start, never going back.
double MonotonicSeconds();
// The variable's value as UTF-8; `found` false when it is not set.
std::string EnvironmentVariable(const char* name, bool& found);

}  // namespace vornpack
