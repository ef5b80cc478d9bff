#include "package/archive_writer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "package/file_stream.h"
#include "package/package_encoders.h"
#include "package/path_hash.h"

namespace vorn {

namespace {

constexpr uint32_t kCopyChunk = 1u << 20;

// What zlib writes at its best compression for no input: the header, one
// empty final block and the Adler-32 of nothing.
constexpr uint8_t kEmptyZlibStream[] = {0x78, 0xDA, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01};

// A row packs the hash above the offset so that sorting rows sorts hashes.
uint64_t PackRow(uint32_t hash, uint32_t offset) {
  return uint64_t{hash} << 32 | offset;
}

bool IsKnownMethod(PackMethod method) {
  return method <= kMethodLzma2;
}

}  // namespace

ArchiveWriter::ArchiveWriter() noexcept
    : lzh_(&kPackageEncoders),
      lzo_(&kPackageEncoders),
      lzma_(kMethodLzma, &kPackageEncoders),
      ppmd_(kMethodPpmd, &kPackageEncoders),
      lzma2_(kMethodLzma2, &kPackageEncoders) {}

ArchiveWriter::~ArchiveWriter() {
  std::free(rows_);
}

Result ArchiveWriter::Fail(Result result) noexcept {
  // A half-written archive cannot be finished: its offsets are unknown.
  state_ = State::kDone;
  return result;
}

void ArchiveWriter::SetCreationTime(uint32_t digit_coded_date, uint32_t digit_coded_time) noexcept {
  creation_date_ = digit_coded_date;
  creation_time_ = digit_coded_time & 0xFFFFFF00u;
}

Result ArchiveWriter::Begin(Stream* sink) noexcept {
  if (sink == nullptr) return kInvalidArgument;
  if (state_ != State::kIdle && state_ != State::kDone) return kNotOpen;
  sink_ = sink;
  row_count_ = 0;
  end_ = 0;
  state_ = State::kArchive;
  Result result = sink_->Seek(0);
  if (result != kOk) return Fail(result);
  uint8_t placeholder[kArchiveHeaderSize] = {};
  result = sink_->Write(placeholder, kArchiveHeaderSize);
  if (result != kOk) return Fail(result);
  end_ = kArchiveHeaderSize;
  return kOk;
}

Result ArchiveWriter::AddRow(uint32_t hash, uint64_t offset) noexcept {
  for (uint32_t i = 0; i < row_count_; ++i) {
    // Entries are known by hash alone: a second path with the same hash
    // would hide the first.
    if (static_cast<uint32_t>(rows_[i] >> 32) == hash) return kAlreadyExists;
  }
  if (row_count_ == row_capacity_) {
    const uint32_t capacity = row_capacity_ == 0 ? 64 : row_capacity_ * 2;
    void* grown = std::realloc(rows_, capacity * sizeof(uint64_t));
    if (grown == nullptr) return kOutOfMemory;
    rows_ = static_cast<uint64_t*>(grown);
    row_capacity_ = capacity;
  }
  rows_[row_count_++] = PackRow(hash, static_cast<uint32_t>(offset));
  return kOk;
}

Result ArchiveWriter::StartEntry(const char16_t* path, PackMethod method,
                                 uint32_t record_flags) noexcept {
  if (state_ != State::kArchive) return kNotOpen;
  if (method == 6 || method == 7) return kBadFormat;
  if (!IsKnownMethod(method)) return kInvalidArgument;
  // Directory rows hold 32-bit offsets.
  if ((end_ + kEntryHeaderSize) >> 32 != 0) return kInvalidSize;
  if (path != nullptr) {
    if (path[0] == 0) return kInvalidPath;
    Result result = AddRow(PathHash(path), end_);
    if (result != kOk) return result;
  }
  entry_offset_ = end_;
  entry_method_ = method;
  entry_record_type_ =
      record_flags == kDirectoryRecordFlags ? kDirectoryRecordType : kFileRecordType;
  entry_flags_ = static_cast<uint8_t>(record_flags);
  entry_written_ = 0;
  uint8_t placeholder[kEntryHeaderSize] = {};
  Result result = sink_->Write(placeholder, kEntryHeaderSize);
  if (result != kOk) return Fail(result);
  end_ += kEntryHeaderSize;
  return kOk;
}

Result ArchiveWriter::StartCoder(PackMethod method, uint32_t block_size) noexcept {
  Result result = kOk;
  switch (method) {
    case kMethodStored:
      coder_ = sink_;
      return kOk;
    case kMethodDeflate:
      result = lzh_.Init(sink_, 0, 0);
      coder_ = &lzh_;
      break;
    case kMethodLzo:
      result = lzo_.Init(sink_, 0, 0, best_lzo_ ? BlockStream::kWritingBest : BlockStream::kWriting,
                         block_size);
      coder_ = &lzo_;
      break;
    case kMethodLzma:
      result = lzma_.Init(sink_, 0, 0, BlockStream::kWriting, block_size);
      coder_ = &lzma_;
      break;
    case kMethodPpmd:
      result = ppmd_.Init(sink_, 0, 0, BlockStream::kWriting, block_size);
      coder_ = &ppmd_;
      break;
    case kMethodLzma2:
      result = lzma2_.Init(sink_, 0, 0, BlockStream::kWriting, block_size);
      coder_ = &lzma2_;
      break;
    default:
      return kInvalidArgument;
  }
  return result;
}

Result ArchiveWriter::BeginEntry(const char16_t* path, PackMethod method,
                                 uint32_t block_size) noexcept {
  if (path == nullptr) return kInvalidName;
  Result result = StartEntry(path, method, kFileRecordFlags);
  if (result != kOk) return result;
  result = StartCoder(method, block_size);
  if (result != kOk) return Fail(result);
  state_ = State::kEntry;
  return kOk;
}

Result ArchiveWriter::BeginPrecodedEntry(const char16_t* path, PackMethod method) noexcept {
  if (path == nullptr) return kInvalidName;
  Result result = StartEntry(path, method, kFileRecordFlags);
  if (result != kOk) return result;
  coder_ = sink_;
  state_ = State::kPrecodedEntry;
  return kOk;
}

Result ArchiveWriter::WriteEntry(const void* data, uint32_t size) noexcept {
  if (state_ != State::kEntry && state_ != State::kPrecodedEntry) return kNotOpen;
  Result result = coder_->Write(data, size);
  if (result != kOk) return Fail(result);
  entry_written_ += size;
  return kOk;
}

Result ArchiveWriter::WriteHeaderAt(uint64_t offset, const uint8_t* bytes, uint32_t size) noexcept {
  Result result = sink_->Seek(offset);
  if (result == kOk) result = sink_->Write(bytes, size);
  if (result == kOk) result = sink_->Seek(end_);
  return result;
}

Result ArchiveWriter::FinishEntry(uint64_t packed, uint64_t unpacked) noexcept {
  end_ += packed;
  EntryHeader header = {};
  header.method = entry_method_;
  header.packed_size = packed;
  header.unpacked_size = unpacked;
  header.layout = kLayoutIdentifier;
  header.record_type = entry_record_type_;
  header.format_version = kFormatVersion;
  header.flags = entry_flags_;
  uint8_t bytes[kEntryHeaderSize];
  EncodeEntryHeader(header, bytes);
  header.checksum = EntryHeaderChecksum(bytes);
  EncodeEntryHeader(header, bytes);
  Result result = WriteHeaderAt(entry_offset_, bytes, kEntryHeaderSize);
  if (result != kOk) return Fail(result);
  state_ = State::kArchive;
  return kOk;
}

Result ArchiveWriter::EndEntry() noexcept {
  if (state_ != State::kEntry) return kNotOpen;
  uint64_t packed = entry_written_;
  if (entry_method_ == kMethodDeflate && entry_written_ == 0) {
    // The deflate coder never started, so it has nothing to finish; the
    // entry still gets a whole zlib stream, as a strict inflater wants one.
    Result result = sink_->Write(kEmptyZlibStream, sizeof kEmptyZlibStream);
    if (result != kOk) return Fail(result);
    packed = sizeof kEmptyZlibStream;
  } else if (coder_ != sink_) {
    Result result = coder_->Flush(0);
    if (result != kOk) return Fail(result);
    packed = entry_method_ == kMethodDeflate ? lzh_.PackedSize()
                                             : static_cast<BlockStream*>(coder_)->PackedSize();
  }
  return FinishEntry(packed, entry_written_);
}

Result ArchiveWriter::EndPrecodedEntry(uint64_t unpacked_size) noexcept {
  if (state_ != State::kPrecodedEntry) return kNotOpen;
  return FinishEntry(entry_written_, unpacked_size);
}

Result ArchiveWriter::AddMemory(const char16_t* path, const void* data, uint64_t size,
                                PackMethod method, uint32_t block_size) noexcept {
  if (data == nullptr && size != 0) return kNullInput;
  Result result = BeginEntry(path, method, block_size);
  if (result != kOk) return result;
  const auto* bytes = static_cast<const uint8_t*>(data);
  while (size > 0) {
    const uint32_t part = size < kCopyChunk ? static_cast<uint32_t>(size) : kCopyChunk;
    result = WriteEntry(bytes, part);
    if (result != kOk) return result;
    bytes += part;
    size -= part;
  }
  return EndEntry();
}

Result ArchiveWriter::AddStream(const char16_t* path, Stream& content, PackMethod method,
                                uint32_t block_size) noexcept {
  uint8_t* chunk = static_cast<uint8_t*>(std::malloc(kCopyChunk));
  if (chunk == nullptr) return kOutOfMemory;
  Result result = BeginEntry(path, method, block_size);
  uint64_t left = content.Size() - content.Position();
  while (result == kOk && left > 0) {
    const uint32_t part = left < kCopyChunk ? static_cast<uint32_t>(left) : kCopyChunk;
    result = content.Read(chunk, part);
    if (result != kOk) {
      Fail(result);
      break;
    }
    result = WriteEntry(chunk, part);
    left -= part;
  }
  std::free(chunk);
  if (result != kOk) return result;
  return EndEntry();
}

Result ArchiveWriter::AddFile(const char16_t* path, const char16_t* file, PackMethod method,
                              uint32_t block_size) noexcept {
  FileStream content;
  Result result = content.OpenForReading(file);
  if (result != kOk) return result;
  return AddStream(path, content, method, block_size);
}

Result ArchiveWriter::WriteDirectory(uint64_t& offset) noexcept {
  std::sort(rows_, rows_ + row_count_);
  Result result = StartEntry(nullptr, kMethodDeflate, kDirectoryRecordFlags);
  if (result != kOk) return result;
  offset = entry_offset_;
  result = StartCoder(kMethodDeflate, 0);
  if (result != kOk) return Fail(result);
  state_ = State::kEntry;
  for (uint32_t i = 0; i < row_count_; ++i) {
    uint8_t row[kDirectoryRowSize];
    const uint32_t hash = static_cast<uint32_t>(rows_[i] >> 32);
    const uint32_t where = static_cast<uint32_t>(rows_[i]);
    for (int b = 0; b < 4; ++b) {
      row[b] = static_cast<uint8_t>(hash >> (8 * b));
      row[4 + b] = static_cast<uint8_t>(where >> (8 * b));
    }
    result = WriteEntry(row, kDirectoryRowSize);
    if (result != kOk) return result;
  }
  return EndEntry();
}

Result ArchiveWriter::Finish() noexcept {
  if (state_ != State::kArchive) return kNotOpen;
  uint64_t directory = 0;
  Result result = WriteDirectory(directory);
  if (result != kOk) return result;
  ArchiveHeader header = {};
  std::memcpy(header.magic, kArchiveMagic, kMagicSize);
  header.writer_version = kWriterVersion;
  header.archive_size = end_;
  header.directory_offset = directory;
  header.creation_date = creation_date_;
  header.creation_time = creation_time_;
  header.layout = kLayoutIdentifier;
  header.record_type = kArchiveRecordType;
  header.format_version = kFormatVersion;
  header.flags = kArchiveRecordFlags;
  uint8_t bytes[kArchiveHeaderSize];
  EncodeArchiveHeader(header, bytes);
  header.checksum = ArchiveHeaderChecksum(bytes);
  EncodeArchiveHeader(header, bytes);
  result = WriteHeaderAt(0, bytes, kArchiveHeaderSize);
  if (result == kOk) result = sink_->Flush(0);
  state_ = State::kDone;
  return result;
}

}  // namespace vorn
