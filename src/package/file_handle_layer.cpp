#include "package/file_handle_layer.h"

#include "foundation/format.h"

namespace vorn {

FileHandleLayer::~FileHandleLayer() {
  if (IsOpen()) Close();
}

Result FileHandleLayer::OpenForReading(const char16_t* path) noexcept {
  return Open(path, kReading);
}

Result FileHandleLayer::OpenForWriting(const char16_t* path) noexcept {
  return Open(path, kWriting);
}

Result FileHandleLayer::Open(const char16_t* path, Mode mode) noexcept {
  if (IsOpen()) Close();
  if (path == nullptr || path[0] == 0) return kInvalidName;
  String text(path);
  if (text.IsEmpty()) return kOutOfMemory;
  intptr_t handle = kInvalidHandle;
  Result result = SystemOpen(text, mode, handle);
  if (result != kOk) return result;
  uint64_t size = 0;
  result = SystemSize(handle, size);
  if (result != kOk) {
    SystemClose(handle);
    return result;
  }
  handle_ = handle;
  path_ = static_cast<String&&>(text);
  size_ = size;
  position_ = 0;
  mode_ = mode;
  return kOk;
}

Result FileHandleLayer::SetModificationTime(DateTime time) noexcept {
  if (!IsOpen()) return kNotOpen;
  return SystemSetModificationTime(handle_, time);
}

Result FileHandleLayer::Close() noexcept {
  if (!IsOpen()) return kNotOpen;
  Result result = SystemClose(handle_);
  handle_ = kInvalidHandle;
  path_ = String();
  size_ = position_ = 0;
  mode_ = kReading;
  return result;
}

Result FileHandleLayer::Read(void* buffer, uint32_t count) noexcept {
  if (!IsOpen()) return kNotOpen;
  if (count == 0) return kOk;
  if (buffer == nullptr) return kNullInput;
  if (count > size_ - position_ || position_ > size_) return kEndOfData;
  uint32_t done = 0;
  Result result = SystemRead(handle_, buffer, count, done);
  position_ += done;
  if (position_ > size_) size_ = position_;
  if (result != kOk) return result;
  // The file shrank under us: what arrived is not what was asked for, and a
  // Read never delivers less than its count.
  return done == count ? kOk : kEndOfData;
}

Result FileHandleLayer::Write(const void* buffer, uint32_t count) noexcept {
  if (!IsOpen()) return kNotOpen;
  if (count == 0) return kOk;
  if (buffer == nullptr) return kNullInput;
  uint32_t done = 0;
  Result result = SystemWrite(handle_, buffer, count, done);
  position_ += done;
  if (position_ > size_) size_ = position_;
  if (result != kOk) return result;
  // A device that takes fewer bytes than offered without an error is full.
  return done == count ? kOk : kDiskFull;
}

Result FileHandleLayer::Seek(uint64_t offset) noexcept {
  if (!IsOpen()) return kNotOpen;
  if (offset > size_) return kIndexOutOfRange;
  if (offset == position_) return kOk;
  Result result = SystemSeek(handle_, offset);
  if (result != kOk) return result;
  position_ = offset;
  return kOk;
}

Result FileHandleLayer::Flush(int durable) noexcept {
  if (!IsOpen()) return kNotOpen;
  if (mode_ == kWriting && durable) return SystemFlush(handle_);
  return kOk;
}

String FileHandleLayer::Describe() noexcept {
  return u"\"" + path_ + u"\"";
}

}  // namespace vorn
