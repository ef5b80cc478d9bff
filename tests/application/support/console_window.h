// A main window without a system window behind it, for whole test programs
// on the framework entry: enough for the message pump, which only needs the
// window to claim one.
#pragma once

#include "application/application_window.h"

class ConsoleWindow : public vorn::ApplicationWindow {
 public:
  bool HasSystemWindow() const noexcept override { return has_window_; }
  void* SystemHandle() const noexcept override { return nullptr; }
  vorn::Result CreateSystemWindow() noexcept override {
    has_window_ = true;
    return vorn::kOk;
  }
  void DestroySystemWindow() noexcept override { has_window_ = false; }
  bool IsMaximized() const noexcept override { return false; }
  void UpdateFrame(float) noexcept override {}
  bool IsIdle() noexcept override { return false; }
  bool PreTranslateMessage(void*) noexcept override { return false; }
  void ApplicationStarted() noexcept override {}
  bool OpenFiles(const vorn::String*, uint32_t) noexcept override { return false; }

 private:
  bool has_window_ = false;
};
