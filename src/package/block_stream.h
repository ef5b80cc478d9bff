// BlockStream: the block framing shared by LZOStream and LZMAStream. Reading
// pulls one block at a time from the archive's source, decodes it whole into
// a reusable block buffer and serves reads from there, so the many small
// reads of a parser cost one decoding per block. Writing (package tools
// only) collects bytes into blocks and codes each one as it fills, with the
// encoders the writer handed to the stream (package/package_encoders.h).
#pragma once

#include <cstdint>

#include "package/block_codec.h"
#include "package/stream.h"

namespace vorn {

struct PackageEncoders;

class BlockStream : public Stream {
 public:
  // 0 reads; 1 and 2 write (for LZO: LZO1X-1 and LZO1X-999).
  enum Mode : uint32_t { kReading = 0, kWriting = 1, kWritingBest = 2 };

  ~BlockStream() override;
  BlockStream(const BlockStream&) = delete;
  BlockStream& operator=(const BlockStream&) = delete;

  // Reading: `source` stands at the entry's data. Writing: `source` is the
  // sink, the sizes are 0 and count what is written; a stream made without
  // encoders cannot write (2). A block size of 0 means the stream's default.
  Result Init(Stream* source, uint64_t packed_size, uint64_t unpacked_size, Mode mode = kReading,
              uint32_t block_size = 0) noexcept;
  uint64_t PackedSize() const noexcept { return packed_size_; }
  uint32_t BlockSize() const noexcept { return block_size_; }

  Result Close() noexcept override;
  Result Read(void* buffer, uint32_t count) noexcept override;
  Result Write(const void* buffer, uint32_t count) noexcept override;
  Result Flush(int durable) noexcept override;
  uint64_t Position() noexcept override { return position_; }
  Result Seek(uint64_t offset) noexcept override { return kNotSupported; }
  uint64_t Size() noexcept override { return unpacked_size_; }
  String Describe() noexcept override;
  bool IsAtEnd() noexcept override { return position_ >= unpacked_size_; }

 protected:
  BlockStream(PackMethod method, uint32_t default_block_size, const char16_t* name,
              const PackageEncoders* encoders) noexcept;

  // The coder's hooks: make the coder objects, and exchange the entry's
  // properties field with the source.
  virtual Result CreateDecoder() noexcept;
  virtual Result CreateEncoder() noexcept;
  virtual Result SetEncoderProperties() noexcept = 0;
  virtual Result SetDecoderProperties() noexcept = 0;

  // Reads exactly `count` bytes of the entry's data; never past its packed
  // size (the next entry follows).
  Result ReadPacked(void* buffer, uint32_t count) noexcept;
  Result WritePacked(const void* buffer, uint32_t count) noexcept;

  PackMethod method_;
  BlockDecoder* decoder_ = nullptr;
  BlockEncoder* encoder_ = nullptr;

 private:
  void Clear() noexcept;
  void FreeCoders() noexcept;
  // Reads the next block's lengths and data. A block of at most `room` bytes
  // is decoded into `direct` (`delivered` says how much); a longer one into
  // the block buffer, to be served from there.
  Result NextBlock(uint8_t* direct, uint32_t room, uint32_t& delivered) noexcept;
  Result ReadLength(uint32_t& value) noexcept;
  Result CodeBlock() noexcept;
  static Result Grow(uint8_t*& buffer, uint32_t& capacity, uint32_t size) noexcept;

  const char16_t* name_;
  uint32_t default_block_size_;
  const PackageEncoders* encoders_;  // null: the stream only reads
  Stream* source_ = nullptr;
  uint64_t source_start_ = 0;
  uint64_t packed_size_ = 0;
  uint64_t unpacked_size_ = 0;
  uint64_t position_ = 0;
  uint64_t consumed_ = 0;  // entry bytes taken from the source
  Mode mode_ = kReading;
  uint32_t block_size_ = 0;
  uint8_t* input_ = nullptr;
  uint32_t input_capacity_ = 0;
  uint8_t* block_ = nullptr;
  uint32_t block_capacity_ = 0;
  uint32_t block_length_ = 0;
  uint32_t block_delivered_ = 0;
  bool failed_ = false;
};

}  // namespace vorn
