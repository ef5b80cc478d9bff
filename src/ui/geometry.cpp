#include "ui/geometry.h"

#include "foundation/string.h"
#include "xml/xml_text.h"

namespace vorn {
namespace {

bool IsDigit(char16_t unit) noexcept {
  return unit >= u'0' && unit <= u'9';
}

bool IsLetter(char16_t unit) noexcept {
  return (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z');
}

bool IsOperator(char16_t unit) noexcept {
  return unit == u'+' || unit == u'-' || unit == u'*' || unit == u'/';
}

bool IsSign(char16_t unit) noexcept {
  return unit == u'+' || unit == u'-';
}

const char16_t* NextSign(const char16_t* cursor) noexcept {
  while (*cursor != 0 && !IsSign(*cursor)) ++cursor;
  return cursor;
}

void StoreLength(const Length& length, GeometryConstraint& constraint) noexcept {
  // Pixels and dialog units are separate fields: 10dlu+4 keeps both, and a
  // second length of the same unit replaces the first.
  if (length.dialog_units) {
    constraint.offset_dialog_units = length.value;
  } else {
    constraint.offset_pixels = length.value;
  }
}

// A decimal number such as ".5", "0.5" or "3"; advances past it.
float ParseDecimal(const char16_t*& cursor) noexcept {
  const char16_t* start = cursor;
  while (IsDigit(*cursor) || *cursor == u'.') ++cursor;
  const String number(start, static_cast<uint32_t>(cursor - start));
  return static_cast<float>(XmlTextToDouble(number.Text()));
}

struct PropertyName {
  const char16_t* name;
  ConstraintKind kind;
};

constexpr PropertyName kProperties[] = {
    {u"Width", ConstraintKind::kWidth}, {u"Height", ConstraintKind::kHeight},
    {u"Top", ConstraintKind::kTop},     {u"Bottom", ConstraintKind::kBottom},
    {u"Left", ConstraintKind::kLeft},   {u"Right", ConstraintKind::kRight},
};

// The first property name that the text begins (over the text's own
// length, so "W" is Width and the empty text too); kNotSet when none.
ConstraintKind MatchProperty(const char16_t* text, uint32_t length) noexcept {
  for (const PropertyName& property : kProperties) {
    const uint32_t name_length = TextLength(property.name);
    if (length > name_length) continue;
    bool match = true;
    for (uint32_t i = 0; i < length && match; ++i) match = text[i] == property.name[i];
    if (match) return property.kind;
  }
  return ConstraintKind::kNotSet;
}

void ParseConstant(const char16_t* text, GeometryConstraint& constraint) noexcept {
  constraint.kind = ConstraintKind::kConstant;
  const char16_t* cursor = text;
  StoreLength(ParseLength(cursor), constraint);
  cursor = NextSign(cursor);
  if (*cursor != 0) StoreLength(ParseLength(cursor), constraint);
}

ExpressionOutcome ParseReference(const char16_t* text, const char16_t* dot,
                                 GeometryConstraint& constraint) noexcept {
  if (dot == text) return ExpressionOutcome::kStopGeometry;
  const char16_t* property = dot + 1;
  const char16_t* cursor = property;
  while (*cursor != 0 && !IsOperator(*cursor)) ++cursor;
  const ConstraintKind kind = MatchProperty(property, static_cast<uint32_t>(cursor - property));
  if (kind == ConstraintKind::kNotSet) return ExpressionOutcome::kRead;
  constraint.kind = kind;
  constraint.reference_id = WindowIdOf(text, static_cast<uint32_t>(dot - text));
  if (*cursor == u'*') {
    ++cursor;
    constraint.factor = ParseDecimal(cursor);
  } else if (*cursor == u'/') {
    ++cursor;
    const float divisor = ParseDecimal(cursor);
    if (divisor != 0.0f) constraint.factor = 1.0f / divisor;
  } else if (IsSign(*cursor)) {
    StoreLength(ParseLength(cursor), constraint);
  }
  for (int more = 0; more < 2; ++more) {
    cursor = NextSign(cursor);
    if (*cursor == 0) break;
    StoreLength(ParseLength(cursor), constraint);
  }
  return ExpressionOutcome::kRead;
}

}  // namespace

bool IsHorizontal(Edge edge) noexcept {
  return edge == Edge::kLeft || edge == Edge::kRight || edge == Edge::kWidth ||
         edge == Edge::kClientWidth;
}

Length ParseLength(const char16_t*& cursor) noexcept {
  Length length;
  while (*cursor == u' ' || *cursor == u'\t') ++cursor;
  bool negative = false;
  if (IsSign(*cursor)) negative = *cursor++ == u'-';
  uint32_t magnitude = 0;
  for (; IsDigit(*cursor); ++cursor)
    magnitude = magnitude * 10 + static_cast<uint32_t>(*cursor - u'0');
  if (cursor[0] == u'd' && cursor[1] == u'l' && cursor[2] == u'u') {
    length.dialog_units = true;
    cursor += 3;
  } else {
    while (IsLetter(*cursor)) ++cursor;
  }
  // Unsigned arithmetic: an absurdly long number wraps instead of overflowing.
  length.value = static_cast<int32_t>(negative ? 0u - magnitude : magnitude);
  return length;
}

ExpressionOutcome ParseGeometryExpression(const char16_t* text,
                                          GeometryConstraint& constraint) noexcept {
  if (text == nullptr) text = u"";
  // The form is decided by a '.' before the first operator.
  const char16_t* dot = nullptr;
  for (const char16_t* at = text; *at != 0 && !IsOperator(*at); ++at) {
    if (*at == u'.') {
      dot = at;
      break;
    }
  }
  if (dot == nullptr) {
    ParseConstant(text, constraint);
    return ExpressionOutcome::kRead;
  }
  const ExpressionOutcome outcome = ParseReference(text, dot, constraint);
  if (outcome == ExpressionOutcome::kStopGeometry || constraint.kind == ConstraintKind::kNotSet) {
    constraint = GeometryConstraint();
  }
  return outcome;
}

int32_t DialogUnitsToPixels(int32_t dialog_units, int32_t base_unit, bool horizontal) noexcept {
  const int64_t divisor = horizontal ? 4 : 8;
  return static_cast<int32_t>((divisor / 2 - 1 + int64_t{base_unit} * dialog_units) / divisor);
}

int32_t ConstantValue(const GeometryConstraint& constraint, int32_t base_unit,
                      bool horizontal) noexcept {
  const int64_t sum =
      int64_t{DialogUnitsToPixels(constraint.offset_dialog_units, base_unit, horizontal)} +
      constraint.offset_pixels;
  return static_cast<int32_t>(static_cast<uint32_t>(sum));
}

int32_t ReferenceValue(const GeometryConstraint& constraint, int32_t quantity, int32_t base_unit,
                       bool horizontal) noexcept {
  const float dialog = static_cast<float>(
      DialogUnitsToPixels(constraint.offset_dialog_units, base_unit, horizontal));
  const float value = dialog + (static_cast<float>(quantity) * constraint.factor +
                                static_cast<float>(constraint.offset_pixels));
  // Out-of-range results (a huge factor) are clamped rather than left to
  // an undefined conversion.
  if (!(value > -2147483520.0f)) return INT32_MIN + 128;
  if (!(value < 2147483520.0f)) return INT32_MAX - 128;
  return static_cast<int32_t>(value);
}

}  // namespace vorn
