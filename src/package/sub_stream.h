// SubStream: a counted view onto a parent stream that delivers one archive
// entry. It only moves forward: no random access inside an entry.
#pragma once

#include <cstdint>

#include "package/stream.h"

namespace vorn {

class SubStream : public Stream {
 public:
  SubStream() noexcept = default;
  SubStream(Stream* parent, uint64_t size) noexcept : parent_(parent), size_(size) {}
  ~SubStream() override = default;
  SubStream(const SubStream&) = delete;
  SubStream& operator=(const SubStream&) = delete;

  Stream* Parent() const noexcept { return parent_; }

  Result Close() noexcept override;
  // Never beyond the size, so a stored entry cannot hand out the bytes of the
  // entry that follows it.
  Result Read(void* buffer, uint32_t count) noexcept override;
  Result Write(const void* buffer, uint32_t count) noexcept override;
  Result Flush(int durable) noexcept override { return kOk; }
  uint64_t Position() noexcept override { return position_; }
  // Only to the current position (0); elsewhere 37.
  Result Seek(uint64_t offset) noexcept override;
  uint64_t Size() noexcept override { return size_; }
  String Describe() noexcept override;

 private:
  Stream* parent_ = nullptr;
  uint64_t position_ = 0;
  uint64_t size_ = 0;
};

}  // namespace vorn
