// ArchiveWriter: builds a package archive on a seekable, writable sink (a
// file stream opened for writing, or a memory stream in writing mode).
//
//   writer.Begin(&sink);
//   writer.AddFile(u"Data/Xml/Configuration.xml", u"/src/Configuration.xml", kMethodPpmd);
//   writer.AddMemory(u"Data/Pictures/Logo.png", bytes, size, kMethodStored);
//   writer.Finish();
//
// Each entry gets a placeholder header, then its data; its header is
// rewritten in place once the sizes are known. Finish writes the directory
// (sorted by path hash, deflated) as the last entry and rewrites the archive
// header at offset 0. Blocks of methods 2 to 5 can also be compressed
// elsewhere (EncodeFramedBlock, on any thread) and added whole through
// BeginPrecodedEntry.
#pragma once

#include <cstdint>

#include "package/lzh_stream.h"
#include "package/lzma_stream.h"
#include "package/lzo_stream.h"
#include "package/package_format.h"
#include "package/stream.h"

namespace vorn {

class ArchiveWriter {
 public:
  // The installer's package uses 4 MiB blocks for LZMA and PPMd.
  static constexpr uint32_t kPackageBlockSize = 4194304;

  ArchiveWriter() noexcept;
  ~ArchiveWriter();
  ArchiveWriter(const ArchiveWriter&) = delete;
  ArchiveWriter& operator=(const ArchiveWriter&) = delete;

  // Starts an archive at the sink's current position 0. The creation date
  // and time go into the header as digit-coded values (0 when not set).
  Result Begin(Stream* sink) noexcept;
  void SetCreationTime(uint32_t digit_coded_date, uint32_t digit_coded_time) noexcept;
  // For LZO, whether to use LZO1X-999 (smaller, slower) instead of LZO1X-1.
  void SetBestLzo(bool best) noexcept { best_lzo_ = best; }

  // Entries. `block_size` 0 picks the method's default (LZO 64 KiB, the LZMA
  // methods 256 KiB). Two paths with the same hash: 14. Methods 6 and 7: 3.
  Result AddMemory(const char16_t* path, const void* data, uint64_t size, PackMethod method,
                   uint32_t block_size = 0) noexcept;
  Result AddStream(const char16_t* path, Stream& content, PackMethod method,
                   uint32_t block_size = 0) noexcept;
  Result AddFile(const char16_t* path, const char16_t* file, PackMethod method,
                 uint32_t block_size = 0) noexcept;

  // The same in steps: open an entry, write its content, close it.
  Result BeginEntry(const char16_t* path, PackMethod method, uint32_t block_size = 0) noexcept;
  Result WriteEntry(const void* data, uint32_t size) noexcept;
  Result EndEntry() noexcept;

  // An entry whose data (properties field and framed blocks, or deflate
  // stream) was coded elsewhere: WriteEntry takes the coded bytes as they go
  // into the archive, EndPrecodedEntry the decoded size.
  Result BeginPrecodedEntry(const char16_t* path, PackMethod method) noexcept;
  Result EndPrecodedEntry(uint64_t unpacked_size) noexcept;

  // Writes the directory and the final archive header.
  Result Finish() noexcept;

  uint64_t BytesWritten() const noexcept { return end_; }
  uint32_t EntryCount() const noexcept { return row_count_; }

 private:
  enum class State { kIdle, kArchive, kEntry, kPrecodedEntry, kDone };

  Result StartEntry(const char16_t* path, PackMethod method, uint32_t record_flags) noexcept;
  Result StartCoder(PackMethod method, uint32_t block_size) noexcept;
  Result FinishEntry(uint64_t packed, uint64_t unpacked) noexcept;
  Result WriteHeaderAt(uint64_t offset, const uint8_t* bytes, uint32_t size) noexcept;
  Result AddRow(uint32_t hash, uint64_t offset) noexcept;
  Result WriteDirectory(uint64_t& offset) noexcept;
  Result Fail(Result result) noexcept;

  Stream* sink_ = nullptr;
  State state_ = State::kIdle;
  bool best_lzo_ = false;
  uint32_t creation_date_ = 0;
  uint32_t creation_time_ = 0;
  uint64_t end_ = 0;  // bytes written so far, the next entry's offset
  // The entry being written.
  uint64_t entry_offset_ = 0;
  PackMethod entry_method_ = kMethodStored;
  uint16_t entry_record_type_ = kFileRecordType;
  uint8_t entry_flags_ = kFileRecordFlags;
  Stream* coder_ = nullptr;  // the sink itself for stored entries
  uint64_t entry_written_ = 0;
  LZHStream lzh_;
  LZOStream lzo_;
  LZMAStream lzma_;
  LZMAStream ppmd_;
  LZMAStream lzma2_;
  // (hash, offset) of every entry so far, in the order written.
  uint64_t* rows_ = nullptr;
  uint32_t row_count_ = 0;
  uint32_t row_capacity_ = 0;
};

}  // namespace vorn
