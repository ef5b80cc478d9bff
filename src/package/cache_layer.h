// CacheLayer: a 16,384-byte window over an inner stream. Small transfers (the
// archive reader takes headers 1 to 8 bytes at a time) are served from the
// window; transfers larger than half of it go straight to the inner stream
// so that big copies land directly in the caller's memory.
#pragma once

#include <cstdint>

#include "package/stream.h"

namespace vorn {

class CacheLayer : public Stream {
 public:
  static constexpr uint32_t kCapacity = 16384;

  CacheLayer() noexcept = default;
  ~CacheLayer() override;
  CacheLayer(const CacheLayer&) = delete;
  CacheLayer& operator=(const CacheLayer&) = delete;

  // Finishes the previous inner stream (its dirty bytes are written and
  // flushed), then starts afresh over `inner` (borrowed; may be null).
  Result Attach(Stream* inner) noexcept;
  Stream* Inner() const noexcept { return inner_; }

  Result Close() noexcept override;
  Result Read(void* buffer, uint32_t count) noexcept override;
  Result Write(const void* buffer, uint32_t count) noexcept override;
  Result Flush(int durable) noexcept override;
  uint64_t Position() noexcept override { return position_; }
  Result Seek(uint64_t offset) noexcept override;
  uint64_t Size() noexcept override;
  String Describe() noexcept override;

 private:
  static constexpr uint64_t kClean = ~uint64_t{0};

  bool IsDirty() const noexcept { return dirty_start_ != kClean; }
  bool UsesWindow(uint32_t count) const noexcept;
  uint64_t WindowEnd() const noexcept { return window_start_ + window_length_; }
  void ResetWindow() noexcept;
  Result Refill() noexcept;
  Result WriteDirtyRange() noexcept;
  Result ReadDirect(void* buffer, uint32_t count) noexcept;
  Result WriteDirect(const void* buffer, uint32_t count) noexcept;
  void TakeInnerPosition() noexcept;

  Stream* inner_ = nullptr;
  uint8_t* buffer_ = nullptr;
  uint64_t position_ = 0;
  uint64_t window_start_ = 0;
  uint32_t window_length_ = 0;
  uint64_t dirty_start_ = kClean;
  uint64_t dirty_end_ = 0;
  // The first write-out that failed since Attach. Close reports it: a file
  // whose bytes did not all reach the inner stream never closes as a
  // success, even when the caller let the earlier failure pass.
  Result lost_write_ = kOk;
};

}  // namespace vorn
