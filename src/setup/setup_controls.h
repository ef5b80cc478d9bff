// The few platform operations the installer's pages need beyond what the
// window toolkit's controls offer: the editable combo box's list and edit
// field, the keyboard focus and the process's taskbar identity.
#pragma once

#include "foundation/string.h"

namespace vorn {

class Window;

// Appends an item to the combo box's open list (created combo boxes only).
void AppendComboListItem(Window& combo, const String& text) noexcept;
// The text of the combo box's edit field (its stored title while it has no
// platform window).
String ComboEditText(const Window& combo) noexcept;
void SetComboEditText(Window& combo, const String& text) noexcept;
// Gives the keyboard focus to the window, if it exists.
void FocusWindow(const Window& window) noexcept;
// The process's explicit AppUserModelID (Windows 7 and later; nothing on
// older systems).
void SetProcessAppUserModelId(const String& id) noexcept;

// Message numbers the page logic reads from WindowMessage (the platform's
// values, so that the logic itself stays platform-free).
inline constexpr uint32_t kCommandMessage = 0x0111;   // WM_COMMAND
inline constexpr uint32_t kSetFocusMessage = 0x0007;  // WM_SETFOCUS
inline constexpr uint32_t kEditChanged = 0x0300;      // EN_CHANGE
inline constexpr uint32_t kComboEditChanged = 5;      // CBN_EDITCHANGE
inline constexpr uint32_t kComboSelectionEndOk = 9;   // CBN_SELENDOK

}  // namespace vorn
