#include "package/file_stream.h"

#include "foundation/format.h"

namespace vorn {

FileStream::~FileStream() {
  if (IsOpen()) Close();
}

Result FileStream::OpenForReading(const char16_t* path) noexcept {
  return Open(path, false);
}

Result FileStream::OpenForWriting(const char16_t* path) noexcept {
  return Open(path, true);
}

Result FileStream::Open(const char16_t* path, bool writing) noexcept {
  if (IsOpen()) Close();
  if (path == nullptr || path[0] == 0) return kInvalidName;
  Result result = writing ? handle_.OpenForWriting(path) : handle_.OpenForReading(path);
  if (result != kOk) return result;
  result = cache_.Attach(&handle_);
  if (result != kOk) handle_.Close();
  return result;
}

Result FileStream::SetModificationTime(DateTime time) noexcept {
  if (!IsOpen()) return kNotOpen;
  // Pending bytes would move the time again when they reach the file.
  Result result = cache_.Flush(0);
  if (result != kOk) return result;
  return handle_.SetModificationTime(time);
}

Result FileStream::Close() noexcept {
  if (!IsOpen()) return kNotOpen;
  return cache_.Close();
}

Result FileStream::Read(void* buffer, uint32_t count) noexcept {
  if (!IsOpen()) return kNotOpen;
  return cache_.Read(buffer, count);
}

Result FileStream::Write(const void* buffer, uint32_t count) noexcept {
  if (!IsOpen()) return kNotOpen;
  return cache_.Write(buffer, count);
}

Result FileStream::Flush(int durable) noexcept {
  if (!IsOpen()) return kNotOpen;
  return cache_.Flush(durable);
}

uint64_t FileStream::Position() noexcept {
  return IsOpen() ? cache_.Position() : uint64_t{kNotOpen};
}

Result FileStream::Seek(uint64_t offset) noexcept {
  if (!IsOpen()) return kNotOpen;
  return cache_.Seek(offset);
}

uint64_t FileStream::Size() noexcept {
  return IsOpen() ? cache_.Size() : uint64_t{kNotOpen};
}

String FileStream::Describe() noexcept {
  String top = cache_.Describe();
  return Format(u"File({0})", FormatArg(top));
}

}  // namespace vorn
