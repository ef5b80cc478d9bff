#include "package/package_format.h"

#include "package/checksum.h"

namespace vorn {

const uint8_t kArchiveMagic[kMagicSize] = {'K', 'e', 'l', 'p', 'F', 'i', 'L', 'e', 0x1A, 0x00};
const uint8_t kArchiveHeaderFields[14] = {10, 2, 2, 8, 8, 4, 4, 4, 4, 4, 2, 2, 2, 1};
const uint8_t kEntryHeaderFields[9] = {2, 8, 8, 4, 4, 2, 2, 2, 1};

namespace {

uint64_t Load(const uint8_t* bytes, unsigned width) {
  uint64_t value = 0;
  for (unsigned i = width; i > 0; --i) value = value << 8 | bytes[i - 1];
  return value;
}

void Store(uint8_t* bytes, uint64_t value, unsigned width) {
  for (unsigned i = 0; i < width; ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t ChecksumAround(const uint8_t* bytes, uint32_t field, uint32_t size) {
  const uint32_t crc = Crc32(bytes, field);
  return Crc32(crc, bytes + field + 4, size - field - 4);
}

uint32_t Digits(uint32_t value, unsigned count) {
  uint32_t coded = 0;
  for (unsigned i = 0; i < count; ++i) {
    coded |= (value % 10) << (4 * i);
    value /= 10;
  }
  return coded;
}

}  // namespace

void DecodeArchiveHeader(const uint8_t* bytes, ArchiveHeader& header) noexcept {
  for (uint32_t i = 0; i < kMagicSize; ++i) header.magic[i] = bytes[i];
  header.writer_version = static_cast<uint16_t>(Load(bytes + 10, 2));
  header.reserved0 = static_cast<uint16_t>(Load(bytes + 12, 2));
  header.archive_size = Load(bytes + 14, 8);
  header.directory_offset = Load(bytes + 22, 8);
  header.checksum = static_cast<uint32_t>(Load(bytes + 30, 4));
  header.creation_date = static_cast<uint32_t>(Load(bytes + 34, 4));
  header.creation_time = static_cast<uint32_t>(Load(bytes + 38, 4));
  header.reserved1 = static_cast<uint32_t>(Load(bytes + 42, 4));
  header.reserved2 = static_cast<uint32_t>(Load(bytes + 46, 4));
  header.layout = static_cast<uint16_t>(Load(bytes + 50, 2));
  header.record_type = static_cast<uint16_t>(Load(bytes + 52, 2));
  header.format_version = static_cast<uint16_t>(Load(bytes + 54, 2));
  header.flags = bytes[56];
}

void EncodeArchiveHeader(const ArchiveHeader& header, uint8_t* bytes) noexcept {
  for (uint32_t i = 0; i < kMagicSize; ++i) bytes[i] = header.magic[i];
  Store(bytes + 10, header.writer_version, 2);
  Store(bytes + 12, header.reserved0, 2);
  Store(bytes + 14, header.archive_size, 8);
  Store(bytes + 22, header.directory_offset, 8);
  Store(bytes + 30, header.checksum, 4);
  Store(bytes + 34, header.creation_date, 4);
  Store(bytes + 38, header.creation_time, 4);
  Store(bytes + 42, header.reserved1, 4);
  Store(bytes + 46, header.reserved2, 4);
  Store(bytes + 50, header.layout, 2);
  Store(bytes + 52, header.record_type, 2);
  Store(bytes + 54, header.format_version, 2);
  bytes[56] = header.flags;
}

uint32_t ArchiveHeaderChecksum(const uint8_t* bytes) noexcept {
  return ChecksumAround(bytes, 30, kArchiveHeaderSize);
}

void DecodeEntryHeader(const uint8_t* bytes, EntryHeader& header) noexcept {
  header.method = static_cast<uint16_t>(Load(bytes, 2));
  header.packed_size = Load(bytes + 2, 8);
  header.unpacked_size = Load(bytes + 10, 8);
  header.reserved = static_cast<uint32_t>(Load(bytes + 18, 4));
  header.checksum = static_cast<uint32_t>(Load(bytes + 22, 4));
  header.layout = static_cast<uint16_t>(Load(bytes + 26, 2));
  header.record_type = static_cast<uint16_t>(Load(bytes + 28, 2));
  header.format_version = static_cast<uint16_t>(Load(bytes + 30, 2));
  header.flags = bytes[32];
}

void EncodeEntryHeader(const EntryHeader& header, uint8_t* bytes) noexcept {
  Store(bytes, header.method, 2);
  Store(bytes + 2, header.packed_size, 8);
  Store(bytes + 10, header.unpacked_size, 8);
  Store(bytes + 18, header.reserved, 4);
  Store(bytes + 22, header.checksum, 4);
  Store(bytes + 26, header.layout, 2);
  Store(bytes + 28, header.record_type, 2);
  Store(bytes + 30, header.format_version, 2);
  bytes[32] = header.flags;
}

uint32_t EntryHeaderChecksum(const uint8_t* bytes) noexcept {
  return ChecksumAround(bytes, 22, kEntryHeaderSize);
}

uint32_t DigitCodedDate(int32_t year, int32_t month, int32_t day) noexcept {
  return Digits(static_cast<uint32_t>(year), 4) << 16 |
         Digits(static_cast<uint32_t>(month), 2) << 8 | Digits(static_cast<uint32_t>(day), 2);
}

uint32_t DigitCodedTime(int32_t hours, int32_t minutes, int32_t seconds) noexcept {
  return Digits(static_cast<uint32_t>(hours), 2) << 24 |
         Digits(static_cast<uint32_t>(minutes), 2) << 16 |
         Digits(static_cast<uint32_t>(seconds), 2) << 8;
}

}  // namespace vorn
