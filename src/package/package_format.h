// The byte layout of a package archive ("KelpFiLe"): the 57-byte archive
// header, the 33-byte entry header in front of every entry's data, the
// compression methods and the 8-byte directory rows. All integers are
// little-endian and unaligned. Shared by the reader and the writer so both
// agree on every byte.
#pragma once

#include <cstdint>

namespace vorn {

// Compression methods; the reader uses the method field AND 7.
enum PackMethod : uint16_t {
  kMethodStored = 0,
  kMethodDeflate = 1,
  kMethodLzo = 2,
  kMethodLzma = 3,
  kMethodPpmd = 4,
  kMethodLzma2 = 5,
};
constexpr uint16_t kMethodMask = 7;

constexpr uint32_t kArchiveHeaderSize = 57;
constexpr uint32_t kEntryHeaderSize = 33;
constexpr uint32_t kDirectoryRowSize = 8;
constexpr uint32_t kMagicSize = 10;
extern const uint8_t kArchiveMagic[kMagicSize];  // "KelpFiLe" 0x1A 0x00

constexpr uint16_t kWriterVersion = 0x0300;
constexpr uint16_t kFormatVersion = 0x0300;
constexpr uint16_t kLayoutIdentifier = 1;
constexpr uint16_t kArchiveRecordType = 0x1010;
constexpr uint16_t kDirectoryRecordType = 0x1011;
constexpr uint16_t kFileRecordType = 0x1012;
constexpr uint8_t kArchiveRecordFlags = 0x10;
constexpr uint8_t kFileRecordFlags = 0x30;
constexpr uint8_t kDirectoryRecordFlags = 0x50;

// The field widths of each header in file order: the reader takes each
// field with one Read of its width.
extern const uint8_t kArchiveHeaderFields[14];
extern const uint8_t kEntryHeaderFields[9];

struct ArchiveHeader {
  uint8_t magic[kMagicSize];
  uint16_t writer_version;
  uint16_t reserved0;
  uint64_t archive_size;
  uint64_t directory_offset;
  uint32_t checksum;
  uint32_t creation_date;  // 0xYYYYMMDD in decimal digits
  uint32_t creation_time;  // 0xHHMMSS00 in decimal digits
  uint32_t reserved1;
  uint32_t reserved2;
  uint16_t layout;
  uint16_t record_type;
  uint16_t format_version;
  uint8_t flags;
};

struct EntryHeader {
  uint16_t method;
  uint64_t packed_size;
  uint64_t unpacked_size;
  uint32_t reserved;
  uint32_t checksum;
  uint16_t layout;
  uint16_t record_type;
  uint16_t format_version;
  uint8_t flags;
};

void DecodeArchiveHeader(const uint8_t* bytes, ArchiveHeader& header) noexcept;
void EncodeArchiveHeader(const ArchiveHeader& header, uint8_t* bytes) noexcept;
// CRC-32 of bytes 0-29 then 34-56: every byte but the checksum field.
uint32_t ArchiveHeaderChecksum(const uint8_t* bytes) noexcept;

void DecodeEntryHeader(const uint8_t* bytes, EntryHeader& header) noexcept;
void EncodeEntryHeader(const EntryHeader& header, uint8_t* bytes) noexcept;
// CRC-32 of bytes 0-21 then 26-32.
uint32_t EntryHeaderChecksum(const uint8_t* bytes) noexcept;

// Packs a date and time into the header's digit coding: 17 January 2016
// becomes 0x20160117, 13:45:09 becomes 0x13450900.
uint32_t DigitCodedDate(int32_t year, int32_t month, int32_t day) noexcept;
uint32_t DigitCodedTime(int32_t hours, int32_t minutes, int32_t seconds) noexcept;

}  // namespace vorn
