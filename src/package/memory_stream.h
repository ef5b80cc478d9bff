// MemoryStream: a Stream over borrowed memory (the embedded package, XML text,
// HTTP bodies). It never allocates or frees the memory it reads or writes.
#pragma once

#include <cstdint>

#include "package/stream.h"

namespace vorn {

class MemoryStream : public Stream {
 public:
  enum Mode : uint32_t { kReading = 1, kWriting = 2 };

  MemoryStream() noexcept = default;
  // Open over `length` bytes for reading.
  MemoryStream(const void* data, uint64_t length) noexcept;
  // Open over `length` bytes of room in the given mode.
  MemoryStream(void* data, uint64_t length, Mode mode) noexcept;
  ~MemoryStream() override { Close(); }
  MemoryStream(const MemoryStream&) = delete;
  MemoryStream& operator=(const MemoryStream&) = delete;

  // With data and a non-zero length: opens (size = length when reading, 0
  // when writing). Otherwise resets and fails: 24 for a length of 0, 23 for
  // missing data.
  Result Open(const void* data, uint64_t length, Mode mode) noexcept;

  Result Close() noexcept override;
  Result Read(void* buffer, uint32_t count) noexcept override;
  Result Write(const void* buffer, uint32_t count) noexcept override;
  Result Flush(int durable) noexcept override { return kOk; }
  uint64_t Position() noexcept override { return cursor_ - base_; }
  Result Seek(uint64_t offset) noexcept override;
  uint64_t Size() noexcept override { return size_; }
  String Describe() noexcept override;

  const uint8_t* Data() const noexcept { return base_; }
  uint64_t Capacity() const noexcept { return capacity_; }
  Mode GetMode() const noexcept { return mode_; }

 private:
  uint8_t* base_ = nullptr;
  uint8_t* cursor_ = nullptr;
  uint64_t capacity_ = 0;
  uint64_t size_ = 0;
  Mode mode_ = kReading;
};

}  // namespace vorn
