// The default sizes the controls give themselves right after their
// description is read, and the "Type" values of buttons and combo boxes.
// A size is applied as a constant (pixels plus dialog units) only where the
// description left that dimension open.
#pragma once

#include <cstdint>

#include "foundation/result.h"

namespace vorn {

enum class ControlKind : uint32_t {
  kStaticText,
  kPushButton,  // check boxes too: their style is set after the defaults
  kEditBox,
  kProgressBar,
  kHyperlink,
  kSeparator,
  kComboBox,
};

// Which geometry attributes the description gave.
struct GivenGeometry {
  bool left = false;
  bool right = false;
  bool width = false;
  bool top = false;
  bool bottom = false;
  bool height = false;
  bool WidthDetermined() const noexcept { return width || (left && right); }
  bool HeightDetermined() const noexcept { return height || (top && bottom); }
};

struct DefaultLength {
  bool apply = false;
  int32_t pixels = 0;
  int32_t dialog_units = 0;
};

struct DefaultSize {
  DefaultLength width;
  DefaultLength height;
};

// `style` is the control's style at that moment (a push button is 10 dialog
// units high when it is then an automatic check box or radio button).
DefaultSize ControlDefaultSize(ControlKind kind, uint32_t style,
                               const GivenGeometry& given) noexcept;

// A push button's "Type": "PushCheckButton" (a push-like automatic check
// box) or "DefaultButton"; the style with the type's bits, 5 for another
// value. `is_default` tells the parent dialog to take it as its default.
Result ButtonTypeStyle(const char16_t* type, uint32_t& style, bool& is_default) noexcept;

// A combo box's "Type": "List", "Editable" or "DropDown" replace the low two
// style bits (1, 2, 3); 5 for another value.
Result ComboBoxTypeStyle(const char16_t* type, uint32_t& style) noexcept;

// The styles the controls start from.
constexpr uint32_t kPushButtonStyle = 0x00010000;  // low 16 bits cleared, tab stop
constexpr uint32_t kComboBoxStyle = 0x00010143;    // tab stop, drop-down list, scroll, sort

}  // namespace vorn
