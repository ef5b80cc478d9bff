#include "package/sub_stream.h"

#include "foundation/format.h"

namespace vorn {

Result SubStream::Close() noexcept {
  parent_ = nullptr;
  position_ = size_ = 0;
  return kOk;
}

Result SubStream::Read(void* buffer, uint32_t count) noexcept {
  if (count == 0) return kOk;
  if (parent_ == nullptr) return kNullOutput;
  if (buffer == nullptr) return kNullInput;
  if (count > size_ - position_) return kEndOfData;
  Result result = parent_->Read(buffer, count);
  if (result == kOk) position_ += count;
  return result;
}

Result SubStream::Write(const void* buffer, uint32_t count) noexcept {
  if (count == 0) return kOk;
  if (parent_ == nullptr) return kNullOutput;
  if (buffer == nullptr) return kNullInput;
  Result result = parent_->Write(buffer, count);
  if (result == kOk) position_ += count;
  return result;
}

Result SubStream::Seek(uint64_t offset) noexcept {
  if (parent_ == nullptr) return kNullOutput;
  return offset == position_ ? kOk : kIndexOutOfRange;
}

String SubStream::Describe() noexcept {
  return Format(u"SubStream({0} bytes)", FormatArg(size_));
}

}  // namespace vorn
