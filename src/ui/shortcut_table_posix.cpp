#include "ui/shortcut_table.h"

namespace vorn {

bool ShortcutTable::Translate(void* window_handle, void* platform_message) noexcept {
  return false;
}

void ShortcutTable::ReleasePlatformTable() noexcept {
  platform_table_ = nullptr;
}

}  // namespace vorn
