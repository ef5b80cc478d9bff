// Lining up a background brush with the window it belongs to. A window
// without a background of its own paints with its parent's brush, and a
// page on a tab control with the tab control's; a brush with a picture in it
// (a gradient, the themed tab body) only looks continuous when its origin is
// the client origin of the window that owns it.
#pragma once

#include <windows.h>

#include "ui/window.h"

namespace vorn {

// The window whose client area `brush` is laid out on: from `window` up
// through owners and parents for as long as they hand out the same brush.
inline Window* BrushOriginWindow(Window* window, void* brush) noexcept {
  if (brush == nullptr) return window;
  for (Window* at = window; at != nullptr;) {
    Window* owner = at->Owner();
    Window* parent = at->Parent();
    if (owner != nullptr && owner->Handle() != nullptr && owner->BackgroundBrush() == brush) {
      at = owner;
    } else if (parent != nullptr && parent->Handle() != nullptr &&
               parent->BackgroundBrush() == brush) {
      at = parent;
    } else {
      return at;
    }
  }
  return window;
}

// Sets the brush origin of `context` (which draws on `target`) so that
// `brush`, as handed out by `window`, continues its owner's picture.
inline void AlignBrush(HDC context, HWND target, Window* window, void* brush) noexcept {
  Window* origin = BrushOriginWindow(window, brush);
  if (origin == nullptr || origin->Handle() == nullptr) return;
  POINT offset = {0, 0};
  MapWindowPoints(target, static_cast<HWND>(origin->Handle()), &offset, 1);
  SetBrushOrgEx(context, -offset.x, -offset.y, nullptr);
}

}  // namespace vorn
