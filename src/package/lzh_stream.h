// LZHStream: decodes an archive entry that holds one zlib-wrapped deflate
// stream (method 1), pulling at most the entry's packed bytes from the
// source; the package tool also deflates through it on Write, with the
// encoders it hands to the stream (package/package_encoders.h).
#pragma once

#include <cstdint>

#include "package/stream.h"

namespace vorn {

struct PackageEncoders;

class LZHStream : public Stream {
 public:
  static constexpr uint32_t kChunkSize = 32768;

  // A writer passes the encoders (&kPackageEncoders); without them the
  // stream only inflates, and Write gives 2.
  explicit LZHStream(const PackageEncoders* encoders = nullptr) noexcept;
  ~LZHStream() override;
  LZHStream(const LZHStream&) = delete;
  LZHStream& operator=(const LZHStream&) = delete;

  // The source must already stand at the entry's data; nothing is read yet.
  // For writing, pass the sink and sizes of 0: the sizes then count what was
  // written (unpacked) and what reached the sink (packed).
  Result Init(Stream* source, uint64_t packed_size, uint64_t unpacked_size) noexcept;
  uint64_t PackedSize() const noexcept { return packed_size_; }

  Result Close() noexcept override;
  Result Read(void* buffer, uint32_t count) noexcept override;
  // Deflates into 32,768-byte chunks written to the source; Flush finishes
  // the deflate stream.
  Result Write(const void* buffer, uint32_t count) noexcept override;
  Result Flush(int durable) noexcept override;
  uint64_t Position() noexcept override { return position_; }
  Result Seek(uint64_t offset) noexcept override { return kNotSupported; }
  uint64_t Size() noexcept override { return unpacked_size_; }
  String Describe() noexcept override;
  bool IsAtEnd() noexcept override { return position_ >= unpacked_size_; }

 private:
  enum Direction : uint32_t { kIdle = 0, kInflating = 1, kDeflating = 2 };

  void EndCoder() noexcept;
  Result RefillInput() noexcept;
  Result DrainOutput(int flush) noexcept;

  const PackageEncoders* encoders_;  // null: the stream only reads
  Stream* source_ = nullptr;
  uint64_t source_start_ = 0;
  uint64_t packed_size_ = 0;
  uint64_t unpacked_size_ = 0;
  uint64_t position_ = 0;
  // Bytes taken from the source so far; zlib's own count is 32 bits wide on
  // Windows.
  uint64_t consumed_ = 0;
  Direction direction_ = kIdle;
  // zlib's z_stream, kept opaque so that this header does not pull zlib in.
  alignas(8) unsigned char zlib_[128];
  uint8_t chunk_[kChunkSize];
};

}  // namespace vorn
