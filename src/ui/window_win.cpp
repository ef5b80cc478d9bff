// Platform windows for window objects: class registration, creation with
// its on-create step, binding handles to objects, the window procedure, and
// the operations that act on an existing platform window.

// The Windows headers depend on their order.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "application/application_core.h"
#include "application/application_window.h"
#include "foundation/system_error.h"
#include "ui/main_window.h"
#include "ui/shortcut_table.h"
#include "ui/taskbar.h"
#include "ui/tooltip_control.h"
#include "ui/ui_platform.h"
#include "ui/window.h"
#include "ui/window_registry.h"

namespace vorn {
namespace {

constexpr uint32_t kRemoveMaximize = 1;
constexpr uint32_t kRemoveMinimize = 2;
constexpr uint32_t kRemoveSize = 4;
constexpr uint32_t kRemoveRestore = 8;

LRESULT CALLBACK ToolkitWindowProc(HWND handle, UINT message, WPARAM wparam, LPARAM lparam) {
  Window* window = WindowRegistry::Find(handle);
  if (window == nullptr) {
    window = WindowRegistry::TakeBeingCreated();
    if (window == nullptr) return DefWindowProcW(handle, message, wparam, lparam);
    window->BindHandle(handle);
    if (WindowRegistry::Add(handle, window) != kOk) {
      window->BindHandle(nullptr);
      return DefWindowProcW(handle, message, wparam, lparam);
    }
  }
  return window->DispatchPlatformMessage(message, wparam, lparam);
}

HINSTANCE ProgramInstance() noexcept {
  return GetModuleHandleW(nullptr);
}

const wchar_t* Wide(const char16_t* text) noexcept {
  return reinterpret_cast<const wchar_t*>(text);
}

// Classes registered by this program, by kind (plain windows, dialogs).
String g_class_names[2];

typedef BOOL(WINAPI* ChangeWindowMessageFilterExFunction)(HWND, UINT, DWORD, void*);

void AllowTaskbarMessage(HWND window) noexcept {
  static const auto change_filter =
      reinterpret_cast<ChangeWindowMessageFilterExFunction>(reinterpret_cast<void*>(
          GetProcAddress(GetModuleHandleW(L"user32.dll"), "ChangeWindowMessageFilterEx")));
  // Not on systems before Windows 7, which have no such filter.
  if (change_filter != nullptr) change_filter(window, TaskbarButtonCreatedMessage(), 1, nullptr);
}

typedef BOOL(WINAPI* SetLayeredWindowAttributesFunction)(HWND, COLORREF, BYTE, DWORD);

RECT WorkAreaOf(HWND window, bool monitor) noexcept {
  RECT area{};
  if (monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info)) {
      return info.rcWork;
    }
  }
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  if (width > 0 && height > 0) {
    area.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    area.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    area.right = area.left + width;
    area.bottom = area.top + height;
    return area;
  }
  GetWindowRect(GetDesktopWindow(), &area);
  return area;
}

}  // namespace

void PostQuitToMessageLoop(int32_t exit_code) noexcept {
  PostQuitMessage(exit_code);
}

bool PreTranslateWindowMessage(void* platform_message) noexcept {
  MSG* message = static_cast<MSG*>(platform_message);
  for (HWND at = message->hwnd; at != nullptr; at = GetParent(at)) {
    Window* window = WindowRegistry::Find(at);
    if (window != nullptr && window->PreTranslate(message)) return true;
  }
  return false;
}

Window* Window::FromHandle(void* handle) noexcept {
  return handle != nullptr ? WindowRegistry::Find(handle) : nullptr;
}

bool Window::IsApplicationMainWindow() const noexcept {
  const ApplicationWindow* main = ApplicationCore::Get().MainWindow();
  return main != nullptr && handle_ != nullptr && main->SystemHandle() == handle_;
}

Result Window::RegisterPlatformClass(const char16_t*& class_name) noexcept {
  const int kind = is_dialog_ ? 1 : 0;
  String& name = g_class_names[kind];
  if (!name.IsEmpty()) {
    class_name = name.Text();
    return kOk;
  }
  const String wanted =
      ApplicationCore::Get().Description().name + (is_dialog_ ? u"::Dialog" : u"::Window");
  WNDCLASSW existing{};
  if (GetClassInfoW(nullptr, Wide(wanted.Text()), &existing)) return kAlreadyExists;
  if (!GetClassInfoW(ProgramInstance(), Wide(wanted.Text()), &existing)) {
    WNDCLASSW window_class{};
    window_class.style = is_dialog_ ? CS_DBLCLKS : 0;
    window_class.lpfnWndProc = &ToolkitWindowProc;
    window_class.cbWndExtra = is_dialog_ ? DLGWINDOWEXTRA : 0;
    window_class.hInstance = ProgramInstance();
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.lpszClassName = Wide(wanted.Text());
    if (RegisterClassW(&window_class) == 0) {
      const Result refused = LastSystemResult();
      return refused != kOk ? refused : kFailed;
    }
  }
  name = wanted;
  class_name = name.Text();
  return kOk;
}

Result Window::Create(Window* parent) noexcept {
  if (handle_ != nullptr) return kAlreadyExists;
  return CreatePlatformWindow(parent);
}

Result Window::CreatePlatformWindow(Window* parent) noexcept {
  Window* platform_parent = parent != nullptr ? parent : parent_;
  HWND parent_handle =
      platform_parent != nullptr ? static_cast<HWND>(platform_parent->handle_) : nullptr;
  const char16_t* class_name = platform_class_;
  if (!wraps_platform_control_) {
    const Result registered = RegisterPlatformClass(class_name);
    if (registered != kOk) return registered;
  }
  if (class_name == nullptr) return kInvalidState;
  TaskbarButtonCreatedMessage();

  uint32_t create_style = style_;
  system_menu_removals_ = 0;
  if ((ex_style_ & kExStyleDialogModalFrame) != 0) {
    if ((style_ & WS_MAXIMIZEBOX) == 0) system_menu_removals_ |= kRemoveMaximize | kRemoveRestore;
    if ((style_ & WS_MINIMIZEBOX) == 0) system_menu_removals_ |= kRemoveMinimize | kRemoveRestore;
    if ((style_ & WS_THICKFRAME) == 0) system_menu_removals_ |= kRemoveSize;
    create_style &= 0xFFFF0000u;
  }
  if (Value(Edge::kWidth) == kUseDefault) {
    Constraint(Edge::kHeight).value = start_maximized_ ? 3 : 5;
  }
  Layout();
  if (ApplicationCore::Get().Quiet()) create_style &= ~kStyleVisible;

  const bool child = (style_ & WS_CHILD) != 0;
  const auto position = [&](Edge edge) {
    const int32_t value = Value(edge);
    if (value != kUndefinedValue) return static_cast<int>(value);
    return child ? 0 : static_cast<int>(CW_USEDEFAULT);
  };
  create_result_ = kOk;
  WindowRegistry::SetBeingCreated(this);
  const String title = TitleText();
  HWND handle = CreateWindowExW(
      ex_style_, Wide(class_name), Wide(title.Text()), create_style, position(Edge::kLeft),
      position(Edge::kTop), position(Edge::kWidth), position(Edge::kHeight), parent_handle,
      child ? reinterpret_cast<HMENU>(static_cast<uintptr_t>(id_)) : nullptr, ProgramInstance(),
      nullptr);
  WindowRegistry::TakeBeingCreated();
  if (handle == nullptr && handle_ != nullptr) {
    // The platform refused the window after its first messages had bound
    // it, without the final message that would have let go of it.
    WindowRegistry::Remove(handle_);
    handle_ = nullptr;
    default_procedure_ = nullptr;
  }

  if (wraps_platform_control_ && handle != nullptr) {
    if (WindowRegistry::Add(handle, this) != kOk) {
      DestroyWindow(handle);
      return kOutOfMemory;
    }
    handle_ = handle;
    DWORD process = 0;
    GetWindowThreadProcessId(handle, &process);
    if (process == GetCurrentProcessId()) {
      default_procedure_ = reinterpret_cast<void*>(
          SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ToolkitWindowProc)));
    }
    const Result created = RunOnCreateStep();
    if (created != kOk) {
      DestroyWindow(handle);
      return created;
    }
  }
  if (handle_ == nullptr) return create_result_ != kOk ? create_result_ : kFailed;
  LayOutDependents();
  if (parent_ != nullptr && parent_->tooltip_control_ != nullptr) {
    parent_->tooltip_control_->Synchronize();
  }
  return kOk;
}

Result Window::RunOnCreateStep() noexcept {
  HWND window = static_cast<HWND>(handle_);
  AllowTaskbarMessage(window);
  if ((ex_style_ & kExStyleAppWindow) != 0) {
    HICON icon = LoadIconW(ProgramInstance(), MAKEINTRESOURCEW(128));
    if (icon != nullptr) SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  }
  ApplySystemMenu();
  ApplyFont();
  if (double_buffered_) {
    RECT client{};
    GetClientRect(window, &client);
    ResizeBuffer(client.right, client.bottom);
  }
  WindowRects rects;
  if (CurrentUiPlatform().ReadWindowRects(window, rects)) {
    RefreshGeometry(rects, IsIconic(window) != 0, IsZoomed(window) != 0);
  }
  Layout();
  if (main_dialog_box_) CenterOnParent();
  if (main_dialog_box_ || IsApplicationMainWindow()) KeepOnScreen();
  BuildBackgroundBrush();
  for (Window* child = first_child_; child; child = child->next_sibling_) {
    if (child->handle_ != nullptr) continue;
    const Result created = child->Create(nullptr);
    if (created != kOk) return created;
  }
  if (tooltip_control_ != nullptr) tooltip_control_->Synchronize();
  LayOutDependents();
  SetOpacity(opacity_, true);
  return OnCreated();
}

void Window::ApplySystemMenu() noexcept {
  if (!close_disabled_ && system_menu_removals_ == 0) return;
  HMENU menu = GetSystemMenu(static_cast<HWND>(handle_), FALSE);
  if (menu == nullptr) return;
  if (close_disabled_) EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);
  if (system_menu_removals_ & kRemoveMaximize) RemoveMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
  if (system_menu_removals_ & kRemoveMinimize) RemoveMenu(menu, SC_MINIMIZE, MF_BYCOMMAND);
  if (system_menu_removals_ & kRemoveSize) RemoveMenu(menu, SC_SIZE, MF_BYCOMMAND);
  if (system_menu_removals_ & kRemoveRestore) RemoveMenu(menu, SC_RESTORE, MF_BYCOMMAND);
}

void Window::ApplyFont() noexcept {
  HFONT font = nullptr;
  bool own = false;
  if (font_list_ != nullptr || is_dialog_) {
    NonClientFonts fonts;
    CurrentUiPlatform().ReadNonClientFonts(fonts);
    const FontDescription description =
        ResolveFontList(font_list_ != nullptr ? *font_list_ : FontList(), fonts);
    LOGFONTW logical{};
    logical.lfHeight = description.height;
    logical.lfWeight = description.weight;
    logical.lfItalic = description.italic;
    logical.lfUnderline = description.underline;
    logical.lfStrikeOut = description.strikeout;
    logical.lfCharSet = description.char_set;
    logical.lfPitchAndFamily = description.pitch_and_family;
    for (uint32_t i = 0; i < LF_FACESIZE && i < FontDescription::kFaceCapacity; ++i) {
      logical.lfFaceName[i] = static_cast<wchar_t>(description.face[i]);
    }
    logical.lfFaceName[LF_FACESIZE - 1] = 0;
    font = CreateFontIndirectW(&logical);
    own = font != nullptr;
  }
  if (font == nullptr && parent_ != nullptr) font = static_cast<HFONT>(parent_->font_handle_);
  if (owns_font_handle_ && font_handle_ != nullptr) DeleteObject(static_cast<HFONT>(font_handle_));
  font_handle_ = font;
  owns_font_handle_ = own;
  if (font == nullptr) return;
  SendMessageW(static_cast<HWND>(handle_), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (own) {
    base_units_ = CurrentUiPlatform().MeasureBaseUnits(font);
  } else if (parent_ != nullptr) {
    base_units_ = parent_->base_units_;
  }
}

void Window::CenterOnParent() noexcept {
  HWND window = static_cast<HWND>(handle_);
  HWND reference = GetParent(window);
  const ApplicationWindow* main = ApplicationCore::Get().MainWindow();
  if (reference != nullptr && main != nullptr && main->SystemHandle() != nullptr &&
      IsChild(static_cast<HWND>(main->SystemHandle()), reference)) {
    reference = static_cast<HWND>(main->SystemHandle());
  }
  if (reference == nullptr) reference = GetDesktopWindow();
  RECT outer{};
  RECT own{};
  if (!GetWindowRect(reference, &outer) || !GetWindowRect(window, &own)) return;
  const int width = own.right - own.left;
  const int height = own.bottom - own.top;
  POINT at{outer.left + (outer.right - outer.left - width) / 2,
           outer.top + (outer.bottom - outer.top - height) / 2};
  if ((GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0) {
    ScreenToClient(GetParent(window), &at);
  }
  SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::KeepOnScreen() noexcept {
  HWND window = static_cast<HWND>(handle_);
  if ((GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0) return;
  RECT own{};
  if (!GetWindowRect(window, &own)) return;
  const RECT area = WorkAreaOf(window, main_dialog_box_);
  LONG left = own.left;
  LONG top = own.top;
  // The bottom and right edges first, then the top and left, so that a
  // window larger than the area keeps its caption reachable.
  if (left + (own.right - own.left) > area.right) left = area.right - (own.right - own.left);
  if (top + (own.bottom - own.top) > area.bottom) top = area.bottom - (own.bottom - own.top);
  if (left < area.left) left = area.left;
  if (top < area.top) top = area.top;
  if (left != own.left || top != own.top) {
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

intptr_t Window::DispatchPlatformMessage(uint32_t message, uintptr_t wparam,
                                         intptr_t lparam) noexcept {
  WindowMessage record{handle_, message, wparam, lparam, 0};
  if (message == WM_CREATE && !wraps_platform_control_) {
    create_result_ = RunOnCreateStep();
    return create_result_ == kOk ? 0 : -1;
  }
  if (message == WM_NCDESTROY) return HandleFinalDestroy(record);
  if (HandleMessage(record)) {
    if (is_dialog_ && wraps_platform_control_) {
      SetWindowLongPtrW(static_cast<HWND>(handle_), DWLP_MSGRESULT, record.result);
      return 1;
    }
    return record.result;
  }
  return CallDefault(record);
}

intptr_t Window::CallDefault(WindowMessage& message) noexcept {
  HWND window = static_cast<HWND>(message.handle);
  if (default_procedure_ != nullptr) {
    return CallWindowProcW(reinterpret_cast<WNDPROC>(default_procedure_), window, message.message,
                           message.wparam, message.lparam);
  }
  if (is_dialog_) return DefDlgProcW(window, message.message, message.wparam, message.lparam);
  return DefWindowProcW(window, message.message, message.wparam, message.lparam);
}

intptr_t Window::HandleFinalDestroy(WindowMessage& message) noexcept {
  // Also here: a window whose creation failed gets no destroy message.
  if (tooltip_control_ != nullptr) tooltip_control_->Destroy();
  OnFinalDestroy();
  const intptr_t result = CallDefault(message);
  WindowRegistry::Remove(handle_);
  handle_ = nullptr;
  default_procedure_ = nullptr;
  return result;
}

void Window::Destroy() noexcept {
  if (handle_ != nullptr) DestroyWindow(static_cast<HWND>(handle_));
}

void Window::Close() noexcept {
  if (handle_ != nullptr) {
    SendMessageW(static_cast<HWND>(handle_), WM_CLOSE, 0, 0);
  } else {
    OnClose();
  }
}

bool Window::PreTranslate(void* platform_message) noexcept {
  if (shortcuts_ == nullptr || handle_ == nullptr) return false;
  if (!IsWindowEnabled(static_cast<HWND>(handle_))) return false;
  return shortcuts_->Translate(handle_, platform_message);
}

void Window::Activate(bool with_popup) noexcept {
  HWND window = static_cast<HWND>(handle_);
  if (window == nullptr) return;
  BringWindowToTop(window);
  ShowWindow(window, IsZoomed(window) ? SW_MAXIMIZE : SW_RESTORE);
  if (!with_popup) return;
  HWND popup = GetLastActivePopup(window);
  if (popup == nullptr) return;
  SetForegroundWindow(popup);
  if (GetForegroundWindow() != popup) {
    FLASHWINFO flash{};
    flash.cbSize = sizeof flash;
    flash.hwnd = popup;
    flash.dwFlags = FLASHW_TRAY;
    flash.uCount = 3;
    FlashWindowEx(&flash);
  }
}

void Window::SetOpacity(float opacity, bool force) noexcept {
  opacity_ = opacity;
  float scaled = opacity * 255.0f;
  if (!(scaled > 0.0f)) scaled = 0.0f;
  if (scaled > 255.0f) scaled = 255.0f;
  const auto alpha = static_cast<uint32_t>(scaled);
  if (alpha == applied_alpha_ && !force) return;
  HWND window = static_cast<HWND>(handle_);
  if (window == nullptr) return;
  if ((style_ & WS_CHILD) != 0 && (ex_style_ & WS_EX_TOOLWINDOW) == 0) return;
  applied_alpha_ = alpha;
  const LONG_PTR ex_style = GetWindowLongPtrW(window, GWL_EXSTYLE);
  if (alpha == 255) {
    if ((ex_style & WS_EX_LAYERED) == 0) return;
    SetWindowLongPtrW(window, GWL_EXSTYLE, ex_style & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    RedrawWindow(window, nullptr, nullptr,
                 RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    return;
  }
  static const auto set_layered =
      reinterpret_cast<SetLayeredWindowAttributesFunction>(reinterpret_cast<void*>(
          GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetLayeredWindowAttributes")));
  if (set_layered == nullptr) return;
  SetWindowLongPtrW(window, GWL_EXSTYLE, ex_style | WS_EX_LAYERED);
  set_layered(window, 0, static_cast<BYTE>(alpha), 2 /* alpha */);
}

void Window::Show(bool visible) noexcept {
  style_ = visible ? (style_ | kStyleVisible) : (style_ & ~kStyleVisible);
  if (handle_ == nullptr) return;
  if (visible && ApplicationCore::Get().Quiet()) return;
  ShowWindow(static_cast<HWND>(handle_), visible ? SW_SHOW : SW_HIDE);
}

void Window::Enable(bool enabled) noexcept {
  style_ = enabled ? (style_ & ~kStyleDisabled) : (style_ | kStyleDisabled);
  if (handle_ != nullptr) EnableWindow(static_cast<HWND>(handle_), enabled ? TRUE : FALSE);
}

void Window::PostCommand(WindowId command) noexcept {
  if (handle_ != nullptr) PostMessageW(static_cast<HWND>(handle_), WM_COMMAND, command, 0);
}

void Window::ApplyTitle() noexcept {
  if (handle_ == nullptr) return;
  const String text = TitleText();
  SetWindowTextW(static_cast<HWND>(handle_), Wide(text.Text()));
}

void Window::PlatformReparent() noexcept {
  if (handle_ == nullptr || parent_ == nullptr || parent_->handle_ == nullptr) return;
  SetParent(static_cast<HWND>(handle_), static_cast<HWND>(parent_->handle_));
}

}  // namespace vorn
