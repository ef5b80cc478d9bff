#include "package/text_stream.h"

#include <cstdlib>
#include <cstring>

namespace vorn {
namespace {

// Bytes of one refill in the 8-bit and UTF-8 modes: they land in the upper
// half of the buffer and are widened into the lower half in place.
constexpr uint32_t kByteChunk = TextStream::kCapacity;
// Units of one UTF-16 refill when what remains does not fit the buffer.
constexpr uint32_t kUtf16Chunk = 8192;

inline char16_t SwapBytes(char16_t unit) noexcept {
  return static_cast<char16_t>((unit >> 8) | (unit << 8));
}

inline bool IsContinuation(unsigned char byte) noexcept {
  return (byte & 0xC0) == 0x80;
}

// The UTF-8 form of one code unit; surrogate halves are written on their
// own, three bytes each, which is what the decoder reads back.
inline uint32_t EncodeUtf8(char16_t unit, unsigned char* out) noexcept {
  if (unit < 0x80) {
    out[0] = static_cast<unsigned char>(unit);
    return 1;
  }
  if (unit < 0x800) {
    out[0] = static_cast<unsigned char>(0xC0 | (unit >> 6));
    out[1] = static_cast<unsigned char>(0x80 | (unit & 0x3F));
    return 2;
  }
  out[0] = static_cast<unsigned char>(0xE0 | (unit >> 12));
  out[1] = static_cast<unsigned char>(0x80 | ((unit >> 6) & 0x3F));
  out[2] = static_cast<unsigned char>(0x80 | (unit & 0x3F));
  return 3;
}

const char16_t* DescriptionPrefix(uint32_t mode) noexcept {
  switch (mode) {
    case kTextEncodingAnsi:
      return u"ANSI(";
    case kTextEncodingUtf8:
      return u"UTF-8(";
    case kTextEncodingUtf16Le:
      return u"UTF-16-LE(";
    case kTextEncodingUtf16Be:
      return u"UTF-16-BE(";
    default:
      return nullptr;
  }
}

}  // namespace

TextStream::TextStream(Stream* inner) noexcept : inner_(inner) {
  buffer_ = static_cast<unsigned char*>(std::malloc(kBufferBytes));
  capacity_ = buffer_ ? kCapacity : 0;
  Reset();
}

TextStream::~TextStream() {
  std::free(buffer_);
}

void TextStream::Reset() noexcept {
  remaining_ = InnerBytesLeft();
  units_read_ = 0;
  available_ = 0;
  read_position_ = 0;
  mode_ = kTextEncodingUnknown;
  mark_pending_ = true;
  decode_error_ = kOk;
}

// What lies between the inner stream's position and its end: a stream
// handed over part-way is decoded from where it stands, and a read never
// asks for bytes that are not there.
uint64_t TextStream::InnerBytesLeft() noexcept {
  if (!inner_) return 0;
  const uint64_t size = inner_->Size();
  const uint64_t position = inner_->Position();
  return position < size ? size - position : 0;
}

Result TextStream::Close() {
  Reset();
  return kOk;
}

Result TextStream::SetMode(uint32_t mode) noexcept {
  if (mode > kTextEncodingUtf16Be) return kInvalidArgument;
  mode_ = mode;
  return kOk;
}

Result TextStream::ReadInner(void* destination, uint32_t count) noexcept {
  const Result result = inner_->Read(destination, count);
  if (result == kOk) remaining_ -= count;
  return result;
}

Result TextStream::DetectEncoding() noexcept {
  if (remaining_ == 0) return kEndOfData;
  unsigned char first = 0;
  const Result result = ReadInner(&first, 1);
  if (result != kOk) return result;
  mark_pending_ = false;

  static constexpr unsigned char kUtf8Tail[] = {0xBB, 0xBF};
  static constexpr unsigned char kBigEndianTail[] = {0xFF};
  static constexpr unsigned char kLittleEndianTail[] = {0xFE};
  const unsigned char* tail = nullptr;
  uint32_t tail_length = 0;
  uint32_t mode = kTextEncodingAnsi;
  switch (first) {
    case 0xEF:
      tail = kUtf8Tail, tail_length = 2, mode = kTextEncodingUtf8;
      break;
    case 0xFE:
      tail = kBigEndianTail, tail_length = 1, mode = kTextEncodingUtf16Be;
      break;
    case 0xFF:
      tail = kLittleEndianTail, tail_length = 1, mode = kTextEncodingUtf16Le;
      break;
    default:
      // No mark: the byte itself is the first unit, taken as is.
      Units()[0] = first;
      read_position_ = 0;
      available_ = 1;
      mode_ = kTextEncodingAnsi;
      return kOk;
  }
  // A mark cut short by the end of the data is as damaged as a wrong one.
  if (remaining_ < tail_length) return kBadFormat;
  unsigned char rest[2] = {};
  const Result tail_result = ReadInner(rest, tail_length);
  if (tail_result != kOk) return tail_result;
  if (std::memcmp(rest, tail, tail_length) != 0) return kBadFormat;
  mode_ = mode;
  return kOk;
}

Result TextStream::Refill() noexcept {
  if (decode_error_ != kOk) return decode_error_;
  if (capacity_ == 0) return kOutOfMemory;
  read_position_ = 0;
  available_ = 0;
  if (mode_ == kTextEncodingUnknown) {
    if (!mark_pending_) return kBadFormat;
    const Result result = DetectEncoding();
    if (result != kOk || available_ > 0) return result;
  }
  if (remaining_ == 0) return kEndOfData;
  switch (mode_) {
    case kTextEncodingAnsi:
      return RefillAnsi();
    case kTextEncodingUtf8:
      return RefillUtf8();
    default:
      return RefillUtf16();
  }
}

Result TextStream::RefillAnsi() noexcept {
  const uint32_t count = remaining_ < kByteChunk ? static_cast<uint32_t>(remaining_) : kByteChunk;
  unsigned char* bytes = buffer_ + kBufferBytes / 2;
  const Result result = ReadInner(bytes, count);
  if (result != kOk) return result;
  // Forward widening never overwrites a byte before it is read: unit i ends
  // at byte 2i + 1, below the upper half's byte i.
  char16_t* units = Units();
  for (uint32_t i = 0; i < count; ++i) units[i] = bytes[i];
  available_ = count;
  return kOk;
}

// Decodes one chunk of UTF-8 into the lower half of the buffer. Output unit
// i ends at byte 2i + 1 while the next input byte is at least at i + 1 in
// the upper half, so decoding in place never overruns unread input.
Result TextStream::RefillUtf8() noexcept {
  const uint32_t count = remaining_ < kByteChunk ? static_cast<uint32_t>(remaining_) : kByteChunk;
  const unsigned char* p = buffer_ + kBufferBytes / 2;
  const Result result = ReadInner(buffer_ + kBufferBytes / 2, count);
  if (result != kOk) return result;
  const unsigned char* const end = p + count;
  char16_t* const units = Units();
  char16_t* out = units;
  Result error = kOk;
  while (p < end) {
    // Runs of ASCII, eight at a time: the usual content of our documents.
    while (end - p >= 8) {
      uint64_t eight;
      std::memcpy(&eight, p, 8);
      if (eight & 0x8080808080808080ULL) break;
      for (int i = 0; i < 8; ++i) out[i] = static_cast<char16_t>(p[i]);
      out += 8;
      p += 8;
    }
    if (p == end) break;
    const unsigned char lead = *p;
    if (lead < 0x80) {
      *out++ = lead;
      ++p;
      continue;
    }
    uint32_t tail_length;
    uint32_t value;
    if ((lead & 0xE0) == 0xC0) {
      tail_length = 1, value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      tail_length = 2, value = lead & 0x0F;
    } else {
      error = kSyntaxError;  // a stray continuation byte, or four bytes and up
      break;
    }
    unsigned char tail[2];
    const uint32_t in_chunk = static_cast<uint32_t>(end - p - 1);
    const uint32_t taken = in_chunk < tail_length ? in_chunk : tail_length;
    std::memcpy(tail, p + 1, taken);
    if (taken < tail_length) {
      // The chunk ended inside the sequence: its missing bytes come straight
      // from the inner stream, and data that simply stops there is malformed.
      const uint32_t missing = tail_length - taken;
      if (remaining_ < missing) {
        error = kSyntaxError;
        break;
      }
      error = ReadInner(tail + taken, missing);
      if (error != kOk) break;
    }
    if (!IsContinuation(tail[0]) || (tail_length == 2 && !IsContinuation(tail[1]))) {
      error = kSyntaxError;
      break;
    }
    for (uint32_t i = 0; i < tail_length; ++i) value = (value << 6) | (tail[i] & 0x3F);
    *out++ = static_cast<char16_t>(value);
    p += 1 + taken;
  }
  available_ = static_cast<uint32_t>(out - units);
  if (error != kOk) {
    decode_error_ = error;
    if (available_ == 0) return error;
  }
  return kOk;
}

Result TextStream::RefillUtf16() noexcept {
  if (remaining_ & 1) {
    decode_error_ = kSyntaxError;
    return kSyntaxError;
  }
  const uint64_t left = remaining_ / 2;
  const uint32_t count = left <= kCapacity ? static_cast<uint32_t>(left) : kUtf16Chunk;
  const Result result = ReadInner(buffer_, count * 2);
  if (result != kOk) return result;
  char16_t* units = Units();
  if (mode_ == kTextEncodingUtf16Be) {
    for (uint32_t i = 0; i < count; ++i) units[i] = SwapBytes(units[i]);
  }
  available_ = count;
  return kOk;
}

Result TextStream::Read(void* buffer, uint32_t count) {
  uint32_t wanted = count / 2;
  if (wanted == 0) return kOk;
  if (!buffer) return kNullInput;
  if (!inner_) return kInvalidState;
  char16_t* out = static_cast<char16_t*>(buffer);
  while (wanted > 0) {
    if (available_ == 0) {
      const Result result = Refill();
      if (result != kOk) return result;
    }
    const uint32_t step = available_ < wanted ? available_ : wanted;
    std::memcpy(out, Units() + read_position_, step * sizeof(char16_t));
    out += step;
    wanted -= step;
    read_position_ += step;
    available_ -= step;
    units_read_ += step;
  }
  return kOk;
}

Result TextStream::ReadUnits(const char16_t*& units, uint32_t& count) noexcept {
  units = nullptr;
  count = 0;
  if (!inner_) return kInvalidState;
  if (available_ == 0) {
    const Result result = Refill();
    if (result != kOk) return result;
  }
  units = Units() + read_position_;
  count = available_;
  read_position_ += available_;
  units_read_ += available_;
  available_ = 0;
  return kOk;
}

Result TextStream::Write(const void* buffer, uint32_t count) {
  if (!buffer) return kNullInput;
  if (count == 0) return kOk;
  if (count & 1) return kInvalidSize;
  if (mode_ == kTextEncodingUnknown) return kBadFormat;
  if (!inner_) return kInvalidState;
  // The source need not be aligned for char16_t.
  const unsigned char* bytes = static_cast<const unsigned char*>(buffer);
  if (mode_ == kTextEncodingUtf16Le) return inner_->Write(bytes, count);
  for (uint32_t i = 0; i < count; i += 2) {
    char16_t unit;
    std::memcpy(&unit, bytes + i, 2);
    const Result result = WriteUnits(&unit, 1);
    if (result != kOk) return result;
  }
  return kOk;
}

// One inner write per unit, so a failing inner stream holds every unit
// before the one that failed.
Result TextStream::WriteUnits(const char16_t* units, uint32_t count) noexcept {
  for (uint32_t i = 0; i < count; ++i) {
    unsigned char encoded[3];
    uint32_t length;
    switch (mode_) {
      case kTextEncodingAnsi:
        encoded[0] = static_cast<unsigned char>(units[i] & 0xFF);
        length = 1;
        break;
      case kTextEncodingUtf8:
        length = EncodeUtf8(units[i], encoded);
        break;
      default:  // big-endian: high byte first
        encoded[0] = static_cast<unsigned char>(units[i] >> 8);
        encoded[1] = static_cast<unsigned char>(units[i] & 0xFF);
        length = 2;
        break;
    }
    const Result result = inner_->Write(encoded, length);
    if (result != kOk) return result;
  }
  return kOk;
}

Result TextStream::Flush(int durable) {
  return inner_ ? inner_->Flush(durable) : kInvalidState;
}

uint64_t TextStream::Position() {
  return inner_ ? inner_->Position() : 0;
}

Result TextStream::Seek(uint64_t offset) {
  if (!inner_) return kInvalidState;
  const Result result = inner_->Seek(offset);
  if (result != kOk) return result;
  available_ = 0;
  read_position_ = 0;
  decode_error_ = kOk;
  remaining_ = InnerBytesLeft();
  return kOk;
}

uint64_t TextStream::Size() {
  return inner_ ? inner_->Size() : 0;
}

String TextStream::Describe() {
  const String inner = inner_ ? inner_->Describe() : String(u"n/a");
  const char16_t* prefix = DescriptionPrefix(mode_);
  if (!prefix) return inner;
  return String(prefix + inner + u')');
}

bool TextStream::IsAtEnd() {
  return available_ == 0 && remaining_ == 0;
}

}  // namespace vorn
