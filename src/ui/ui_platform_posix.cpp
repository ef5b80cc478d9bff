#include "ui/ui_platform.h"

namespace vorn {

UiPlatform& SystemUiPlatform() noexcept {
  static HeadlessUiPlatform platform;
  return platform;
}

}  // namespace vorn
