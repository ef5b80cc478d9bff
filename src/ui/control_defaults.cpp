#include "ui/control_defaults.h"

#include "ui/control_defaults_values.h"

namespace vorn {

namespace {

constexpr uint32_t kButtonKindMask = 0xF;
constexpr uint32_t kAutoCheckBox = 0x3;
constexpr uint32_t kAutoRadioButton = 0x9;
constexpr uint32_t kPushLike = 0x1000;
constexpr uint32_t kDefaultPushButton = 0x1;

DefaultLength DialogUnits(int32_t units) noexcept {
  return {true, 0, units};
}
DefaultLength Pixels(int32_t pixels) noexcept {
  return {true, pixels, 0};
}

}  // namespace

DefaultSize ControlDefaultSize(ControlKind kind, uint32_t style,
                               const GivenGeometry& given) noexcept {
  DefaultSize size;
  const bool open_width = !given.WidthDetermined();
  const bool open_height = !given.HeightDetermined();
  switch (kind) {
    case ControlKind::kStaticText:
    case ControlKind::kProgressBar:
    case ControlKind::kHyperlink:
      if (open_height) size.height = DialogUnits(10);
      break;
    case ControlKind::kPushButton: {
      if (open_width) size.width = DialogUnits(50);
      const uint32_t button = style & kButtonKindMask;
      const bool small = button == kAutoCheckBox || button == kAutoRadioButton;
      if (open_height) size.height = DialogUnits(small ? 10 : 14);
      break;
    }
    case ControlKind::kEditBox:
      if (open_height) size.height = DialogUnits(14);
      break;
    case ControlKind::kSeparator:
      // A line two pixels thick: vertical when nothing fixes its width,
      // otherwise horizontal when nothing fixes its height.
      if (open_width) {
        size.width = Pixels(2);
      } else if (open_height) {
        size.height = Pixels(2);
      }
      break;
    case ControlKind::kComboBox:
      // The height of the opened list; only "Height" itself overrides it.
      if (!given.height) size.height = DialogUnits(170);
      break;
  }
  return size;
}

Result ButtonTypeStyle(const char16_t* type, uint32_t& style, bool& is_default) noexcept {
  is_default = false;
  if (SameAttributeText(type, u"PushCheckButton")) {
    style = (style & ~kButtonKindMask) | kPushLike | kAutoCheckBox;
    return kOk;
  }
  if (SameAttributeText(type, u"DefaultButton")) {
    style = (style & ~kButtonKindMask) | kDefaultPushButton;
    is_default = true;
    return kOk;
  }
  return kInvalidArgument;
}

Result ComboBoxTypeStyle(const char16_t* type, uint32_t& style) noexcept {
  uint32_t bits;
  if (SameAttributeText(type, u"List")) {
    bits = 1;
  } else if (SameAttributeText(type, u"Editable")) {
    bits = 2;
  } else if (SameAttributeText(type, u"DropDown")) {
    bits = 3;
  } else {
    return kInvalidArgument;
  }
  style = (style & ~3u) | bits;
  return kOk;
}

}  // namespace vorn
