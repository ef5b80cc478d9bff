// PackageArchive: one mounted "KelpFiLe" archive over a borrowed source
// stream. Entries are found by the hash of their path in the sorted
// directory; one entry is open at a time, read through the decoder its
// method names. The archive is itself a Stream that forwards to the current
// decoding stream.
#pragma once

#include <cstdint>

#include "foundation/lock_object.h"
#include "package/lzh_stream.h"
#include "package/lzma_stream.h"
#include "package/lzo_stream.h"
#include "package/package_format.h"
#include "package/stream.h"
#include "package/sub_stream.h"

namespace vorn {

struct DirectoryRow {
  uint32_t hash;
  uint32_t offset;
};

class PackageArchive : public Stream {
 public:
  enum Mode : uint32_t { kUnopened = 0, kReading = 1 };

  PackageArchive() noexcept;
  ~PackageArchive() override;
  PackageArchive(const PackageArchive&) = delete;
  PackageArchive& operator=(const PackageArchive&) = delete;

  // Validates the header and loads the directory. `source` is borrowed and
  // must outlive the archive (or its Close).
  Result Mount(Stream* source) noexcept;
  // A readable stream over the decoded entry, owned by the archive until
  // CloseEntry: 38 missing path, 4 no directory or an entry already open,
  // 29 not in this archive.
  Result OpenEntry(const char16_t* path, SubStream*& stream) noexcept;
  // The entry of directory row `index` (0 to RowCount() - 1), for tools that
  // list or check an archive without knowing its paths; 37 out of range.
  Result OpenRow(uint32_t index, SubStream*& stream) noexcept;
  // 0 when `stream` is the open entry (destroyed, slot freed), 5 otherwise.
  Result CloseEntry(SubStream* stream) noexcept;

  bool IsMounted() const noexcept { return mode_ == kReading; }
  const ArchiveHeader& Header() const noexcept { return header_; }
  const EntryHeader& CurrentEntry() const noexcept { return entry_; }
  uint32_t RowCount() const noexcept { return row_count_; }
  const DirectoryRow* Rows() const noexcept { return rows_; }

  // The Stream: transfers and Flush go to the current decoding stream,
  // Position and Seek to the source.
  Result Close() noexcept override;
  Result Read(void* buffer, uint32_t count) noexcept override;
  Result Write(const void* buffer, uint32_t count) noexcept override;
  Result Flush(int durable) noexcept override;
  uint64_t Position() noexcept override;
  Result Seek(uint64_t offset) noexcept override;
  uint64_t Size() noexcept override;
  String Describe() noexcept override;

 private:
  Result ReadHeader() noexcept;
  Result ReadDirectory() noexcept;
  Result OpenEntryHere() noexcept;
  Result SelectDecoder() noexcept;
  const DirectoryRow* Find(uint32_t hash) const noexcept;
  Result OpenRowEntry(const DirectoryRow& row, SubStream*& stream) noexcept;
  void Reset() noexcept;

  Stream* source_ = nullptr;
  Stream* current_ = nullptr;
  uint64_t end_ = 0;  // the archive's last byte + 1, within the source
  ArchiveHeader header_ = {};
  DirectoryRow* rows_ = nullptr;
  uint32_t row_count_ = 0;
  EntryHeader entry_ = {};
  uint64_t entry_start_ = 0;
  LZHStream lzh_;
  LZOStream lzo_;
  LZMAStream lzma_;
  LZMAStream ppmd_;
  LZMAStream lzma2_;
  SubStream* open_entry_ = nullptr;
  LockObject lock_;
  Mode mode_ = kUnopened;
};

}  // namespace vorn
