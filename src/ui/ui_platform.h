// The platform operations that the portable window logic needs: sizes of
// window frames, system colours and fonts, font measurement, and moving,
// measuring and invalidating platform windows. Windows implements it with
// user32 and gdi32; elsewhere a headless platform stands in, which the tests
// and benchmarks also use (and may replace with their own).
#pragma once

#include <cstdint>

#include "ui/font.h"

namespace vorn {

struct WindowRects {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t client_width = 0;
  int32_t client_height = 0;
};

class UiPlatform {
 public:
  virtual ~UiPlatform() = default;

  // The outer size of a window with this style and extended style (no menu)
  // whose client area is client_width x client_height.
  virtual void OuterSize(uint32_t style, uint32_t ex_style, int32_t client_width,
                         int32_t client_height, int32_t& width, int32_t& height) noexcept = 0;
  // A system colour's current value as rgba (alpha ignored).
  virtual uint32_t SystemColor(int32_t index) noexcept = 0;
  // The system's non-client fonts; false (and the fallback fonts) when they
  // cannot be read.
  virtual bool ReadNonClientFonts(NonClientFonts& fonts) noexcept = 0;
  // Dialog base units measured with a font (a platform font handle).
  virtual DialogBaseUnits MeasureBaseUnits(void* font) noexcept = 0;

  // Moves and/or sizes a platform window in one call.
  virtual void MoveWindow(void* handle, int32_t left, int32_t top, int32_t width, int32_t height,
                          bool move, bool size) noexcept = 0;
  // The window's rectangle (relative to its parent's client area for a
  // child) and its client size.
  virtual bool ReadWindowRects(void* handle, WindowRects& rects) noexcept = 0;
  virtual void Invalidate(void* handle, bool erase) noexcept = 0;
};

// A platform without windows: no frames (outer size = client size), fixed
// system colours, the fallback fonts, base units 4 and 8, and handles that
// never exist.
class HeadlessUiPlatform : public UiPlatform {
 public:
  void OuterSize(uint32_t style, uint32_t ex_style, int32_t client_width, int32_t client_height,
                 int32_t& width, int32_t& height) noexcept override;
  uint32_t SystemColor(int32_t index) noexcept override;
  bool ReadNonClientFonts(NonClientFonts& fonts) noexcept override;
  DialogBaseUnits MeasureBaseUnits(void* font) noexcept override;
  void MoveWindow(void* handle, int32_t left, int32_t top, int32_t width, int32_t height, bool move,
                  bool size) noexcept override {}
  bool ReadWindowRects(void* handle, WindowRects& rects) noexcept override { return false; }
  void Invalidate(void* handle, bool erase) noexcept override {}
};

// The platform in use: the system's, unless one was set (tests).
UiPlatform& CurrentUiPlatform() noexcept;
void SetUiPlatform(UiPlatform* platform) noexcept;
// The system's own platform (headless where there are no windows).
UiPlatform& SystemUiPlatform() noexcept;

}  // namespace vorn
