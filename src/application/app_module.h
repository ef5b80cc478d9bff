// AppModule: one part of a program that the frame loop drives. Modules are
// static singletons; the application core links them but never owns them.
#pragma once

#include "foundation/result.h"

namespace vorn {

class AppModule {
 public:
  virtual ~AppModule() = default;
  // Called once at registration; a failure makes the program quit with 0.
  virtual Result Initialize() noexcept = 0;
  // Whether the module has nothing to do until the next message.
  virtual bool IsIdle() noexcept = 0;
  // Once per frame; a failure ends the frame loop with that result.
  virtual Result Update(float frame_time) noexcept = 0;
  // Once, when the loop has ended (newest module first).
  virtual void Shutdown() noexcept = 0;
  // Kept for modules outside the framework; the framework's own do nothing.
  virtual void Reserved() noexcept {}

  // The core's singly linked list, newest first.
  AppModule* next_module = nullptr;
};

}  // namespace vorn
