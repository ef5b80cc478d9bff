// Colours of window descriptions: a literal RGBA value or a system colour
// that is looked up each time it is painted.
#pragma once

#include <cstdint>

#include "foundation/result.h"

namespace vorn {

struct Color {
  // Bytes red, green, blue, alpha from the lowest byte up.
  uint32_t rgba = 0xFFFF00FF;
  // A system colour number, or -1 for the literal rgba.
  int32_t system_index = -1;

  static constexpr Color Rgba(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) noexcept {
    return Color{static_cast<uint32_t>(red) | static_cast<uint32_t>(green) << 8 |
                     static_cast<uint32_t>(blue) << 16 | static_cast<uint32_t>(alpha) << 24,
                 -1};
  }
  static constexpr Color System(int32_t index) noexcept { return Color{0, index}; }
  // The "not set" marker (which shares its rgba with "Pink").
  static constexpr Color NotSet() noexcept { return Color{0xFFFF00FF, -1}; }
  static constexpr Color Transparent() noexcept { return Color{0, -1}; }

  bool IsSystem() const noexcept { return system_index >= 0; }
  bool IsNotSet() const noexcept { return system_index < 0 && rgba == 0xFFFF00FF; }
  bool IsTransparent() const noexcept { return system_index < 0 && rgba == 0; }
};

// Where system colours come from (the platform's current values, as rgba
// with alpha 255).
using SystemColorSource = uint32_t (*)(int32_t index);

// The colour's rgba; a system colour asks the source (the current platform
// when none is given).
uint32_t ResolveColor(const Color& color, SystemColorSource source = nullptr) noexcept;
// Two system colours are equal by index; otherwise the resolved values decide.
bool ColorsEqual(const Color& a, const Color& b, SystemColorSource source = nullptr) noexcept;

// The colour a hyperlink is drawn in. Some desktop themes leave the system's
// hyperlink colour (26) nearly as light as the window colour (5): when their
// brightness differs by less than 96 of 255, links are drawn in #0066CC so
// that they stay readable. Any other colour is the description's choice and
// is kept.
Color ReadableLinkColor(const Color& link, SystemColorSource source = nullptr) noexcept;

// Parses a colour attribute value: a system-colour name, "#" and 3, 6 or 8
// hexadecimal digits, or a named colour. 15 for a null text; 33 for anything
// else that is not a colour, with opaque black.
Result ParseColor(const char16_t* text, Color& color) noexcept;

}  // namespace vorn
