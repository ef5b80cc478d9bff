#include "package/memory_stream.h"

#include <cstring>

#include "foundation/format.h"

namespace vorn {

MemoryStream::MemoryStream(const void* data, uint64_t length) noexcept {
  Open(data, length, kReading);
}

MemoryStream::MemoryStream(void* data, uint64_t length, Mode mode) noexcept {
  Open(data, length, mode);
}

Result MemoryStream::Open(const void* data, uint64_t length, Mode mode) noexcept {
  Close();
  if (data == nullptr) return kNullOutput;
  if (length == 0) return kNoRoom;
  // Reading streams never write through the pointer; the cast only lets one
  // field serve both modes.
  base_ = cursor_ = static_cast<uint8_t*>(const_cast<void*>(data));
  capacity_ = length;
  size_ = mode == kReading ? length : 0;
  mode_ = mode;
  return kOk;
}

Result MemoryStream::Close() noexcept {
  base_ = cursor_ = nullptr;
  capacity_ = size_ = 0;
  mode_ = kReading;
  return kOk;
}

Result MemoryStream::Read(void* buffer, uint32_t count) noexcept {
  if (count == 0) return kOk;
  if (buffer == nullptr) return kNullOutput;
  if (mode_ != kReading) return kNotReadable;
  if (base_ == nullptr) return kNullInput;
  if (count > capacity_ - Position()) return kEndOfData;
  std::memcpy(buffer, cursor_, count);
  cursor_ += count;
  return kOk;
}

Result MemoryStream::Write(const void* buffer, uint32_t count) noexcept {
  if (count == 0) return kOk;
  if (buffer == nullptr) return kNullInput;
  if (mode_ != kWriting) return kNotWritable;
  if (base_ == nullptr) return kNullOutput;
  if (count > capacity_ - Position()) return kNoRoom;
  std::memcpy(cursor_, buffer, count);
  cursor_ += count;
  if (Position() > size_) size_ = Position();
  return kOk;
}

Result MemoryStream::Seek(uint64_t offset) noexcept {
  if (base_ == nullptr) return kNullOutput;
  // Offsets travel as 32-bit values through this stream's callers; a high
  // half is never a valid position. Bounded by the room, not the content.
  if ((offset >> 32) != 0 || offset > capacity_) return kIndexOutOfRange;
  cursor_ = base_ + offset;
  return kOk;
}

String MemoryStream::Describe() noexcept {
  return Format(u"Memory({0:X}h,{1} bytes)",
                FormatArg(static_cast<uint64_t>(reinterpret_cast<uintptr_t>(base_))),
                FormatArg(capacity_));
}

}  // namespace vorn
