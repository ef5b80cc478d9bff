// The windows waiting to be laid out because a window they depend on moved.
// Chains of references (each window placed below the previous one) are
// worked off one after another instead of by recursion, so a long chain
// costs no stack; a window laid out too often in one round (references in
// a circle) is not queued again in that round.
#pragma once

#include <cstdint>

namespace vorn {

class Window;

class WindowLayoutQueue {
 public:
  // Lays out `window`, then everything queued meanwhile.
  static void Run(Window& window) noexcept;
  static void Enqueue(Window& window) noexcept;
  // A window being deleted leaves the queue.
  static void Forget(Window* window) noexcept;

  static constexpr uint32_t kMaxVisitsPerRound = 16;
};

}  // namespace vorn
