// Fonts of window descriptions. The "Font" attribute is a comma-separated
// list of tokens: a base ("{Default}", "{Caption}", "{SmallCaption}",
// "{Menu}", "{Status}") or a face name, a pixel size or a "*" scale, and
// the styles Bold, Italic, Underline, Strikeout and FixedPitch. The list is
// parsed on its own and resolved against the system's non-client fonts.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

// A logical font as the platform creates it (the fields of a LOGFONTW that
// descriptions can change).
struct FontDescription {
  static constexpr uint32_t kFaceCapacity = 32;  // with the terminating 0
  int32_t height = -12;
  int32_t weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
  uint8_t char_set = 1;          // the platform's default character set
  uint8_t pitch_and_family = 0;  // default pitch, any family
  char16_t face[kFaceCapacity] = u"MS Shell Dlg";

  void SetFace(const char16_t* text, uint32_t length) noexcept;
  bool operator==(const FontDescription& other) const noexcept;
};

// The system's non-client fonts; when they cannot be read every one of them
// is the fallback (height -12, weight 400, "MS Shell Dlg").
struct NonClientFonts {
  FontDescription message;
  FontDescription caption;
  FontDescription small_caption;
  FontDescription menu;
  FontDescription status;
};

enum class FontBase : uint32_t { kDefault, kCaption, kSmallCaption, kMenu, kStatus };

// A parsed font list.
struct FontList {
  FontBase base = FontBase::kDefault;
  String face;  // empty: the base's own face
  bool has_size = false;
  int32_t size = 0;    // character height in pixels
  float scale = 0.0f;  // applied when greater than 0 and no size is given
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
  bool fixed_pitch = false;
};

// Parsing never fails on content: unknown tokens are face names. 15 for a
// null text.
Result ParseFontList(const char16_t* text, FontList& list) noexcept;
// The logical font the list describes, built on the system's fonts.
FontDescription ResolveFontList(const FontList& list, const NonClientFonts& fonts) noexcept;

// The dialog base units of a font from its measurements: the width of the
// 52 letters A-Z a-z and the cell height (ascent plus descent).
struct DialogBaseUnits {
  int32_t horizontal = 4;
  int32_t vertical = 8;
};
DialogBaseUnits BaseUnitsFromMeasure(int32_t alphabet_width, int32_t cell_height) noexcept;

}  // namespace vorn
