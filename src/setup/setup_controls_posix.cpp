// Without a window system the pages are never shown: the combo box keeps
// its text in its title, the rest does nothing.
#include "setup/setup_controls.h"
#include "ui/window.h"

namespace vorn {

void AppendComboListItem(Window&, const String&) noexcept {}

String ComboEditText(const Window& combo) noexcept {
  return combo.Title();
}

void SetComboEditText(Window& combo, const String& text) noexcept {
  combo.SetTitle(text);
}

void FocusWindow(const Window&) noexcept {}

void SetProcessAppUserModelId(const String&) noexcept {}

}  // namespace vorn
