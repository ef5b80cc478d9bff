// TextStream: the one layer between bytes and UTF-16 text. It wraps another
// Stream (borrowed, never closed here), detects the encoding from a
// byte-order mark or is told it, and reads and writes UTF-16 code units.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"
#include "package/stream.h"

namespace vorn {

// The encoding of a TextStream, in the numbering stored files and callers use.
enum TextEncoding : uint32_t {
  kTextEncodingUnknown = 0,  // decided by the first read
  kTextEncodingAnsi = 1,     // one byte per code unit, U+0000 to U+00FF
  kTextEncodingUtf8 = 2,
  kTextEncodingUtf16Le = 3,
  kTextEncodingUtf16Be = 4,
};

class TextStream final : public Stream {
 public:
  static constexpr uint32_t kCapacity = 16384;  // decoded code units
  static constexpr uint32_t kBufferBytes = kCapacity * 2;

  // The buffer is allocated here; when that fails every read gives 12.
  explicit TextStream(Stream* inner) noexcept;
  ~TextStream() override;
  TextStream(const TextStream&) = delete;
  TextStream& operator=(const TextStream&) = delete;

  // Back to the state of creation; the inner stream stays open.
  Result Close() override;
  // Delivers count / 2 code units. A read that runs into the end of the
  // inner data hands out what was there and fails with 19.
  Result Read(void* buffer, uint32_t count) override;
  // Encodes count / 2 code units in the current mode; no mark is written.
  Result Write(const void* buffer, uint32_t count) override;
  Result Flush(int durable) override;
  uint64_t Position() override;
  // Moves the inner stream and drops whatever was decoded ahead, so the next
  // read decodes from the new offset; the encoding stays as it was.
  Result Seek(uint64_t offset) override;
  uint64_t Size() override;
  String Describe() override;
  bool IsAtEnd() override;

  // The bulk form of Read for parsers: hands out every decoded unit that is
  // waiting, refilling the buffer first when nothing is. `units` stays valid
  // until the next call on this stream. At the end: 19, count 0.
  Result ReadUnits(const char16_t*& units, uint32_t& count) noexcept;

  uint32_t Mode() const noexcept { return mode_; }
  // Sets the encoding for what is decoded or encoded from now on; units
  // already decoded are handed out as they are. Returns 5 above 4.
  Result SetMode(uint32_t mode) noexcept;
  uint64_t UnitsRead() const noexcept { return units_read_; }
  bool IsMarkPending() const noexcept { return mark_pending_; }

 private:
  void Reset() noexcept;
  uint64_t InnerBytesLeft() noexcept;
  Result DetectEncoding() noexcept;
  Result Refill() noexcept;
  Result RefillAnsi() noexcept;
  Result RefillUtf8() noexcept;
  Result RefillUtf16() noexcept;
  Result ReadInner(void* destination, uint32_t count) noexcept;
  Result WriteUnits(const char16_t* units, uint32_t count) noexcept;
  char16_t* Units() noexcept { return reinterpret_cast<char16_t*>(buffer_); }

  Stream* inner_;
  uint64_t remaining_ = 0;
  uint64_t units_read_ = 0;
  uint32_t available_ = 0;
  uint32_t capacity_ = 0;
  unsigned char* buffer_ = nullptr;
  uint32_t read_position_ = 0;
  uint32_t mode_ = kTextEncodingUnknown;
  bool mark_pending_ = true;
  // A malformed sequence stops decoding for good: the units before it are
  // still handed out, then every read reports it.
  Result decode_error_ = kOk;
};

}  // namespace vorn
