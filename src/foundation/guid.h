// GUID values: 16 bytes in textual order, written as 32 upper-case hex
// digits in groups 8-4-4-4-12 without braces.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

struct Guid {
  uint8_t bytes[16];
};

String GuidToText(const Guid& guid) noexcept;
// Exactly 32 hex digits (anything else between them skipped) give the value
// and 0; otherwise the all-zero GUID and 5.
Result TextToGuid(const char16_t* text, Guid& guid) noexcept;
bool IsNullGuid(const Guid& guid) noexcept;
// Between textual order and the layout of a Windows GUID structure (the same
// operation both ways): the first three fields are byte-swapped.
Guid SwapGuidFields(const Guid& guid) noexcept;

}  // namespace vorn
