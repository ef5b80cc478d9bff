// The messages every toolkit window handles: commands and their reflection
// to the controls that sent them, notifications and tooltip requests,
// painting and backgrounds, position changes, destruction.

// The Windows headers depend on their order.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
// clang-format on

#include <new>

#include "application/application_core.h"
#include "application/application_window.h"
#include "foundation/windows_version.h"
#include "ui/taskbar.h"
#include "ui/tooltip_control.h"
#include "ui/ui_platform.h"
#include "ui/window.h"

namespace vorn {
namespace {

COLORREF ToColorRef(uint32_t rgba) noexcept {
  return RGB(rgba & 0xFF, (rgba >> 8) & 0xFF, (rgba >> 16) & 0xFF);
}

}  // namespace

bool Window::ReflectToChild(void* child_handle, WindowMessage& message) noexcept {
  Window* child = FromHandle(child_handle);
  if (child == nullptr || child->parent_ != this || child == this) return false;
  return child->HandleMessage(message);
}

bool Window::HandleMessage(WindowMessage& message) noexcept {
  HWND window = static_cast<HWND>(handle_);
  switch (message.message) {
    case WM_ACTIVATE:
      message.result = CallDefault(message);
      OnActivate(LOWORD(message.wparam));
      return true;
    case WM_ACTIVATEAPP:
      OnActivateApplication(message.wparam != 0);
      return false;
    case WM_CLOSE:
      if (owner_ == nullptr) OnClose();
      return true;
    case WM_COMMAND: {
      const uint32_t code = HIWORD(message.wparam);
      if (code >= 2)
        return message.lparam != 0 &&
               ReflectToChild(reinterpret_cast<void*>(message.lparam), message);
      Window* sender = FromHandle(reinterpret_cast<void*>(message.lparam));
      if (OnCommand(static_cast<WindowId>(LOWORD(message.wparam)), code, sender)) {
        message.result = 0;
        return true;
      }
      return false;
    }
    case WM_COPYDATA:
      if (ApplicationCore::Get().MainWindow() == nullptr) return false;
      message.result = 0;
      return true;
    case WM_DESTROY:
      HandleDestroy();
      return false;
    case WM_DROPFILES:
      return HandleDroppedFiles(message);
    case WM_ENABLE:
      for (Window* child = first_child_; child; child = child->next_sibling_) {
        if (child->follows_parent_enabled_) child->Enable(message.wparam != 0);
      }
      return false;
    case WM_ERASEBKGND:
      if (!HandleEraseBackground(reinterpret_cast<void*>(message.wparam))) return false;
      message.result = 1;
      return true;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return ReflectToChild(reinterpret_cast<void*>(message.lparam), message);
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(message.lparam);
      const GeometryConstraint& width = Constraint(Edge::kWidth);
      const GeometryConstraint& height = Constraint(Edge::kHeight);
      if (width.min_pixels != kMinNotSet) limits->ptMinTrackSize.x = width.min_pixels;
      if (height.min_pixels != kMinNotSet) limits->ptMinTrackSize.y = height.min_pixels;
      if (width.max_pixels != kMaxNotSet) limits->ptMaxTrackSize.x = width.max_pixels;
      if (height.max_pixels != kMaxNotSet) limits->ptMaxTrackSize.y = height.max_pixels;
      message.result = 0;
      return true;
    }
    case WM_NOTIFY:
      return HandleNotify(message);
    case WM_PAINT:
      return HandlePaint();
    case WM_SETCURSOR:
      if (hand_cursor_ && IsWindowEnabled(window)) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        message.result = TRUE;
        return true;
      }
      return false;
    case WM_SETFOCUS:
      if (!focus_allowed_ && parent_ != nullptr && parent_->handle_ != nullptr &&
          IsWindowEnabled(static_cast<HWND>(parent_->handle_))) {
        SetFocus(static_cast<HWND>(parent_->handle_));
        return true;
      }
      return false;
    case WM_SYSCOLORCHANGE:
      BuildBackgroundBrush();
      for (Window* child = first_child_; child; child = child->next_sibling_) {
        if (child->handle_ != nullptr) {
          SendMessageW(static_cast<HWND>(child->handle_), WM_SYSCOLORCHANGE, 0, 0);
        }
      }
      return false;
    case WM_WINDOWPOSCHANGED: {
      const auto* position = reinterpret_cast<const WINDOWPOS*>(message.lparam);
      if ((position->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) {
        OnPositionChanged();
      }
      return false;
    }
    default:
      break;
  }
  if (message.message != 0 && message.message == TaskbarButtonCreatedMessage()) {
    if (WindowsVersion() > kWindowsVista) Taskbar::Get().Recreate();
    message.result = 0;
    return true;
  }
  return false;
}

void Window::OnPositionChanged() noexcept {
  HWND window = static_cast<HWND>(handle_);
  const bool minimized = IsIconic(window) != 0;
  if (minimized) {
    minimized_ = true;
    return;
  }
  const int32_t old_client_width = Value(Edge::kClientWidth);
  const int32_t old_client_height = Value(Edge::kClientHeight);
  WindowRects rects;
  if (!CurrentUiPlatform().ReadWindowRects(window, rects)) return;
  RefreshGeometry(rects, false, IsZoomed(window) != 0);
  if (double_buffered_) ResizeBuffer(rects.client_width, rects.client_height);
  if ((horizontal_redraw_ < 0 && rects.client_width != old_client_width) ||
      (vertical_redraw_ < 0 && rects.client_height != old_client_height)) {
    InvalidateRect(window, nullptr, erase_on_redraw_ ? TRUE : FALSE);
  }
  if (!laying_out_) LayOutDependents();
}

void Window::HandleDestroy() noexcept {
  OnDestroying();
  // The tooltip control is a popup the platform would only take down with
  // the top-level window, and not at all when that window's creation failed.
  if (tooltip_control_ != nullptr) tooltip_control_->Destroy();
  for (Window* child = first_child_; child; child = child->next_sibling_) {
    if (child->handle_ != nullptr) DestroyWindow(static_cast<HWND>(child->handle_));
  }
  ReleaseReferences();
  FreeBuffer();
  FreeBackgroundBrush();
  if (owns_font_handle_ && font_handle_ != nullptr) DeleteObject(static_cast<HFONT>(font_handle_));
  font_handle_ = nullptr;
  owns_font_handle_ = false;
}

bool Window::HandleNotify(WindowMessage& message) noexcept {
  auto* header = reinterpret_cast<NMHDR*>(message.lparam);
  if (header == nullptr) return false;
  if (header->code == TTN_GETDISPINFOW || header->code == TTN_GETDISPINFOA) {
    // The tools are registered by handle: the sender names the child.
    Window* tool = FromHandle(reinterpret_cast<void*>(header->idFrom));
    // The control copies the text before the next request: one buffer serves.
    static String tooltip_text;
    tooltip_text = tool != nullptr ? tool->tooltip_ : String();
    if (header->code == TTN_GETDISPINFOW) {
      auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
      info->lpszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(tooltip_text.Text()));
      info->hinst = nullptr;
    } else {
      // The narrow request gets the text's ASCII part, at most 79 units.
      auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
      uint32_t i = 0;
      for (; i < 79 && i < tooltip_text.Length(); ++i) {
        const char16_t unit = tooltip_text[i];
        info->szText[i] = unit < 0x80 ? static_cast<char>(unit) : '?';
      }
      info->szText[i] = 0;
      info->lpszText = info->szText;
      info->hinst = nullptr;
    }
    message.result = 0;
    return true;
  }
  return ReflectToChild(header->hwndFrom, message);
}

bool Window::HandleDroppedFiles(WindowMessage& message) noexcept {
  HDROP drop = reinterpret_cast<HDROP>(message.wparam);
  if (const ApplicationWindow* main = ApplicationCore::Get().MainWindow()) {
    if (Window* main_window = FromHandle(main->SystemHandle())) main_window->Activate(false);
  }
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  String* paths = count > 0 ? new (std::nothrow) String[count] : nullptr;
  uint32_t read = 0;
  for (UINT i = 0; paths != nullptr && i < count; ++i) {
    wchar_t buffer[4097];
    const UINT length = DragQueryFileW(drop, i, buffer, 4097);
    if (length == 0 || length > 4096) continue;
    paths[read++] = String(reinterpret_cast<const char16_t*>(buffer), length);
  }
  DragFinish(drop);
  if (read > 0) OpenFiles(paths, read);
  delete[] paths;
  message.result = 0;
  return true;
}

// ---- Backgrounds and painting ----

void Window::FreeBackgroundBrush() noexcept {
  if (background_brush_ != nullptr) DeleteObject(static_cast<HBRUSH>(background_brush_));
  background_brush_ = nullptr;
}

void Window::BuildBackgroundBrush() noexcept {
  FreeBackgroundBrush();
  if (background_.IsNotSet() || background_.IsTransparent()) return;
  const uint32_t from = ResolveColor(background_);
  if (gradient_mode_ == 0 || handle_ == nullptr) {
    background_brush_ = CreateSolidBrush(ToColorRef(from));
    return;
  }
  const uint32_t to = ResolveColor(gradient_);
  RECT client{};
  GetClientRect(static_cast<HWND>(handle_), &client);
  const int width = client.right > 0 ? client.right : 1;
  const int height = client.bottom > 0 ? client.bottom : 1;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr) {
    background_brush_ = CreateSolidBrush(ToColorRef(from));
    return;
  }
  auto* pixels = static_cast<uint32_t*>(bits);
  const int steps = gradient_mode_ == 1 ? width : height;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int at = gradient_mode_ == 1 ? x : y;
      const int span = steps > 1 ? steps - 1 : 1;
      uint32_t pixel = 0;
      for (int shift = 0; shift < 24; shift += 8) {
        const int a = static_cast<int>((from >> shift) & 0xFF);
        const int b = static_cast<int>((to >> shift) & 0xFF);
        const int value = a + (b - a) * at / span;
        // The bitmap's bytes are blue, green, red: rgba's order reversed.
        pixel |= static_cast<uint32_t>(value) << (16 - shift);
      }
      pixels[y * width + x] = pixel;
    }
  }
  background_brush_ = CreatePatternBrush(bitmap);
  DeleteObject(bitmap);
}

void* Window::BackgroundBrush() noexcept {
  if (background_brush_ != nullptr) return background_brush_;
  return parent_ != nullptr ? parent_->BackgroundBrush() : nullptr;
}

bool Window::HandleEraseBackground(void* device_context) noexcept {
  if (background_.IsTransparent()) return true;
  if (background_brush_ == nullptr) return false;
  RECT client{};
  GetClientRect(static_cast<HWND>(handle_), &client);
  FillRect(static_cast<HDC>(device_context), &client, static_cast<HBRUSH>(background_brush_));
  return true;
}

void Window::FreeBuffer() noexcept {
  if (buffer_context_ != nullptr) DeleteDC(static_cast<HDC>(buffer_context_));
  if (buffer_bitmap_ != nullptr) DeleteObject(static_cast<HBITMAP>(buffer_bitmap_));
  buffer_context_ = nullptr;
  buffer_bitmap_ = nullptr;
  buffer_width_ = 0;
  buffer_height_ = 0;
}

void Window::ResizeBuffer(int32_t width, int32_t height) noexcept {
  if (width == buffer_width_ && height == buffer_height_ && buffer_bitmap_ != nullptr) return;
  FreeBuffer();
  if (width <= 0 || height <= 0) return;
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return;
  HDC context = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  if (context == nullptr || bitmap == nullptr) {
    if (context != nullptr) DeleteDC(context);
    if (bitmap != nullptr) DeleteObject(bitmap);
    return;
  }
  SelectObject(context, bitmap);
  buffer_context_ = context;
  buffer_bitmap_ = bitmap;
  buffer_width_ = width;
  buffer_height_ = height;
}

bool Window::HandlePaint() noexcept {
  // Wrapped controls paint themselves, unless they asked the toolkit to.
  if (wraps_platform_control_ && !toolkit_paints_) return false;
  HWND window = static_cast<HWND>(handle_);
  RECT update{};
  if (!GetUpdateRect(window, &update, FALSE)) return false;
  PAINTSTRUCT paint{};
  HDC context = BeginPaint(window, &paint);
  if (context == nullptr) return true;
  const RECT& area = paint.rcPaint;
  if (area.right > area.left && area.bottom > area.top) {
    if (double_buffered_ && buffer_context_ != nullptr) {
      HDC buffer = static_cast<HDC>(buffer_context_);
      if (background_brush_ != nullptr) {
        FillRect(buffer, &area, static_cast<HBRUSH>(background_brush_));
      }
      Paint(buffer, area.left, area.top, area.right, area.bottom);
      BitBlt(context, area.left, area.top, area.right - area.left, area.bottom - area.top, buffer,
             area.left, area.top, SRCCOPY);
    } else {
      Paint(context, area.left, area.top, area.right, area.bottom);
    }
  }
  EndPaint(window, &paint);
  return true;
}

}  // namespace vorn
