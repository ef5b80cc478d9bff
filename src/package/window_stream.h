// WindowStream: a read-only, seekable view onto a range of an inner stream,
// so that data stored inside a larger file (a package carried by an
// executable) reads as a stream of its own, starting at position 0.
#pragma once

#include <cstdint>

#include "package/stream.h"

namespace vorn {

class WindowStream : public Stream {
 public:
  WindowStream() noexcept = default;
  ~WindowStream() override = default;
  WindowStream(const WindowStream&) = delete;
  WindowStream& operator=(const WindowStream&) = delete;

  // Views `size` bytes of `inner` (borrowed) from `offset`, positioned at the
  // start of the range. A range that does not lie inside the inner stream
  // gives 40 and leaves the window closed.
  Result Open(Stream* inner, uint64_t offset, uint64_t size) noexcept;

  Result Close() noexcept override;
  // Never beyond the range: a read that would cross its end gives 19.
  Result Read(void* buffer, uint32_t count) noexcept override;
  // Read-only: 25.
  Result Write(const void* buffer, uint32_t count) noexcept override;
  Result Flush(int durable) noexcept override { return kOk; }
  uint64_t Position() noexcept override { return position_; }
  // Anywhere within the range, its end included; beyond it 37.
  Result Seek(uint64_t offset) noexcept override;
  uint64_t Size() noexcept override { return size_; }
  String Describe() noexcept override;

 private:
  Stream* inner_ = nullptr;
  uint64_t offset_ = 0;
  uint64_t size_ = 0;
  uint64_t position_ = 0;
};

}  // namespace vorn
