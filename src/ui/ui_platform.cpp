#include "ui/ui_platform.h"

namespace vorn {
namespace {

UiPlatform* g_platform = nullptr;

}  // namespace

void HeadlessUiPlatform::OuterSize(uint32_t style, uint32_t ex_style, int32_t client_width,
                                   int32_t client_height, int32_t& width,
                                   int32_t& height) noexcept {
  width = client_width;
  height = client_height;
}

uint32_t HeadlessUiPlatform::SystemColor(int32_t index) noexcept {
  // The classic scheme's dialog face for the faces, white for windows,
  // black for the rest.
  switch (index) {
    case 5:
      return 0xFFFFFFFF;
    case 15:
      return 0xFFC0C0C0;
    default:
      return 0xFF000000;
  }
}

bool HeadlessUiPlatform::ReadNonClientFonts(NonClientFonts& fonts) noexcept {
  fonts = NonClientFonts();
  return false;
}

DialogBaseUnits HeadlessUiPlatform::MeasureBaseUnits(void* font) noexcept {
  return DialogBaseUnits();
}

UiPlatform& CurrentUiPlatform() noexcept {
  return g_platform != nullptr ? *g_platform : SystemUiPlatform();
}

void SetUiPlatform(UiPlatform* platform) noexcept {
  g_platform = platform;
}

}  // namespace vorn
