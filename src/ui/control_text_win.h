// Small conversions the controls' Windows code shares: a colour's rgba as a
// COLORREF, a String as the platform's wide text, a window's text as a String.
#pragma once

#include <windows.h>

#include <cstdint>

#include "foundation/string.h"

namespace vorn {

inline COLORREF ControlColorRef(uint32_t rgba) noexcept {
  return RGB(rgba & 0xFF, (rgba >> 8) & 0xFF, (rgba >> 16) & 0xFF);
}

inline const wchar_t* ControlWideText(const String& text) noexcept {
  return reinterpret_cast<const wchar_t*>(text.Text());
}

// The current text of a platform window of this process (empty when it has
// none or memory is short).
inline String PlatformWindowText(HWND window) noexcept {
  const int length = GetWindowTextLengthW(window);
  String text;
  if (length <= 0) return text;
  auto* buffer = static_cast<wchar_t*>(
      HeapAlloc(GetProcessHeap(), 0, (static_cast<SIZE_T>(length) + 1) * sizeof(wchar_t)));
  if (buffer == nullptr) return text;
  const int copied = GetWindowTextW(window, buffer, length + 1);
  if (copied > 0) text.Assign(reinterpret_cast<const char16_t*>(buffer), copied);
  HeapFree(GetProcessHeap(), 0, buffer);
  return text;
}

}  // namespace vorn
