// The notations of window descriptions over any UTF-16 text: colours,
// lengths, font lists, geometry expressions and shortcut tables. The first
// byte picks the parser; each must end with a defined result.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ui/color.h"
#include "ui/font.h"
#include "ui/geometry.h"
#include "ui/shortcut_table.h"
#include "xml/xml_document.h"

namespace {

void CheckColor(const char16_t* text) {
  vorn::Color color;
  const vorn::Result result = vorn::ParseColor(text, color);
  if (result != vorn::kOk) {
    // Failures give opaque black.
    if (result != vorn::kInvalidContent || color.rgba != 0xFF000000u || color.system_index != -1) {
      std::abort();
    }
  } else if (color.system_index >= 0 && color.rgba != 0) {
    std::abort();
  }
}

void CheckLength(const char16_t* text) {
  const char16_t* cursor = text;
  vorn::ParseLength(cursor);
  // The cursor stays inside the text.
  const char16_t* end = text;
  while (*end != 0) ++end;
  if (cursor < text || cursor > end) std::abort();
}

void CheckFont(const char16_t* text) {
  vorn::FontList list;
  if (vorn::ParseFontList(text, list) != vorn::kOk) std::abort();
  const vorn::FontDescription font = vorn::ResolveFontList(list, vorn::NonClientFonts());
  if (font.face[vorn::FontDescription::kFaceCapacity - 1] != 0) std::abort();
  if (font.weight != 400 && font.weight != 700) std::abort();
}

void CheckGeometry(const char16_t* text) {
  vorn::GeometryConstraint constraint;
  const vorn::ExpressionOutcome outcome = vorn::ParseGeometryExpression(text, constraint);
  if (static_cast<uint32_t>(constraint.kind) > 7) std::abort();
  if (outcome == vorn::ExpressionOutcome::kStopGeometry &&
      constraint.kind != vorn::ConstraintKind::kNotSet) {
    std::abort();
  }
  if (constraint.kind == vorn::ConstraintKind::kNotSet &&
      (constraint.offset_pixels != 0 || constraint.reference_id != vorn::kNoWindowId)) {
    std::abort();
  }
  if (constraint.IsReference()) {
    vorn::ReferenceValue(constraint, 123, 7, true);
    vorn::ReferenceValue(constraint, -5, 13, false);
  } else {
    vorn::ConstantValue(constraint, 7, true);
  }
}

void CheckShortcuts(const char16_t* text, const uint8_t* bytes, size_t size) {
  vorn::Shortcut shortcut;
  const vorn::Result result = vorn::ParseShortcutKeys(text, shortcut);
  if (result != vorn::kOk && result != vorn::kInvalidContent) std::abort();
  if (result == vorn::kOk && shortcut.key == 0) std::abort();
  // The same bytes as a whole table.
  vorn::XmlDocument document;
  if (document.Parse(bytes, size) != vorn::kOk) return;
  vorn::ShortcutTable table;
  const vorn::Result read = table.Read(document.RootElement());
  if (read != vorn::kOk && table.Count() != 0) std::abort();
  for (uint32_t i = 0; i < table.Count(); ++i) {
    if (table.At(i).key == 0) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t selector = data[0];
  ++data;
  --size;
  std::vector<char16_t> text(size / 2 + 1, 0);
  std::memcpy(text.data(), data, size / 2 * 2);
  switch (selector % 5) {
    case 0:
      CheckColor(text.data());
      break;
    case 1:
      CheckLength(text.data());
      break;
    case 2:
      CheckFont(text.data());
      break;
    case 3:
      CheckGeometry(text.data());
      break;
    default:
      CheckShortcuts(text.data(), data, size);
      break;
  }
  return 0;
}
