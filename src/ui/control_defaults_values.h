// The attribute-value rules the control readers share with the window
// descriptions: a name's identifier, the integer reading of a text and
// exact comparison.
// Kept here until the window base offers them to every control.
#pragma once

#include <cstdint>

namespace vorn {

// The identifier a name stands for: CRC-16 (polynomial 0x1021, initial
// 0xFFFF, no reflection, no final XOR) over its UTF-16LE bytes. The empty
// name, like a null one, gives 0xFFFF: no window.
uint16_t ControlIdentifier(const char16_t* name) noexcept;
constexpr uint16_t kNoControlIdentifier = 0xFFFF;

// After leading blanks: "0x" and hexadecimal digits, or an optional sign and
// decimal digits; reading stops at the first other character. Overflow wraps
// as a 32-bit value, the way the descriptions' numbers always have.
int32_t ControlInteger(const char16_t* text) noexcept;

// Attribute names and enumerated values compare exactly, code unit by code
// unit; a null text equals nothing.
bool SameAttributeText(const char16_t* text, const char16_t* expected) noexcept;

}  // namespace vorn
