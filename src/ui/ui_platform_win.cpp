#include <windows.h>

#include "ui/ui_platform.h"

namespace vorn {
namespace {

FontDescription FromLogFont(const LOGFONTW& font) noexcept {
  FontDescription description;
  description.height = font.lfHeight;
  description.weight = font.lfWeight;
  description.italic = font.lfItalic != 0;
  description.underline = font.lfUnderline != 0;
  description.strikeout = font.lfStrikeOut != 0;
  description.char_set = font.lfCharSet;
  description.pitch_and_family = font.lfPitchAndFamily;
  uint32_t length = 0;
  while (length < LF_FACESIZE && font.lfFaceName[length] != 0) ++length;
  description.SetFace(reinterpret_cast<const char16_t*>(font.lfFaceName), length);
  return description;
}

class Win32UiPlatform final : public UiPlatform {
 public:
  void OuterSize(uint32_t style, uint32_t ex_style, int32_t client_width, int32_t client_height,
                 int32_t& width, int32_t& height) noexcept override {
    RECT rect{0, 0, client_width, client_height};
    if (!AdjustWindowRectEx(&rect, style, FALSE, ex_style)) {
      width = client_width;
      height = client_height;
      return;
    }
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
  }

  uint32_t SystemColor(int32_t index) noexcept override {
    const COLORREF color = GetSysColor(index);
    // COLORREF is red in the low byte, as rgba is.
    return static_cast<uint32_t>(color) | 0xFF000000u;
  }

  bool ReadNonClientFonts(NonClientFonts& fonts) noexcept override {
    fonts = NonClientFonts();
    NONCLIENTMETRICSW metrics{};
    // The size without the padded border field that XP does not know.
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof(LOGFONTW);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return false;
    fonts.message = FromLogFont(metrics.lfMessageFont);
    fonts.caption = FromLogFont(metrics.lfCaptionFont);
    fonts.small_caption = FromLogFont(metrics.lfSmCaptionFont);
    fonts.menu = FromLogFont(metrics.lfMenuFont);
    fonts.status = FromLogFont(metrics.lfStatusFont);
    return true;
  }

  DialogBaseUnits MeasureBaseUnits(void* font) noexcept override {
    DialogBaseUnits units;
    HDC context = GetDC(nullptr);
    if (context == nullptr) return units;
    HGDIOBJ previous = SelectObject(context, static_cast<HFONT>(font));
    static const wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE size{};
    TEXTMETRICW metrics{};
    if (GetTextExtentPoint32W(context, kAlphabet, 52, &size) &&
        GetTextMetricsW(context, &metrics)) {
      units = BaseUnitsFromMeasure(size.cx, metrics.tmAscent + metrics.tmDescent);
    }
    SelectObject(context, previous);
    ReleaseDC(nullptr, context);
    return units;
  }

  void MoveWindow(void* handle, int32_t left, int32_t top, int32_t width, int32_t height, bool move,
                  bool size) noexcept override {
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (!move) flags |= SWP_NOMOVE;
    if (!size) flags |= SWP_NOSIZE;
    SetWindowPos(static_cast<HWND>(handle), nullptr, left, top, width, height, flags);
  }

  bool ReadWindowRects(void* handle, WindowRects& rects) noexcept override {
    HWND window = static_cast<HWND>(handle);
    RECT outer{};
    RECT client{};
    if (!GetWindowRect(window, &outer) || !GetClientRect(window, &client)) return false;
    // A child's position is in its parent's client coordinates.
    if ((GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0) {
      HWND parent = GetParent(window);
      if (parent != nullptr)
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&outer), 2);
    }
    rects.left = outer.left;
    rects.top = outer.top;
    rects.width = outer.right - outer.left;
    rects.height = outer.bottom - outer.top;
    rects.client_width = client.right - client.left;
    rects.client_height = client.bottom - client.top;
    return true;
  }

  void Invalidate(void* handle, bool erase) noexcept override {
    InvalidateRect(static_cast<HWND>(handle), nullptr, erase ? TRUE : FALSE);
  }
};

}  // namespace

UiPlatform& SystemUiPlatform() noexcept {
  static Win32UiPlatform platform;
  return platform;
}

}  // namespace vorn
