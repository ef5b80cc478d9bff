#include "ui/tooltip_control.h"

namespace vorn {

TooltipControl::TooltipControl(Window& holder) noexcept : holder_(holder) {
  SetClassCode(kWindowClassTooltip);
  SetWrapsPlatformControl(true);
  SetPlatformClass(u"tooltips_class32");
  // A popup with no prefix; a tool window, so it has no taskbar button.
  SetStyle(0x80000002);
  SetExStyle(kExStyleToolWindow);
  SetConstant(static_cast<uint32_t>(Edge::kLeft), 0);
  SetConstant(static_cast<uint32_t>(Edge::kTop), 0);
  SetConstant(static_cast<uint32_t>(Edge::kWidth), 256);
  SetConstant(static_cast<uint32_t>(Edge::kHeight), 32);
  Synchronize();
}

TooltipControl::~TooltipControl() {
  tool_count_ = 0;
}

void TooltipControl::AddTool(Window* tool) noexcept {
  if (tool == nullptr || HasTool(tool) || tool_count_ == kMaxTools) {
    Synchronize();
    return;
  }
  tools_[tool_count_++] = Tool{tool, false};
  Synchronize();
}

void TooltipControl::RemoveTool(Window* tool) noexcept {
  for (uint32_t i = 0; i < tool_count_; ++i) {
    if (tools_[i].window != tool) continue;
    RemovePlatformTool(tools_[i]);
    for (uint32_t j = i + 1; j < tool_count_; ++j) tools_[j - 1] = tools_[j];
    --tool_count_;
    return;
  }
}

bool TooltipControl::HasTool(const Window* tool) const noexcept {
  for (uint32_t i = 0; i < tool_count_; ++i) {
    if (tools_[i].window == tool) return true;
  }
  return false;
}

void TooltipControl::Synchronize() noexcept {
  if (!holder_.Exists()) return;
  if (!Exists() && Create(&holder_) != kOk) return;
  for (uint32_t i = 0; i < tool_count_; ++i) {
    if (!tools_[i].added && tools_[i].window->Exists()) AddPlatformTool(tools_[i]);
  }
}

}  // namespace vorn
