// FormatText over templates and arguments taken from the input: the first
// byte chooses the argument count, nine bytes per argument give its tag and
// value, the rest is the template (UTF-16). Text arguments point into a
// terminated copy of the input's tail.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "foundation/format.h"

namespace {

constexpr size_t kMaxArguments = 8;

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t count = data[0] % (kMaxArguments + 1);
  const bool null_array = (data[0] & 0x80) != 0 && count > 0;
  size_t at = 1;
  if (size < at + count * 9) return 0;

  // The tail as UTF-16, terminated: it is the template and the pool that
  // text arguments point into.
  const size_t units = (size - at - count * 9) / 2;
  std::vector<char16_t> tail(units + 1, 0);
  std::memcpy(tail.data(), data + at + count * 9, units * 2);

  vorn::FormatArgument arguments[kMaxArguments];
  const vorn::FormatArgument* pointers[kMaxArguments];
  for (size_t i = 0; i < count; ++i, at += 9) {
    vorn::FormatArgument& argument = arguments[i];
    std::memcpy(argument.value, data + at + 1, 8);
    argument.tag = data[at] % 16;  // 13 to 15 are invalid tags
    if (argument.tag == 11) {
      uint32_t offset;
      std::memcpy(&offset, argument.value, sizeof offset);
      // Offset 0xFFFF... stands for the null text.
      const char16_t* text = offset == 0xFFFFFFFFu ? nullptr : tail.data() + offset % tail.size();
      argument = vorn::FormatArg(text);
    }
    pointers[i] = (data[at] & 0x80) != 0 && (data[at] & 0x40) != 0 ? nullptr : &argument;
  }

  const vorn::String result =
      vorn::FormatText(tail.data(), static_cast<uint32_t>(count), null_array ? nullptr : pointers);
  Check(result.Length() <= 4095);
  Check(result.Text()[result.Length()] == 0);
  for (uint32_t i = 0; i < result.Length(); ++i) Check(result[i] != 0);
  return 0;
}
