#include "foundation/guid.h"

#include "foundation/format.h"

namespace vorn {
namespace {

constexpr const char16_t* kGuidTemplate =
    u"{0,02:X}{1,02:X}{2,02:X}{3,02:X}-{4,02:X}{5,02:X}-{6,02:X}{7,02:X}-{8,02:X}{9,02:X}-"
    u"{10,02:X}{11,02:X}{12,02:X}{13,02:X}{14,02:X}{15,02:X}";

int HexValue(char16_t unit) noexcept {
  if (unit >= u'0' && unit <= u'9') return unit - u'0';
  if (unit >= u'A' && unit <= u'F') return unit - u'A' + 10;
  if (unit >= u'a' && unit <= u'f') return unit - u'a' + 10;
  return -1;
}

void Reverse(uint8_t* bytes, int count) noexcept {
  for (int i = 0, j = count - 1; i < j; ++i, --j) {
    const uint8_t t = bytes[i];
    bytes[i] = bytes[j];
    bytes[j] = t;
  }
}

}  // namespace

String GuidToText(const Guid& guid) noexcept {
  FormatArgument arguments[16];
  const FormatArgument* pointers[16];
  for (int i = 0; i < 16; ++i) {
    arguments[i] = FormatArg(guid.bytes[i]);
    pointers[i] = &arguments[i];
  }
  return FormatText(kGuidTemplate, 16, pointers);
}

Result TextToGuid(const char16_t* text, Guid& guid) noexcept {
  guid = Guid{};
  if (text == nullptr) return kInvalidArgument;
  Guid parsed{};
  int digits = 0;
  for (; *text != 0; ++text) {
    const int value = HexValue(*text);
    if (value < 0) continue;
    if (digits == 32) return kInvalidArgument;
    parsed.bytes[digits / 2] = static_cast<uint8_t>(parsed.bytes[digits / 2] << 4 | value);
    ++digits;
  }
  if (digits != 32) return kInvalidArgument;
  guid = parsed;
  return kOk;
}

bool IsNullGuid(const Guid& guid) noexcept {
  uint8_t any = 0;
  for (uint8_t byte : guid.bytes) any |= byte;
  return any == 0;
}

Guid SwapGuidFields(const Guid& guid) noexcept {
  Guid swapped = guid;
  Reverse(swapped.bytes, 4);
  Reverse(swapped.bytes + 4, 2);
  Reverse(swapped.bytes + 6, 2);
  return swapped;
}

}  // namespace vorn
