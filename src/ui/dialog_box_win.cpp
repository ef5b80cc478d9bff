#include <windows.h>

#include "application/application_core.h"
#include "application/application_window.h"
#include "ui/dialog_box.h"
#include "ui/main_window.h"

namespace vorn {

bool DialogBox::SystemMenuCloseEnabled() const noexcept {
  if (Handle() == nullptr) return (Style() & kStyleSystemMenu) != 0 && !CloseDisabled();
  HMENU menu = GetSystemMenu(static_cast<HWND>(Handle()), FALSE);
  if (menu == nullptr) return false;
  const UINT state = GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & (MF_DISABLED | MF_GRAYED)) == 0;
}

void DialogBox::WakeLoop() noexcept {
  HWND target = static_cast<HWND>(Handle());
  if (target == nullptr) {
    if (const ApplicationWindow* main = ApplicationCore::Get().MainWindow()) {
      target = static_cast<HWND>(main->SystemHandle());
    }
  }
  if (target != nullptr) PostMessageW(target, WM_NULL, 0, 0);
}

bool DialogBox::HandleMessage(WindowMessage& message) noexcept {
  switch (message.message) {
    case WM_CLOSE:
      if (Owner() == nullptr) OnClose();
      message.result = 0;
      return true;
    case WM_COMMAND: {
      const uint32_t code = HIWORD(message.wparam);
      const WindowId id = static_cast<WindowId>(LOWORD(message.wparam));
      if (code <= 1 && (id == IDOK || id == kOkId)) {
        OnOK();
        message.result = 0;
        return true;
      }
      if (code <= 1 && (id == IDCANCEL || id == kCancelId)) {
        OnCancel();
        message.result = 0;
        return true;
      }
      break;
    }
    case DM_GETDEFID:
      if (DefaultButton() == 0) break;
      message.result = static_cast<intptr_t>(MAKELRESULT(DefaultButton(), DC_HASDEFID));
      return true;
    case WM_DESTROY:
      // The accepted hook runs before the window base lets go of everything.
      if (IsEnded() && DialogResult() == kOkId && !IsModal()) OnAccepted();
      break;
    default:
      break;
  }
  return Window::HandleMessage(message);
}

bool DialogBox::PreTranslate(void* platform_message) noexcept {
  if (Window::PreTranslate(platform_message)) return true;
  if (Handle() == nullptr) return false;
  return IsDialogMessageW(static_cast<HWND>(Handle()), static_cast<MSG*>(platform_message)) != 0;
}

WindowId DialogBox::RunModal(Window* owner) noexcept {
  modal_ = true;
  ended_ = false;
  result_ = 0;
  if (Create(owner) != kOk) {
    modal_ = false;
    return kNoWindowId;
  }
  HWND owner_handle = owner != nullptr ? static_cast<HWND>(owner->Handle()) : nullptr;
  const bool disable_owner = owner_handle != nullptr && IsWindowEnabled(owner_handle);
  if (disable_owner) EnableWindow(owner_handle, FALSE);
  if (!ApplicationCore::Get().Quiet()) ShowWindow(static_cast<HWND>(Handle()), SW_SHOW);
  MSG message;
  while (!ended_ && Exists()) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      // The program is quitting: the outer loop must see it too.
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (got == -1) break;
    if (PreTranslateWindowMessage(&message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (disable_owner) EnableWindow(owner_handle, TRUE);
  const bool accepted = ended_ && result_ == kOkId;
  // Still modal while its window goes, so the accepted hook runs once, here.
  if (Exists()) Destroy();
  modal_ = false;
  if (owner_handle != nullptr) SetActiveWindow(owner_handle);
  if (!ended_) result_ = kCancelId;
  if (accepted) OnAccepted();
  return result_;
}

}  // namespace vorn
