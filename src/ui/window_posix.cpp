// Without a window system there are no platform windows: creation is not
// supported and every platform operation does nothing.
#include "ui/dialog_box.h"
#include "ui/main_window.h"
#include "ui/page.h"
#include "ui/window.h"

namespace vorn {

void PostQuitToMessageLoop(int32_t exit_code) noexcept {}

bool PreTranslateWindowMessage(void* platform_message) noexcept {
  return false;
}

Result Window::Create(Window* parent) noexcept {
  return handle_ != nullptr ? kAlreadyExists : kNotSupported;
}

void Window::Destroy() noexcept {}
void Window::Close() noexcept {
  OnClose();
}
bool Window::HandleMessage(WindowMessage& message) noexcept {
  return false;
}
bool Window::PreTranslate(void* platform_message) noexcept {
  return false;
}
void Window::Activate(bool with_popup) noexcept {}
void Window::SetOpacity(float opacity, bool force) noexcept {
  opacity_ = opacity;
}
void Window::Show(bool visible) noexcept {
  style_ = visible ? (style_ | kStyleVisible) : (style_ & ~kStyleVisible);
}
void Window::Enable(bool enabled) noexcept {
  style_ = enabled ? (style_ & ~kStyleDisabled) : (style_ | kStyleDisabled);
}
void Window::PostCommand(WindowId command) noexcept {}
void* Window::BackgroundBrush() noexcept {
  return nullptr;
}
void Window::ApplyTitle() noexcept {}
void Window::PlatformReparent() noexcept {}
intptr_t Window::CallDefault(WindowMessage& message) noexcept {
  return 0;
}
Result Window::CreatePlatformWindow(Window* parent) noexcept {
  return kNotSupported;
}
Result Window::RunOnCreateStep() noexcept {
  return kNotSupported;
}
Window* Window::FromHandle(void* handle) noexcept {
  return nullptr;
}

bool DialogBox::SystemMenuCloseEnabled() const noexcept {
  return (Style() & kStyleSystemMenu) != 0 && !CloseDisabled();
}
void DialogBox::WakeLoop() noexcept {}
WindowId DialogBox::RunModal(Window* owner) noexcept {
  return kNoWindowId;
}
bool DialogBox::HandleMessage(WindowMessage& message) noexcept {
  return false;
}
bool DialogBox::PreTranslate(void* platform_message) noexcept {
  return false;
}

void* Page::BackgroundBrush() noexcept {
  return nullptr;
}
bool Page::HandleMessage(WindowMessage& message) noexcept {
  return false;
}

}  // namespace vorn
