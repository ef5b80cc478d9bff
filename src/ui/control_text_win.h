// Small conversions the controls' Windows code shares: a colour's rgba as a
// COLORREF and a String as the platform's wide text.
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

}  // namespace vorn
