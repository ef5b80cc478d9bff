// Geometry of window descriptions: lengths in pixels and dialog units, the
// two expression forms of the eight geometry attributes (constants such as
// "36dlu+2" and references such as "Icon.Right+7dlu" or
// "Parent.Height*.5-16"), and the conversion of dialog units.
#pragma once

#include <cstdint>

#include "ui/window_id.h"

namespace vorn {

class Window;

// The eight constraints, numbered as the programmatic interface numbers them.
enum class Edge : uint32_t {
  kTop = 2,
  kLeft = 3,
  kBottom = 4,
  kRight = 5,
  kWidth = 6,
  kHeight = 7,
  kClientWidth = 8,
  kClientHeight = 9,
};
inline constexpr uint32_t kEdgeCount = 8;
inline uint32_t EdgeIndex(Edge edge) noexcept {
  return static_cast<uint32_t>(edge) - 2;
}
// Left, Right, Width and ClientWidth are horizontal.
bool IsHorizontal(Edge edge) noexcept;

// What a reference expression refers to (kNotSet: the value is whatever the
// platform reports; kConstant: offsets only).
enum class ConstraintKind : uint32_t {
  kNotSet = 0,
  kConstant = 1,
  kTop = 2,
  kLeft = 3,
  kBottom = 4,
  kRight = 5,
  kWidth = 6,
  kHeight = 7,
};

inline constexpr int32_t kUndefinedValue = 0x7FFFFFFB;
inline constexpr int32_t kMinNotSet = INT32_MIN;
inline constexpr int32_t kMaxNotSet = INT32_MAX;
// The platform's "choose a default position or size" value.
inline constexpr int32_t kUseDefault = INT32_MIN;

struct GeometryConstraint {
  Window* reference = nullptr;  // resolved lazily from reference_id
  float factor = 1.0f;
  int32_t offset_pixels = 0;
  int32_t offset_dialog_units = 0;
  int32_t min_pixels = kMinNotSet;
  int32_t min_dialog_units = kMinNotSet;
  int32_t max_pixels = kMaxNotSet;
  int32_t max_dialog_units = kMaxNotSet;
  int32_t value = kUndefinedValue;
  WindowId reference_id = kNoWindowId;
  ConstraintKind kind = ConstraintKind::kNotSet;
  // A value meant only for creating the platform window (the use-default
  // position of main windows); once the window exists it behaves as not set.
  bool creation_only = false;

  bool IsSet() const noexcept { return kind != ConstraintKind::kNotSet; }
  bool IsReference() const noexcept { return kind >= ConstraintKind::kTop; }
};

// One length: blanks, an optional sign, decimal digits and an optional
// "dlu" suffix. Letters other than the suffix are skipped and leave a pixel
// length. Advances `cursor` past what it read.
struct Length {
  int32_t value = 0;
  bool dialog_units = false;
};
Length ParseLength(const char16_t*& cursor) noexcept;

// The result of reading one geometry attribute.
enum class ExpressionOutcome : uint32_t {
  kRead,          // the constraint holds the expression (possibly reset)
  kStopGeometry,  // a reference with an empty name: ignore this and the rest
};

// Parses one expression into a constraint that has been reset first. A
// malformed expression leaves the constraint reset; expressions never fail.
ExpressionOutcome ParseGeometryExpression(const char16_t* text,
                                          GeometryConstraint& constraint) noexcept;

// pixels = (divisor / 2 - 1 + base_unit * dialog_units) / divisor, with
// divisor 4 horizontally and 8 vertically, truncated toward zero.
int32_t DialogUnitsToPixels(int32_t dialog_units, int32_t base_unit, bool horizontal) noexcept;

// The constant value of a constraint (kind 1) from its offsets.
int32_t ConstantValue(const GeometryConstraint& constraint, int32_t base_unit,
                      bool horizontal) noexcept;
// value = converted dialog-unit offset + (quantity * factor + pixel offset),
// in single precision, truncated toward zero.
int32_t ReferenceValue(const GeometryConstraint& constraint, int32_t quantity, int32_t base_unit,
                       bool horizontal) noexcept;

}  // namespace vorn
