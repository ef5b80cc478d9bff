// The text-to-number conversions over any UTF-16 text: they must stop at the
// terminator whatever the input holds, and never run into undefined
// arithmetic.
#include <cstdint>
#include <cstring>
#include <vector>

#include "foundation/string.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<char16_t> text(size / 2 + 1, 0);
  std::memcpy(text.data(), data, size / 2 * 2);
  const char16_t* units = text.data();
  volatile uint64_t sink = 0;
  sink = sink + static_cast<uint32_t>(vorn::TextToInt32(units));
  sink = sink + vorn::TextToUInt32(units);
  sink = sink + static_cast<uint64_t>(vorn::TextToInt64(units));
  sink = sink + vorn::TextToUInt64(units);
  sink = sink + vorn::HexTextToUInt32(units);
  sink = sink + vorn::HexTextToUInt32(units, size > 0 ? data[0] % 10 : 0);
  const float value = vorn::TextToFloat(units);
  sink = sink + (value == value ? 1 : 0);
  return 0;
}
