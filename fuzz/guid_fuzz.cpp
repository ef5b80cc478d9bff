// GUID text parsing over any UTF-16 text; whatever parses must print back to
// a text that parses to the same value.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "foundation/guid.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<char16_t> text(size / 2 + 1, 0);
  std::memcpy(text.data(), data, size / 2 * 2);
  vorn::Guid guid;
  const vorn::Result result = vorn::TextToGuid(text.data(), guid);
  if (result != vorn::kOk) {
    if (result != vorn::kInvalidArgument || !vorn::IsNullGuid(guid)) std::abort();
    return 0;
  }
  const vorn::String printed = vorn::GuidToText(guid);
  if (printed.Length() != 36) std::abort();
  vorn::Guid again;
  if (vorn::TextToGuid(printed.Text(), again) != vorn::kOk) std::abort();
  if (std::memcmp(&again, &guid, sizeof guid) != 0) std::abort();
  const vorn::Guid swapped = vorn::SwapGuidFields(vorn::SwapGuidFields(guid));
  if (std::memcmp(&swapped, &guid, sizeof guid) != 0) std::abort();
  return 0;
}
