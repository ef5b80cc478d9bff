#include "package/package_archive.h"

#include <cstdlib>
#include <new>

#include "foundation/format.h"
#include "package/path_hash.h"

namespace vorn {

namespace {

// Reads a record field by field in file order, each field with one Read of
// its width: the source is usually a cache layer serving small reads.
Result ReadFields(Stream& source, const uint8_t* widths, uint32_t count, uint8_t* bytes) {
  for (uint32_t i = 0; i < count; ++i) {
    Result result = source.Read(bytes, widths[i]);
    if (result != kOk) return result;
    bytes += widths[i];
  }
  return kOk;
}

bool SameBytes(const uint8_t* a, const uint8_t* b, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

}  // namespace

PackageArchive::PackageArchive() noexcept
    : lzma_(kMethodLzma), ppmd_(kMethodPpmd), lzma2_(kMethodLzma2) {}

PackageArchive::~PackageArchive() {
  Close();
}

void PackageArchive::Reset() noexcept {
  {
    LockGuard guard(lock_);
    delete open_entry_;
    open_entry_ = nullptr;
  }
  std::free(rows_);
  rows_ = nullptr;
  row_count_ = 0;
  source_ = current_ = nullptr;
  end_ = 0;
  header_ = {};
  entry_ = {};
  entry_start_ = 0;
  mode_ = kUnopened;
}

Result PackageArchive::Close() noexcept {
  lzh_.Close();
  lzo_.Close();
  lzma_.Close();
  ppmd_.Close();
  lzma2_.Close();
  Reset();
  return kOk;
}

Result PackageArchive::Mount(Stream* source) noexcept {
  Close();
  if (source == nullptr) return kInvalidArgument;
  source_ = current_ = source;
  // Entries are opened in reading mode only; the directory is the first.
  mode_ = kReading;
  Result result = ReadHeader();
  if (result == kOk) result = ReadDirectory();
  if (result != kOk) Reset();
  return result;
}

Result PackageArchive::ReadHeader() noexcept {
  uint8_t bytes[kArchiveHeaderSize];
  Result result = ReadFields(*source_, kArchiveHeaderFields, 14, bytes);
  if (result != kOk) return result;
  DecodeArchiveHeader(bytes, header_);
  if (!SameBytes(header_.magic, kArchiveMagic, kMagicSize)) return kInvalidContent;
  if (ArchiveHeaderChecksum(bytes) != header_.checksum) return kInvalidState;
  if (header_.layout != kLayoutIdentifier || header_.record_type != kArchiveRecordType ||
      header_.flags != kArchiveRecordFlags || header_.format_version > kFormatVersion) {
    return kBadFormat;
  }
  if (header_.directory_offset == 0) return kInvalidState;
  // Every bound below is the smaller of what the header claims and what the
  // source holds, so a lying header cannot send a read past either.
  const uint64_t available = source_->Size();
  end_ = header_.archive_size < available ? header_.archive_size : available;
  if (end_ < kArchiveHeaderSize + kEntryHeaderSize ||
      header_.directory_offset < kArchiveHeaderSize ||
      header_.directory_offset > end_ - kEntryHeaderSize) {
    return kInvalidState;
  }
  return kOk;
}

Result PackageArchive::ReadDirectory() noexcept {
  Result result = source_->Seek(header_.directory_offset);
  if (result == kOk) result = OpenEntryHere();
  if (result != kOk) return result;
  if ((entry_.unpacked_size >> 32) != 0) return kInvalidState;
  const uint64_t rows = entry_.unpacked_size / kDirectoryRowSize;
  // Each row names an entry, and each entry takes at least its header: more
  // rows than that cannot be true, and are not worth an allocation.
  if (rows > end_ / kEntryHeaderSize) return kInvalidState;
  if (rows == 0) return kOk;
  auto* table = static_cast<DirectoryRow*>(std::malloc(rows * sizeof(DirectoryRow)));
  uint8_t* bytes = reinterpret_cast<uint8_t*>(table);
  if (table == nullptr) return kOutOfMemory;
  result = current_->Read(bytes, static_cast<uint32_t>(rows * kDirectoryRowSize));
  if (result != kOk) {
    std::free(table);
    return result;
  }
  // Rows arrive as little-endian bytes; decode them in place.
  for (uint64_t i = 0; i < rows; ++i) {
    const uint8_t* row = bytes + i * kDirectoryRowSize;
    const uint32_t hash = row[0] | row[1] << 8 | row[2] << 16 | static_cast<uint32_t>(row[3]) << 24;
    const uint32_t offset =
        row[4] | row[5] << 8 | row[6] << 16 | static_cast<uint32_t>(row[7]) << 24;
    table[i].hash = hash;
    table[i].offset = offset;
  }
  rows_ = table;
  row_count_ = static_cast<uint32_t>(rows);
  return kOk;
}

Result PackageArchive::OpenEntryHere() noexcept {
  if (mode_ != kReading) return kNotOpen;
  if (source_->IsAtEnd()) return kEndOfData;
  entry_start_ = source_->Position();
  // A header that would run past the archive is outside it.
  if (entry_start_ > end_ || end_ - entry_start_ < kEntryHeaderSize) return kInvalidContent;
  uint8_t bytes[kEntryHeaderSize];
  Result result = ReadFields(*source_, kEntryHeaderFields, 9, bytes);
  if (result != kOk) return result;
  DecodeEntryHeader(bytes, entry_);
  if (EntryHeaderChecksum(bytes) != entry_.checksum) return kInvalidState;
  if (entry_.packed_size > end_ - entry_start_ - kEntryHeaderSize) return kInvalidContent;
  return SelectDecoder();
}

Result PackageArchive::SelectDecoder() noexcept {
  const uint64_t packed = entry_.packed_size;
  const uint64_t unpacked = entry_.unpacked_size;
  Result result = kOk;
  switch (entry_.method & kMethodMask) {
    case kMethodStored:
      // A stored entry cannot deliver more bytes than it holds without
      // handing out the next entry's.
      if (unpacked > packed) return kInvalidContent;
      current_ = source_;
      return kOk;
    case kMethodDeflate:
      result = lzh_.Init(source_, packed, unpacked);
      if (result == kOk) current_ = &lzh_;
      return result;
    case kMethodLzo:
      result = lzo_.Init(source_, packed, unpacked);
      if (result == kOk) current_ = &lzo_;
      return result;
    case kMethodLzma:
      result = lzma_.Init(source_, packed, unpacked);
      if (result == kOk) current_ = &lzma_;
      return result;
    case kMethodPpmd:
      result = ppmd_.Init(source_, packed, unpacked);
      if (result == kOk) current_ = &ppmd_;
      return result;
    case kMethodLzma2:
      result = lzma2_.Init(source_, packed, unpacked);
      if (result == kOk) current_ = &lzma2_;
      return result;
    default:
      return kBadFormat;
  }
}

const DirectoryRow* PackageArchive::Find(uint32_t hash) const noexcept {
  uint32_t low = 0;
  uint32_t high = row_count_;
  while (low < high) {
    const uint32_t middle = low + (high - low) / 2;
    if (rows_[middle].hash < hash) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low < row_count_ && rows_[low].hash == hash ? &rows_[low] : nullptr;
}

Result PackageArchive::OpenEntry(const char16_t* path, SubStream*& stream) noexcept {
  stream = nullptr;
  if (path == nullptr) return kInvalidName;
  if (mode_ != kReading) return kNotOpen;
  const DirectoryRow* row = Find(PathHash(path));
  if (row == nullptr) return kNotFound;
  return OpenRowEntry(*row, stream);
}

Result PackageArchive::OpenRow(uint32_t index, SubStream*& stream) noexcept {
  stream = nullptr;
  if (mode_ != kReading) return kNotOpen;
  if (index >= row_count_) return kIndexOutOfRange;
  return OpenRowEntry(rows_[index], stream);
}

Result PackageArchive::OpenRowEntry(const DirectoryRow& row, SubStream*& stream) noexcept {
  LockGuard guard(lock_);
  if (open_entry_ != nullptr) return kNotOpen;
  if (row.offset > end_) return kInvalidContent;
  Result result = source_->Seek(row.offset);
  if (result == kOk) result = OpenEntryHere();
  if (result != kOk) {
    current_ = nullptr;
    return result;
  }
  open_entry_ = new (std::nothrow) SubStream(this, entry_.unpacked_size);
  if (open_entry_ == nullptr) return kOutOfMemory;
  stream = open_entry_;
  return kOk;
}

Result PackageArchive::CloseEntry(SubStream* stream) noexcept {
  LockGuard guard(lock_);
  if (stream == nullptr || stream != open_entry_) return kInvalidArgument;
  delete open_entry_;
  open_entry_ = nullptr;
  return kOk;
}

Result PackageArchive::Read(void* buffer, uint32_t count) noexcept {
  if (current_ == nullptr) return kNotOpen;
  return current_->Read(buffer, count);
}

Result PackageArchive::Write(const void* buffer, uint32_t count) noexcept {
  if (current_ == nullptr) return kNotOpen;
  return current_->Write(buffer, count);
}

Result PackageArchive::Flush(int durable) noexcept {
  if (current_ == nullptr) return kNotOpen;
  return current_->Flush(durable);
}

uint64_t PackageArchive::Position() noexcept {
  return source_ != nullptr ? source_->Position() : 0;
}

Result PackageArchive::Seek(uint64_t offset) noexcept {
  if (source_ == nullptr) return kNotOpen;
  return source_->Seek(offset);
}

uint64_t PackageArchive::Size() noexcept {
  return source_ != nullptr ? source_->Size() : 0;
}

String PackageArchive::Describe() noexcept {
  if (current_ == nullptr) return u"KelpFiLe(n/a)";
  String inner = current_->Describe();
  return Format(u"KelpFiLe({0})", FormatArg(inner));
}

}  // namespace vorn
