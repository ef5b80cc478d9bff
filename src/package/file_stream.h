// FileStream: a file on disk as a Stream, built from two layers: the file
// handle at the bottom and a cache layer on top, to which every operation
// goes. Describes itself as File(Cache(16384,"path")).
#pragma once

#include <cstdint>

#include "foundation/date_time.h"
#include "package/cache_layer.h"
#include "package/file_handle_layer.h"
#include "package/stream.h"

namespace vorn {

class FileStream : public Stream {
 public:
  FileStream() noexcept = default;
  ~FileStream() override;
  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;

  // Missing or empty path: 38; otherwise the system's error, mapped.
  Result OpenForReading(const char16_t* path) noexcept;
  Result OpenForWriting(const char16_t* path) noexcept;
  // Sets the last-write time; not open: 4.
  Result SetModificationTime(DateTime time) noexcept;

  bool IsOpen() const noexcept { return handle_.IsOpen(); }

  Result Close() noexcept override;
  Result Read(void* buffer, uint32_t count) noexcept override;
  Result Write(const void* buffer, uint32_t count) noexcept override;
  Result Flush(int durable) noexcept override;
  // Unopened: 4, not a position (callers only ask open streams).
  uint64_t Position() noexcept override;
  Result Seek(uint64_t offset) noexcept override;
  uint64_t Size() noexcept override;
  String Describe() noexcept override;

 private:
  Result Open(const char16_t* path, bool writing) noexcept;

  FileHandleLayer handle_;
  CacheLayer cache_;
};

}  // namespace vorn
