// Text at the tool's edges: paths are UTF-16 (what the framework and the
// archive's path hash take), messages and console output are UTF-8.
#pragma once

#include <string>

#include "foundation/string.h"

namespace vornpack {

std::string ToUtf8(const std::u16string& text);
std::string ToUtf8(const vorn::String& text);
std::u16string FromUtf8(const std::string& text);
inline vorn::String ToString(const std::u16string& text) {
  return vorn::String(text.c_str(), static_cast<uint32_t>(text.size()));
}
inline std::u16string FromString(const vorn::String& text) {
  return std::u16string(text.Text(), text.Length());
}

// Text fit for XML content and attribute values alike: the framework's
// parser decodes the five predefined references everywhere and refuses a
// bare '&' or '<'.
std::string EscapeXml(const std::string& utf8);

// "12.3 MiB", "512 bytes": sizes as people read them.
std::string HumanSize(uint64_t bytes);
// Eight upper-case hexadecimal digits.
std::string Hex8(uint32_t value);

}  // namespace vornpack
