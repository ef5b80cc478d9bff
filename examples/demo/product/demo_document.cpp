#include "demo_document.h"

#include "package/file_stream.h"

namespace demo {

namespace {

using vorn::String;

String DecodeText(const uint8_t* bytes, uint32_t size) noexcept {
  if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    String text;
    for (uint32_t i = 2; i + 1 < size; i += 2) {
      text += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    }
    return text;
  }
  if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    bytes += 3;
    size -= 3;
  }
  return vorn::Utf8ToString(reinterpret_cast<const char*>(bytes), size);
}

bool IsLineEnd(char16_t unit) noexcept {
  return unit == u'\n' || unit == u'\r' || unit == u'\u2028' || unit == u'\u0085';
}

}  // namespace

String FirstLineOf(const uint8_t* bytes, uint32_t size) noexcept {
  if (bytes == nullptr || size == 0) return String();
  const String text = DecodeText(bytes, size);
  String line;
  for (uint32_t i = 0; i < text.Length() && !IsLineEnd(text[i]); ++i) {
    // Tabs, NULs and the like would draw as boxes or cut the text short.
    line += text[i] < 0x20 || text[i] == 0x7F ? u' ' : text[i];
  }
  line.Trim();
  if (line.Length() > kMaxFirstLine) {
    // Never cut between the two halves of a surrogate pair.
    uint32_t keep = kMaxFirstLine;
    if (line[keep - 1] >= 0xD800 && line[keep - 1] <= 0xDBFF) --keep;
    line = line.Left(keep) + u"\u2026";
  }
  return line;
}

vorn::Result ReadFirstLine(const String& path, String& line) noexcept {
  line = String();
  if (path.IsEmpty()) return vorn::kInvalidPath;
  vorn::FileStream file;
  vorn::Result result = file.OpenForReading(path.Text());
  if (result != vorn::kOk) return result;
  const uint64_t size = file.Size();
  const uint32_t head = size < kDocumentHead ? static_cast<uint32_t>(size) : kDocumentHead;
  uint8_t buffer[kDocumentHead];
  // A read delivers the whole count or fails, so ask for exactly what is there.
  if (head > 0) result = file.Read(buffer, head);
  file.Close();
  if (result != vorn::kOk) return result;
  line = FirstLineOf(buffer, head);
  return vorn::kOk;
}

}  // namespace demo
