#include "ui/geometry.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

GeometryConstraint Parse(const char16_t* text,
                         ExpressionOutcome expected = ExpressionOutcome::kRead) {
  GeometryConstraint constraint;
  EXPECT_EQ(ParseGeometryExpression(text, constraint), expected);
  return constraint;
}

TEST(GeometryTest, Lengths) {
  const char16_t* cursor = u"  -12dlu+4";
  Length length = ParseLength(cursor);
  EXPECT_EQ(length.value, -12);
  EXPECT_TRUE(length.dialog_units);
  EXPECT_EQ(*cursor, u'+');
  cursor = u"11lu";
  length = ParseLength(cursor);
  EXPECT_EQ(length.value, 11);
  EXPECT_FALSE(length.dialog_units);
  EXPECT_EQ(*cursor, 0);
  // Far too many digits wrap instead of overflowing.
  cursor = u"99999999999999999999999";
  ParseLength(cursor);
  EXPECT_EQ(*cursor, 0);
}

TEST(GeometryTest, Constants) {
  GeometryConstraint c = Parse(u"120");
  EXPECT_EQ(c.kind, ConstraintKind::kConstant);
  EXPECT_EQ(c.offset_pixels, 120);
  c = Parse(u"36dlu+2");
  EXPECT_EQ(c.offset_dialog_units, 36);
  EXPECT_EQ(c.offset_pixels, 2);
  c = Parse(u"-4");
  EXPECT_EQ(c.offset_pixels, -4);
  c = Parse(u"");
  EXPECT_EQ(c.kind, ConstraintKind::kConstant);
  EXPECT_EQ(c.offset_pixels, 0);
  // Two lengths of one unit: the second replaces the first.
  c = Parse(u"10+4");
  EXPECT_EQ(c.offset_pixels, 4);
  EXPECT_EQ(ConstantValue(Parse(u"10dlu+4"), 7, true), (1 + 70) / 4 + 4);
}

TEST(GeometryTest, References) {
  GeometryConstraint c = Parse(u"Parent.Width-1");
  EXPECT_EQ(c.kind, ConstraintKind::kWidth);
  EXPECT_EQ(c.reference_id, kParentId);
  EXPECT_EQ(c.offset_pixels, -1);
  c = Parse(u"Icon.Right+7dlu");
  EXPECT_EQ(c.kind, ConstraintKind::kRight);
  EXPECT_EQ(c.reference_id, WindowIdOf(u"Icon"));
  EXPECT_EQ(c.offset_dialog_units, 7);
  c = Parse(u"Separator.Top*.5-24");
  EXPECT_EQ(c.kind, ConstraintKind::kTop);
  EXPECT_FLOAT_EQ(c.factor, 0.5f);
  EXPECT_EQ(c.offset_pixels, -24);
  c = Parse(u"Parent.Height/3");
  EXPECT_FLOAT_EQ(c.factor, 1.0f / 3.0f);
  c = Parse(u"Parent.Width/0");
  EXPECT_FLOAT_EQ(c.factor, 1.0f);
  c = Parse(u"Parent.Wid-8");
  EXPECT_EQ(c.kind, ConstraintKind::kWidth);
  EXPECT_EQ(c.offset_pixels, -8);
  c = Parse(u"Self.Height*0.5+2");
  EXPECT_EQ(c.reference_id, kSelfId);
  EXPECT_EQ(c.kind, ConstraintKind::kHeight);
  EXPECT_EQ(c.offset_pixels, 2);
  c = Parse(u"Parent.Width*.5+11lu");
  EXPECT_EQ(c.offset_pixels, 11);
  EXPECT_EQ(c.offset_dialog_units, 0);
  // An empty property is Width; "B" is Bottom, "T" Top, "L" Left, "R" Right.
  EXPECT_EQ(Parse(u"X.").kind, ConstraintKind::kWidth);
  EXPECT_EQ(Parse(u"X.B").kind, ConstraintKind::kBottom);
  EXPECT_EQ(Parse(u"X.H+3dlu-2").offset_dialog_units, 3);
  EXPECT_EQ(Parse(u"X.H+3dlu-2").offset_pixels, -2);
}

TEST(GeometryTest, MalformedExpressionsResetAndEmptyNamesStop) {
  GeometryConstraint c = Parse(u"Parent.Middle+4");
  EXPECT_EQ(c.kind, ConstraintKind::kNotSet);
  EXPECT_EQ(c.offset_pixels, 0);
  EXPECT_EQ(c.reference_id, kNoWindowId);
  c = Parse(u"Parent.Widths");
  EXPECT_EQ(c.kind, ConstraintKind::kNotSet);
  c = Parse(u".Width", ExpressionOutcome::kStopGeometry);
  EXPECT_EQ(c.kind, ConstraintKind::kNotSet);
  c = Parse(nullptr);
  EXPECT_EQ(c.kind, ConstraintKind::kConstant);
}

TEST(GeometryTest, DialogUnitArithmetic) {
  EXPECT_EQ(DialogUnitsToPixels(8, 7, true), 14);    // (1 + 56) / 4
  EXPECT_EQ(DialogUnitsToPixels(8, 13, false), 13);  // (3 + 104) / 8
  EXPECT_EQ(DialogUnitsToPixels(0, 7, true), 0);     // 1 / 4
  EXPECT_EQ(DialogUnitsToPixels(-8, 7, true), -13);  // (1 - 56) / 4, toward zero
  GeometryConstraint c = Parse(u"Parent.Height*.5-16");
  EXPECT_EQ(ReferenceValue(c, 101, 8, false), 34);  // 50.5 - 16 truncated
  c = Parse(u"X.Width*2");
  EXPECT_EQ(ReferenceValue(c, 5, 4, true), 10);
  c.factor = 1e30f;
  EXPECT_GT(ReferenceValue(c, 5, 4, true), 0);
}

}  // namespace
}  // namespace vorn
