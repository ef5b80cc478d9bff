// The framework's random generator: one process-wide 32-bit state, seeded
// from the high-resolution counter on first use and stirred with the
// counter's low byte at every draw. Cheap and unpredictable enough for
// sampling decisions; nothing secret depends on it.
#pragma once

#include <cstdint>

namespace vorn {

// One step of the generator from `state` with the counter's low byte.
uint32_t NextRandomState(uint32_t state, uint8_t counter_low_byte) noexcept;

// The next value of the process-wide generator.
uint32_t NextRandom() noexcept;

// The counter the generator reads: the high-resolution counter, or the
// millisecond tick count where there is none.
uint64_t RandomCounter() noexcept;

}  // namespace vorn
