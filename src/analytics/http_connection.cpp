#include "analytics/http_connection.h"

#include <cstdlib>
#include <cstring>

namespace vorn {

HttpConnection::~HttpConnection() {
  CloseConnection();
  body_.Close();
  std::free(buffer_);
}

Result HttpConnection::GrowBuffer(uint32_t size) noexcept {
  if (size <= buffer_size_) return kOk;
  auto* grown = static_cast<uint8_t*>(std::realloc(buffer_, size));
  if (grown == nullptr) return kOutOfMemory;
  buffer_ = grown;
  buffer_size_ = size;
  return kOk;
}

Result HttpConnection::PostText(const char16_t* text) noexcept {
  if (text == nullptr) return Post(0);
  // UTF-8 needs up to three bytes for one UTF-16 unit, so the body is sized
  // from the converted text, not from the number of characters.
  const Utf8Text utf8(text);
  const uint32_t length = static_cast<uint32_t>(utf8.Length());
  if (length == 0 && *text != 0) return kOutOfMemory;
  const Result grown = GrowBuffer(length + 1);
  if (grown != kOk) return grown;
  std::memcpy(buffer_, utf8.Text(), length);
  buffer_[length] = 0;
  return Post(length);
}

}  // namespace vorn
