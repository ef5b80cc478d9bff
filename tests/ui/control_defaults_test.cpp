#include "ui/control_defaults.h"

#include <gtest/gtest.h>

#include "ui/control_defaults_values.h"
#include "ui/window_id.h"

namespace vorn {
namespace {

std::string Describe(const DefaultLength& length) {
  if (!length.apply) return "-";
  return std::to_string(length.pixels) + "px+" + std::to_string(length.dialog_units) + "dlu";
}

std::string Size(ControlKind kind, uint32_t style, GivenGeometry given) {
  const DefaultSize size = ControlDefaultSize(kind, style, given);
  return Describe(size.width) + " x " + Describe(size.height);
}

TEST(ControlDefaults, SizesApplyOnlyWhereTheDescriptionLeftThemOpen) {
  const GivenGeometry none;
  GivenGeometry left_right;
  left_right.left = left_right.right = true;
  GivenGeometry only_left;
  only_left.left = true;
  GivenGeometry top_bottom;
  top_bottom.top = top_bottom.bottom = true;
  GivenGeometry width;
  width.width = true;

  EXPECT_EQ(Size(ControlKind::kPushButton, kPushButtonStyle, none), "0px+50dlu x 0px+14dlu");
  EXPECT_EQ(Size(ControlKind::kPushButton, kPushButtonStyle, left_right), "- x 0px+14dlu");
  EXPECT_EQ(Size(ControlKind::kPushButton, kPushButtonStyle, only_left), "0px+50dlu x 0px+14dlu");
  EXPECT_EQ(Size(ControlKind::kPushButton, kPushButtonStyle, top_bottom), "0px+50dlu x -");

  // A push-check button is an automatic check box when its size is decided.
  uint32_t style = kPushButtonStyle;
  bool is_default = true;
  ASSERT_EQ(ButtonTypeStyle(u"PushCheckButton", style, is_default), kOk);
  EXPECT_EQ(style, kPushButtonStyle | 0x1003);
  EXPECT_FALSE(is_default);
  EXPECT_EQ(Size(ControlKind::kPushButton, style, none), "0px+50dlu x 0px+10dlu");
  EXPECT_EQ(Size(ControlKind::kPushButton, kPushButtonStyle | 0x9, none), "0px+50dlu x 0px+10dlu");

  EXPECT_EQ(Size(ControlKind::kStaticText, 0, none), "- x 0px+10dlu");
  EXPECT_EQ(Size(ControlKind::kStaticText, 0, top_bottom), "- x -");
  EXPECT_EQ(Size(ControlKind::kEditBox, 0, none), "- x 0px+14dlu");
  EXPECT_EQ(Size(ControlKind::kProgressBar, 0, none), "- x 0px+10dlu");
  EXPECT_EQ(Size(ControlKind::kHyperlink, 0, none), "- x 0px+10dlu");
  EXPECT_EQ(Size(ControlKind::kSeparator, 0, none), "2px+0dlu x -");
  EXPECT_EQ(Size(ControlKind::kSeparator, 0, width), "- x 2px+0dlu");
  EXPECT_EQ(Size(ControlKind::kSeparator, 0, left_right), "- x 2px+0dlu");
  GivenGeometry both = left_right;
  both.height = true;
  EXPECT_EQ(Size(ControlKind::kSeparator, 0, both), "- x -");
  // Only "Height" itself sets the opened list's height.
  EXPECT_EQ(Size(ControlKind::kComboBox, kComboBoxStyle, top_bottom), "- x 0px+170dlu");
  GivenGeometry height;
  height.height = true;
  EXPECT_EQ(Size(ControlKind::kComboBox, kComboBoxStyle, height), "- x -");
}

TEST(ControlDefaults, TypesOutsideTheirTablesGiveFive) {
  uint32_t style = kPushButtonStyle;
  bool is_default = false;
  ASSERT_EQ(ButtonTypeStyle(u"DefaultButton", style, is_default), kOk);
  EXPECT_EQ(style, kPushButtonStyle | 1);
  EXPECT_TRUE(is_default);
  style = kPushButtonStyle;
  EXPECT_EQ(ButtonTypeStyle(u"defaultbutton", style, is_default), kInvalidArgument);
  EXPECT_EQ(ButtonTypeStyle(nullptr, style, is_default), kInvalidArgument);
  EXPECT_EQ(style, kPushButtonStyle);

  for (auto [name, bits] : {std::pair{u"List", 1u}, {u"Editable", 2u}, {u"DropDown", 3u}}) {
    style = kComboBoxStyle;
    ASSERT_EQ(ComboBoxTypeStyle(name, style), kOk);
    EXPECT_EQ(style, (kComboBoxStyle & ~3u) | bits);
  }
  style = kComboBoxStyle;
  EXPECT_EQ(ComboBoxTypeStyle(u"Simple", style), kInvalidArgument);
  EXPECT_EQ(style, kComboBoxStyle);
}

TEST(ControlValues, IdentifiersAndIntegersFollowTheDescriptionRules) {
  // CRC-16/CCITT-FALSE of the UTF-16LE bytes; the empty name is no window.
  EXPECT_EQ(WindowIdOf(u""), 0xFFFF);
  EXPECT_EQ(WindowIdOf(nullptr), 0xFFFF);
  EXPECT_EQ(WindowIdOf(u"1"), 0x2BAB);  // bytes 31 00
  EXPECT_EQ(WindowIdOf(u"InstallCmd"), 0x33F4);
  EXPECT_NE(WindowIdOf(u"OK"), WindowIdOf(u"Cancel"));
  EXPECT_EQ(ControlInteger(u"  42px"), 42);
  EXPECT_EQ(ControlInteger(u"-7"), -7);
  EXPECT_EQ(ControlInteger(u"+7"), 7);
  EXPECT_EQ(ControlInteger(u"0x1F"), 31);
  EXPECT_EQ(ControlInteger(u"0xffffffff"), -1);
  EXPECT_EQ(ControlInteger(u"x1"), 0);
  EXPECT_EQ(ControlInteger(nullptr), 0);
}

}  // namespace
}  // namespace vorn
