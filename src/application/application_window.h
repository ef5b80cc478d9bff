// The application's main window as the application core sees it. The window
// toolkit implements it; the core only creates, shows, updates and feeds it.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

class ApplicationWindow {
 public:
  virtual ~ApplicationWindow() = default;

  // The system window behind the object (a window handle on Windows).
  virtual bool HasSystemWindow() const noexcept = 0;
  virtual void* SystemHandle() const noexcept = 0;
  virtual Result CreateSystemWindow() noexcept = 0;
  virtual void DestroySystemWindow() noexcept = 0;
  // Whether the window's description asks for a maximised window.
  virtual bool IsMaximized() const noexcept = 0;

  virtual void UpdateFrame(float frame_time) noexcept = 0;
  virtual bool IsIdle() noexcept = 0;
  // Offers a queued platform message (a MSG on Windows) to the framework
  // windows from its target up through the parents; true when one of them
  // consumed it and it must not be dispatched.
  virtual bool PreTranslateMessage(void* message) noexcept = 0;
  // The application has started (the window is shown unless quiet).
  virtual void ApplicationStarted() noexcept = 0;
  // Files given on the command line; true when the window handled them.
  virtual bool OpenFiles(const String* files, uint32_t count) noexcept = 0;
};

}  // namespace vorn
