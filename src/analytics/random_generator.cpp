#include "analytics/random_generator.h"

#include "foundation/lock_object.h"

namespace vorn {

uint32_t NextRandomState(uint32_t state, uint8_t counter_low_byte) noexcept {
  state *= 3125u;
  const uint32_t stir =
      static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(counter_low_byte)));
  return ((state << 16) ^ stir) | (((state >> 16) - 1u) & 0xFFFFu);
}

uint32_t NextRandom() noexcept {
  static LockObject lock;
  static bool seeded = false;
  static uint32_t state = 0;
  LockGuard guard(lock);
  if (!seeded) {
    state = static_cast<uint32_t>(RandomCounter());
    seeded = true;
  }
  state = NextRandomState(state, static_cast<uint8_t>(RandomCounter() & 0xFF));
  return state;
}

}  // namespace vorn
