// The attribute-value rules the control readers share with the window
// descriptions: the integer reading of a text and exact comparison (names
// become identifiers through WindowIdOf).
#pragma once

#include <cstdint>

namespace vorn {

// After leading blanks: "0x" and hexadecimal digits, or an optional sign and
// decimal digits; reading stops at the first other character. Overflow wraps
// as a 32-bit value, the way the descriptions' numbers always have.
int32_t ControlInteger(const char16_t* text) noexcept;

// Attribute names and enumerated values compare exactly, code unit by code
// unit; a null text equals nothing.
bool SameAttributeText(const char16_t* text, const char16_t* expected) noexcept;

}  // namespace vorn
