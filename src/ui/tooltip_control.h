// The tooltip control that a window makes for its children's tooltips: a
// platform tooltip window owned by that window, with up to 32 tools. The
// text of a tip is asked from the tool's window when the tip is about to
// show, so it always shows the current tooltip.
#pragma once

#include <cstdint>

#include "ui/window.h"

namespace vorn {

class TooltipControl : public Window {
 public:
  static constexpr uint32_t kMaxTools = 32;
  static constexpr int32_t kMaxTipWidth = 512;

  // `holder` is the window whose children the tips belong to; the control
  // is created on screen when the holder already exists.
  explicit TooltipControl(Window& holder) noexcept;
  ~TooltipControl() override;

  // Registrations beyond 32 are ignored; a registered window is not added
  // twice.
  void AddTool(Window* tool) noexcept;
  void RemoveTool(Window* tool) noexcept;
  bool HasTool(const Window* tool) const noexcept;
  uint32_t ToolCount() const noexcept { return tool_count_; }
  // Creates the platform control when the holder exists and adds every tool
  // that has a platform window and is not yet added.
  void Synchronize() noexcept;

 protected:
  Result OnCreated() noexcept override;

 private:
  struct Tool {
    Window* window;
    bool added;
  };
  void AddPlatformTool(Tool& tool) noexcept;
  void RemovePlatformTool(Tool& tool) noexcept;

  Window& holder_;
  Tool tools_[kMaxTools] = {};
  uint32_t tool_count_ = 0;
};

}  // namespace vorn
