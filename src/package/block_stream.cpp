#include "package/block_stream.h"

#include <cstdlib>
#include <cstring>

#include "foundation/format.h"
#include "package/package_encoders.h"

namespace vorn {

BlockStream::BlockStream(PackMethod method, uint32_t default_block_size, const char16_t* name,
                         const PackageEncoders* encoders) noexcept
    : method_(method), name_(name), default_block_size_(default_block_size), encoders_(encoders) {}

BlockStream::~BlockStream() {
  FreeCoders();
  std::free(input_);
  std::free(block_);
}

void BlockStream::FreeCoders() noexcept {
  delete decoder_;
  decoder_ = nullptr;
  delete encoder_;
  encoder_ = nullptr;
}

void BlockStream::Clear() noexcept {
  source_ = nullptr;
  source_start_ = packed_size_ = unpacked_size_ = position_ = consumed_ = 0;
  mode_ = kReading;
  block_size_ = 0;
  block_length_ = block_delivered_ = 0;
  failed_ = false;
}

Result BlockStream::CreateDecoder() noexcept {
  if (decoder_ == nullptr) decoder_ = NewBlockDecoder(method_);
  return decoder_ != nullptr ? kOk : kOutOfMemory;
}

Result BlockStream::CreateEncoder() noexcept {
  if (encoders_ == nullptr) return kNotSupported;
  // The encoder depends on the block size and, for LZO, on the mode.
  delete encoder_;
  const LzoLevel level = mode_ == kWritingBest ? LzoLevel::kBest : LzoLevel::kFast;
  encoder_ = encoders_->new_block_encoder(method_, block_size_, level);
  return encoder_ != nullptr ? kOk : kOutOfMemory;
}

Result BlockStream::Init(Stream* source, uint64_t packed_size, uint64_t unpacked_size, Mode mode,
                         uint32_t block_size) noexcept {
  if (source == nullptr) return kInvalidArgument;
  // The coders and buffers stay across entries; the archive re-initialises
  // one stream per entry, and buffers only grow when a larger block comes.
  Clear();
  source_ = source;
  source_start_ = source->Position();
  mode_ = mode;
  block_size_ = block_size != 0 ? block_size : default_block_size_;
  if (block_size_ > kMaxBlockLength) block_size_ = kMaxBlockLength;
  Result result;
  if (mode == kReading) {
    packed_size_ = packed_size;
    unpacked_size_ = unpacked_size;
    result = CreateDecoder();
    if (result == kOk) result = SetDecoderProperties();
  } else {
    result = CreateEncoder();
    if (result == kOk) result = Grow(block_, block_capacity_, block_size_);
    if (result == kOk)
      result = Grow(input_, input_capacity_, FramedBlockBound(*encoder_, block_size_));
    if (result == kOk) result = SetEncoderProperties();
  }
  if (result != kOk) Clear();
  return result;
}

Result BlockStream::Close() noexcept {
  FreeCoders();
  std::free(input_);
  input_ = nullptr;
  input_capacity_ = 0;
  std::free(block_);
  block_ = nullptr;
  block_capacity_ = 0;
  Clear();
  return kOk;
}

Result BlockStream::Grow(uint8_t*& buffer, uint32_t& capacity, uint32_t size) noexcept {
  if (size <= capacity && buffer != nullptr) return kOk;
  // The old bytes are not needed: a block is read or coded whole.
  std::free(buffer);
  capacity = 0;
  buffer = static_cast<uint8_t*>(std::malloc(size != 0 ? size : 1));
  if (buffer == nullptr) return kOutOfMemory;
  capacity = size;
  return kOk;
}

Result BlockStream::ReadPacked(void* buffer, uint32_t count) noexcept {
  if (count > packed_size_ - consumed_ || consumed_ > packed_size_) return kEndOfData;
  Result result = source_->Read(buffer, count);
  if (result == kOk) consumed_ += count;
  return result;
}

Result BlockStream::WritePacked(const void* buffer, uint32_t count) noexcept {
  Result result = source_->Write(buffer, count);
  if (result == kOk) packed_size_ += count;
  return result;
}

Result BlockStream::ReadLength(uint32_t& value) noexcept {
  value = 0;
  for (uint32_t shift = 0; shift < 35; shift += 7) {
    uint8_t byte;
    Result result = ReadPacked(&byte, 1);
    if (result != kOk) return result;
    // Lengths are 32-bit: a fifth byte may only carry the top four bits.
    if (shift == 28 && (byte & 0xF0) != 0) return kFailed;
    value |= static_cast<uint32_t>(byte & 0x7F) << shift;
    if ((byte & 0x80) == 0) return kOk;
  }
  return kFailed;
}

Result BlockStream::NextBlock(uint8_t* direct, uint32_t room, uint32_t& delivered) noexcept {
  delivered = 0;
  uint32_t unpacked = 0;
  uint32_t packed = 0;
  Result result = ReadLength(unpacked);
  if (result == kOk) result = ReadLength(packed);
  if (result != kOk) return result;
  // Lengths are checked against what is left of the entry before anything is
  // allocated for them: a corrupt header cannot make us reserve gigabytes.
  const uint64_t packed_left = packed_size_ - consumed_;
  if (unpacked > unpacked_size_ - position_ || unpacked > kMaxBlockLength) return kFailed;
  if ((packed == 0 ? unpacked : packed) > packed_left || packed > kMaxBlockLength) return kFailed;
  block_length_ = block_delivered_ = 0;
  // A block the caller wants whole is decoded straight into the caller's
  // memory: large reads then cost no copy, and no block buffer.
  uint8_t* output = direct;
  if (unpacked > room) {
    result = Grow(block_, block_capacity_, unpacked);
    if (result != kOk) return result;
    output = block_;
  }
  if (packed == 0) {
    result = ReadPacked(output, unpacked);
  } else {
    result = Grow(input_, input_capacity_, packed);
    if (result == kOk) result = ReadPacked(input_, packed);
    if (result == kOk && unpacked > 0) result = decoder_->Decode(input_, packed, output, unpacked);
  }
  if (result != kOk) return result;
  if (output == direct) {
    delivered = unpacked;
  } else {
    block_length_ = unpacked;
  }
  return kOk;
}

Result BlockStream::Read(void* buffer, uint32_t count) noexcept {
  if (source_ == nullptr) return kNotOpen;
  if (buffer == nullptr) return kNullInput;
  if (count == 0) return kOk;
  if (count > unpacked_size_ - position_ || position_ > unpacked_size_) return kEndOfData;
  if (mode_ != kReading) return kNotOpen;
  // A failed block leaves the stream unusable until it is initialised anew.
  if (failed_) return kFailed;
  auto* to = static_cast<uint8_t*>(buffer);
  while (count > 0) {
    if (block_delivered_ < block_length_) {
      const uint32_t left = block_length_ - block_delivered_;
      const uint32_t part = left < count ? left : count;
      std::memcpy(to, block_ + block_delivered_, part);
      to += part;
      count -= part;
      block_delivered_ += part;
      position_ += part;
      continue;
    }
    uint32_t delivered = 0;
    Result result = NextBlock(to, count, delivered);
    if (result != kOk) {
      failed_ = true;
      return result;
    }
    to += delivered;
    count -= delivered;
    position_ += delivered;
  }
  return kOk;
}

Result BlockStream::CodeBlock() noexcept {
  if (block_length_ == 0) return kOk;
  uint32_t framed = 0;
  Result result = EncodeFramedBlock(*encoder_, block_, block_length_, input_, framed);
  if (result == kOk) result = WritePacked(input_, framed);
  block_length_ = 0;
  return result;
}

Result BlockStream::Write(const void* buffer, uint32_t count) noexcept {
  if (source_ == nullptr) return kNotOpen;
  if (buffer == nullptr) return kNullInput;
  if (count == 0) return kOk;
  if (mode_ == kReading) return kNotOpen;
  const auto* from = static_cast<const uint8_t*>(buffer);
  while (count > 0) {
    const uint32_t room = block_size_ - block_length_;
    const uint32_t part = room < count ? room : count;
    std::memcpy(block_ + block_length_, from, part);
    block_length_ += part;
    from += part;
    count -= part;
    position_ += part;
    unpacked_size_ = position_;
    if (block_length_ == block_size_) {
      Result result = CodeBlock();
      if (result != kOk) return result;
    }
  }
  return kOk;
}

Result BlockStream::Flush(int durable) noexcept {
  if (source_ == nullptr) return kNotOpen;
  if (mode_ == kReading) return source_->Flush(durable);
  Result result = CodeBlock();
  if (result != kOk) return result;
  return source_->Flush(durable);
}

String BlockStream::Describe() noexcept {
  String format = String(name_) + u"({0} packed,{1} unpacked)";
  return Format(format.Text(), FormatArg(packed_size_), FormatArg(unpacked_size_));
}

}  // namespace vorn
