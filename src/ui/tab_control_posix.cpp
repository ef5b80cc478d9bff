// The tab control without a window system: the page list and selection.
#include "ui/tab_control.h"

namespace vorn {

Result TabControl::OnCreated() noexcept {
  return kOk;
}
void TabControl::AddTab(uint32_t) noexcept {}
void TabControl::PlacePage(uint32_t) noexcept {}
void TabControl::ShowPage(int32_t index, bool) noexcept {
  if (index >= 0 && static_cast<uint32_t>(index) < count_) selected_ = index;
}
void TabControl::Select(int32_t index, bool focus) noexcept {
  ShowPage(index, focus);
}
void TabControl::OnDestroying() noexcept {}
void TabControl::FreeThemedBackground() noexcept {}
void* TabControl::BackgroundBrush() noexcept {
  return TextControl::BackgroundBrush();
}
bool TabControl::HandleMessage(WindowMessage& message) noexcept {
  return TextControl::HandleMessage(message);
}

}  // namespace vorn
