#include <windows.h>

#include <cstdlib>

#include "ui/shortcut_table.h"

namespace vorn {

bool ShortcutTable::Translate(void* window_handle, void* platform_message) noexcept {
  if (count_ == 0) return false;
  if (platform_table_ == nullptr) {
    auto* accelerators = static_cast<ACCEL*>(std::malloc(sizeof(ACCEL) * count_));
    if (accelerators == nullptr) return false;
    for (uint32_t i = 0; i < count_; ++i) {
      accelerators[i].fVirt = entries_[i].modifiers;
      accelerators[i].key = entries_[i].key;
      accelerators[i].cmd = entries_[i].command;
    }
    platform_table_ = CreateAcceleratorTableW(accelerators, static_cast<int>(count_));
    std::free(accelerators);
    if (platform_table_ == nullptr) return false;
  }
  return TranslateAcceleratorW(static_cast<HWND>(window_handle),
                               static_cast<HACCEL>(platform_table_),
                               static_cast<MSG*>(platform_message)) != 0;
}

void ShortcutTable::ReleasePlatformTable() noexcept {
  if (platform_table_ != nullptr) DestroyAcceleratorTable(static_cast<HACCEL>(platform_table_));
  platform_table_ = nullptr;
}

}  // namespace vorn
