// The process-wide table from platform window handles to window objects,
// sorted by handle, made with its first entry and freed with its last. A
// single slot holds the window being created, so that the first messages of
// a new platform window, which arrive before its creation call returns, find
// their object. Used from the user-interface thread only.
#pragma once

#include <cstdint>

#include "foundation/result.h"

namespace vorn {

class Window;

class WindowRegistry {
 public:
  static Result Add(void* handle, Window* window) noexcept;  // 12 out of memory
  static void Remove(void* handle) noexcept;
  static Window* Find(void* handle) noexcept;
  static uint32_t Count() noexcept;

  static void SetBeingCreated(Window* window) noexcept;
  // Takes the window out of the slot (null when empty).
  static Window* TakeBeingCreated() noexcept;
  static Window* BeingCreated() noexcept;
};

}  // namespace vorn
