#include "package/lzh_stream.h"

#include <zlib.h>

#include <cstdlib>
#include <cstring>

#include "foundation/format.h"
#include "package/package_encoders.h"

namespace vorn {

static_assert(sizeof(z_stream) <= 128, "the opaque zlib state is too small");

namespace {

z_stream& Zlib(unsigned char* storage) {
  return *reinterpret_cast<z_stream*>(storage);
}

voidpf Allocate(voidpf, uInt count, uInt size) {
  if (size != 0 && count > SIZE_MAX / size) return Z_NULL;
  return std::malloc(static_cast<size_t>(count) * size);
}

void Free(voidpf, voidpf address) {
  std::free(address);
}

void ResetZlib(z_stream& z) {
  std::memset(&z, 0, sizeof(z));
  z.zalloc = Allocate;
  z.zfree = Free;
}

Result MapInflateResult(int code) {
  switch (code) {
    case Z_VERSION_ERROR:
      return kBadFormat;
    case Z_BUF_ERROR:
    case Z_DATA_ERROR:
    case Z_STREAM_ERROR:
      return kNullInput;
    case Z_MEM_ERROR:
      return kOutOfMemory;
    default:
      return kSystemFailure;
  }
}

}  // namespace

LZHStream::LZHStream(const PackageEncoders* encoders) noexcept : encoders_(encoders) {
  ResetZlib(Zlib(zlib_));
}

LZHStream::~LZHStream() {
  Close();
}

void LZHStream::EndCoder() noexcept {
  if (direction_ == kInflating) inflateEnd(&Zlib(zlib_));
  if (direction_ == kDeflating) encoders_->deflate_end(&Zlib(zlib_));
  direction_ = kIdle;
  consumed_ = 0;
  ResetZlib(Zlib(zlib_));
}

Result LZHStream::Init(Stream* source, uint64_t packed_size, uint64_t unpacked_size) noexcept {
  if (source == nullptr) return kInvalidArgument;
  Close();
  source_ = source;
  source_start_ = source->Position();
  packed_size_ = packed_size;
  unpacked_size_ = unpacked_size;
  return kOk;
}

Result LZHStream::Close() noexcept {
  EndCoder();
  source_ = nullptr;
  source_start_ = packed_size_ = unpacked_size_ = position_ = consumed_ = 0;
  return kOk;
}

Result LZHStream::RefillInput() noexcept {
  z_stream& z = Zlib(zlib_);
  const uint64_t left = packed_size_ - consumed_;
  const uint32_t part = left < kChunkSize ? static_cast<uint32_t>(left) : kChunkSize;
  Result result = source_->Read(chunk_, part);
  if (result != kOk) {
    z.next_in = chunk_;
    z.avail_in = 0;
    return result;
  }
  consumed_ += part;
  z.next_in = chunk_;
  z.avail_in = part;
  return kOk;
}

Result LZHStream::Read(void* buffer, uint32_t count) noexcept {
  if (source_ == nullptr) return kNotOpen;
  if (count == 0 && buffer != nullptr) return kOk;
  if (buffer == nullptr) return kNullInput;
  if (count > unpacked_size_ - position_ || position_ > unpacked_size_) return kEndOfData;
  z_stream& z = Zlib(zlib_);
  if (direction_ == kDeflating) return kNotOpen;
  if (direction_ == kIdle) {
    ResetZlib(z);
    const int code = inflateInit(&z);
    if (code != Z_OK) return MapInflateResult(code);
    direction_ = kInflating;
  }
  z.next_out = static_cast<Bytef*>(buffer);
  z.avail_out = count;
  for (;;) {
    if (z.avail_in == 0) {
      // Never past the entry's packed bytes: the next entry's data follows.
      if (consumed_ >= packed_size_) return kEndOfData;
      Result result = RefillInput();
      if (result != kOk) return result;
    }
    const int code = inflate(&z, Z_NO_FLUSH);
    if (code == Z_OK && z.avail_out > 0) continue;
    if (code == Z_OK || code == Z_STREAM_END) {
      // A deflate stream that ends before the declared size cannot fill the
      // request; the caller's bytes past the end would be garbage.
      if (z.avail_out > 0) return kEndOfData;
      position_ += count;
      return kOk;
    }
    return MapInflateResult(code);
  }
}

Result LZHStream::DrainOutput(int flush) noexcept {
  z_stream& z = Zlib(zlib_);
  for (;;) {
    z.next_out = chunk_;
    z.avail_out = kChunkSize;
    const int code = encoders_->deflate(&z, flush);
    if (code == Z_STREAM_ERROR) return kFailed;
    const uint32_t produced = kChunkSize - z.avail_out;
    Result result = source_->Write(chunk_, produced);
    if (result != kOk) return result;
    packed_size_ += produced;
    if (flush == Z_FINISH ? code == Z_STREAM_END : z.avail_out != 0) return kOk;
  }
}

Result LZHStream::Write(const void* buffer, uint32_t count) noexcept {
  if (source_ == nullptr) return kNotOpen;
  if (count == 0) return kOk;
  if (buffer == nullptr) return kNullInput;
  z_stream& z = Zlib(zlib_);
  if (direction_ == kInflating) return kNotOpen;
  if (direction_ == kIdle) {
    if (encoders_ == nullptr) return kNotSupported;
    ResetZlib(z);
    const int code = encoders_->deflate_init(&z, Z_BEST_COMPRESSION);
    if (code != Z_OK) return code == Z_MEM_ERROR ? kOutOfMemory : kFailed;
    direction_ = kDeflating;
    packed_size_ = unpacked_size_ = position_ = 0;
  }
  z.next_in = static_cast<Bytef*>(const_cast<void*>(buffer));
  z.avail_in = count;
  Result result = DrainOutput(Z_NO_FLUSH);
  if (result != kOk) return result;
  position_ += count;
  unpacked_size_ = position_;
  return kOk;
}

Result LZHStream::Flush(int durable) noexcept {
  if (source_ == nullptr) return kNotOpen;
  if (direction_ == kIdle) return kNotSupported;
  if (direction_ == kDeflating) {
    Zlib(zlib_).next_in = nullptr;
    Zlib(zlib_).avail_in = 0;
    Result result = DrainOutput(Z_FINISH);
    if (result != kOk) return result;
  }
  // Sizes stay: the writer reads them after finishing the stream.
  const uint64_t packed = packed_size_;
  const uint64_t unpacked = unpacked_size_;
  EndCoder();
  packed_size_ = packed;
  unpacked_size_ = unpacked;
  return source_->Flush(durable);
}

String LZHStream::Describe() noexcept {
  return Format(u"LZHStream({0} packed,{1} unpacked)", FormatArg(packed_size_),
                FormatArg(unpacked_size_));
}

}  // namespace vorn
