#include "package/window_stream.h"

#include "foundation/format.h"

namespace vorn {

Result WindowStream::Open(Stream* inner, uint64_t offset, uint64_t size) noexcept {
  Close();
  if (inner == nullptr) return kNullInput;
  const uint64_t available = inner->Size();
  if (offset > available || size > available - offset) return kInvalidSize;
  Result result = inner->Seek(offset);
  if (result != kOk) return result;
  inner_ = inner;
  offset_ = offset;
  size_ = size;
  position_ = 0;
  return kOk;
}

Result WindowStream::Close() noexcept {
  inner_ = nullptr;
  offset_ = size_ = position_ = 0;
  return kOk;
}

Result WindowStream::Read(void* buffer, uint32_t count) noexcept {
  if (count == 0) return kOk;
  if (inner_ == nullptr) return kNotOpen;
  if (buffer == nullptr) return kNullInput;
  if (count > size_ - position_) return kEndOfData;
  // The inner stream is ours alone, but a failed read may have left it
  // anywhere: put it back where this window stands when it has moved.
  if (inner_->Position() != offset_ + position_) {
    Result result = inner_->Seek(offset_ + position_);
    if (result != kOk) return result;
  }
  Result result = inner_->Read(buffer, count);
  if (result == kOk) position_ += count;
  return result;
}

Result WindowStream::Write(const void* buffer, uint32_t count) noexcept {
  return inner_ == nullptr ? kNotOpen : kNotWritable;
}

Result WindowStream::Seek(uint64_t offset) noexcept {
  if (inner_ == nullptr) return kNotOpen;
  if (offset > size_) return kIndexOutOfRange;
  Result result = inner_->Seek(offset_ + offset);
  if (result == kOk) position_ = offset;
  return result;
}

String WindowStream::Describe() noexcept {
  if (inner_ == nullptr) return String(u"Window(closed)");
  return Format(u"Window({0},{1},{2})", FormatArg(offset_), FormatArg(size_),
                FormatArg(inner_->Describe()));
}

}  // namespace vorn
