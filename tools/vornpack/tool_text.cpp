#include "tool_text.h"

#include <cstdio>

namespace vornpack {

std::string ToUtf8(const vorn::String& text) {
  vorn::Utf8Text utf8(text);
  return std::string(utf8.Text(), utf8.Length());
}

std::string ToUtf8(const std::u16string& text) {
  return ToUtf8(ToString(text));
}

std::u16string FromUtf8(const std::string& text) {
  return FromString(vorn::Utf8ToString(text.data(), text.size()));
}

std::string EscapeXml(const std::string& utf8) {
  std::string out;
  for (char c : utf8) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string HumanSize(uint64_t bytes) {
  char text[64];
  if (bytes < 1024) {
    std::snprintf(text, sizeof text, "%llu bytes", static_cast<unsigned long long>(bytes));
  } else if (bytes < (1ull << 20)) {
    std::snprintf(text, sizeof text, "%.1f KiB", bytes / 1024.0);
  } else if (bytes < (1ull << 30)) {
    std::snprintf(text, sizeof text, "%.1f MiB", bytes / 1048576.0);
  } else {
    std::snprintf(text, sizeof text, "%.2f GiB", bytes / 1073741824.0);
  }
  return text;
}

std::string Hex8(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(value));
  return text;
}

}  // namespace vornpack
