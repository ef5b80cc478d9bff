// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "setup/setup_controls.h"
#include "ui/control_text_win.h"
#include "ui/window.h"

namespace vorn {

namespace {

// The edit field of an editable combo box (ComboBoxEx), else the control.
HWND EditFieldOf(const Window& combo) noexcept {
  HWND control = static_cast<HWND>(combo.Handle());
  HWND edit = reinterpret_cast<HWND>(SendMessageW(control, CBEM_GETEDITCONTROL, 0, 0));
  return edit != nullptr ? edit : control;
}

}  // namespace

void AppendComboListItem(Window& combo, const String& text) noexcept {
  if (!combo.Exists()) return;
  COMBOBOXEXITEMW item = {};
  item.mask = CBEIF_TEXT;
  item.iItem = -1;
  item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(text.Text()));
  SendMessageW(static_cast<HWND>(combo.Handle()), CBEM_INSERTITEMW, 0,
               reinterpret_cast<LPARAM>(&item));
}

String ComboEditText(const Window& combo) noexcept {
  if (!combo.Exists()) return combo.Title();
  return PlatformWindowText(EditFieldOf(combo));
}

void SetComboEditText(Window& combo, const String& text) noexcept {
  if (!combo.Exists()) {
    combo.SetTitle(text);
    return;
  }
  HWND edit = EditFieldOf(combo);
  SetWindowTextW(edit, reinterpret_cast<const wchar_t*>(text.Text()));
  // Typing goes on after the inserted text.
  SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(text.Length()),
               static_cast<LPARAM>(text.Length()));
}

void FocusWindow(const Window& window) noexcept {
  if (window.Exists()) SetFocus(static_cast<HWND>(window.Handle()));
}

void SetProcessAppUserModelId(const String& id) noexcept {
  using SetIdFunction = HRESULT(WINAPI*)(PCWSTR);
  HMODULE shell = GetModuleHandleW(L"shell32.dll");
  if (shell == nullptr) return;
  // Windows 7 and later only: looked up, so that the program loads on XP.
  const auto set_id = reinterpret_cast<SetIdFunction>(reinterpret_cast<void*>(
      GetProcAddress(shell, "SetCurrentProcessExplicitAppUserModelID")));
  if (set_id != nullptr) set_id(reinterpret_cast<const wchar_t*>(id.Text()));
}

}  // namespace vorn
