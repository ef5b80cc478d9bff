// MainWindow: a toolkit window that is the application's main window. It
// is what the application core creates, shows and feeds each frame, what
// the crash report is owned by, and what a second instance finds by its
// class name (the application's name + "::Window"). Destroying its platform
// window ends the frame loop with the application's exit code.
#pragma once

#include "application/application_window.h"
#include "ui/window.h"

namespace vorn {

class MainWindow : public Window, public ApplicationWindow {
 public:
  MainWindow() noexcept = default;
  // Leaves the application core without a main window if it was this one.
  ~MainWindow() override;

  // Makes this the application core's main window.
  void MakeApplicationMainWindow() noexcept;

  // ApplicationWindow
  bool HasSystemWindow() const noexcept override { return Exists(); }
  void* SystemHandle() const noexcept override { return Handle(); }
  Result CreateSystemWindow() noexcept override { return Create(nullptr); }
  void DestroySystemWindow() noexcept override { Destroy(); }
  bool IsMaximized() const noexcept override { return StartMaximized(); }
  void UpdateFrame(float frame_time) noexcept override;
  // Idle unless a subclass has work between messages (an animation).
  bool IsIdle() noexcept override { return true; }
  bool PreTranslateMessage(void* message) noexcept override;
  void ApplicationStarted() noexcept override { Window::ApplicationStarted(); }
  bool OpenFiles(const String* files, uint32_t count) noexcept override {
    return Window::OpenFiles(files, count);
  }

 protected:
  void OnFinalDestroy() noexcept override;
};

// Offers a queued platform message to the toolkit windows from its target
// up through the parents; true when one consumed it. What the frame loop
// and modal loops call before dispatching.
bool PreTranslateWindowMessage(void* platform_message) noexcept;

}  // namespace vorn
