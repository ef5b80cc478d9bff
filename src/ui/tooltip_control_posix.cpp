#include "ui/tooltip_control.h"

namespace vorn {

Result TooltipControl::OnCreated() noexcept {
  return kOk;
}

void TooltipControl::AddPlatformTool(Tool& tool) noexcept {
  tool.added = true;
}

void TooltipControl::RemovePlatformTool(Tool& tool) noexcept {
  tool.added = false;
}

}  // namespace vorn
