// Shortcut-key tables: a "ShortcutKeys" resource element whose "Command"
// children each map "Keys" (any of "Ctrl+", "Alt+", "Shift+" and a key
// name) to the command named by "ID". While its window is enabled the
// table turns key presses into commands with notification code 1.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "ui/window_id.h"

namespace vorn {

class XmlElement;

struct Shortcut {
  // Modifier bits as the platform's accelerators have them.
  static constexpr uint8_t kVirtualKey = 0x01;
  static constexpr uint8_t kShift = 0x04;
  static constexpr uint8_t kControl = 0x08;
  static constexpr uint8_t kAlt = 0x10;

  WindowId command = kNoWindowId;
  uint16_t key = 0;
  uint8_t modifiers = kVirtualKey;
};

// "Ctrl+Shift+F5" and the like: 33 for an unknown key name, 15 for null.
Result ParseShortcutKeys(const char16_t* text, Shortcut& shortcut) noexcept;

class ShortcutTable {
 public:
  ShortcutTable() noexcept = default;
  ~ShortcutTable();
  ShortcutTable(const ShortcutTable&) = delete;
  ShortcutTable& operator=(const ShortcutTable&) = delete;

  // Looks the table up through the resource manager and reads it.
  Result Load(const char16_t* name) noexcept;
  // 33 for a child that is not a "Command", lacks "ID" or "Keys", or names
  // an unknown key; 12 out of memory; 15 for a null element. The table is
  // empty after a failure.
  Result Read(const XmlElement* table) noexcept;

  uint32_t Count() const noexcept { return count_; }
  const Shortcut& At(uint32_t index) const noexcept { return entries_[index]; }

  // Turns a key press (a platform message) into a command for the window;
  // true when it did.
  bool Translate(void* window_handle, void* platform_message) noexcept;

 private:
  void Clear() noexcept;
  void ReleasePlatformTable() noexcept;

  Shortcut* entries_ = nullptr;
  uint32_t count_ = 0;
  void* platform_table_ = nullptr;  // created on first use
};

}  // namespace vorn
