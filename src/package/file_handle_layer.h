// FileHandleLayer: the bottom layer of a file stream, one operating-system
// file handle with its path, size, position and mode. The checks and the
// bookkeeping are shared; only the few system calls differ per platform.
#pragma once

#include <cstdint>

#include "foundation/date_time.h"
#include "package/stream.h"

namespace vorn {

class FileHandleLayer : public Stream {
 public:
  enum Mode : uint32_t { kReading = 1, kWriting = 2 };

  FileHandleLayer() noexcept = default;
  ~FileHandleLayer() override;
  FileHandleLayer(const FileHandleLayer&) = delete;
  FileHandleLayer& operator=(const FileHandleLayer&) = delete;

  // Existing files only, shared for reading and writing by others.
  Result OpenForReading(const char16_t* path) noexcept;
  // Creates or truncates, shared for reading by others.
  Result OpenForWriting(const char16_t* path) noexcept;
  // The file's last-write time; creation and access times stay.
  Result SetModificationTime(DateTime time) noexcept;

  bool IsOpen() const noexcept { return handle_ != kInvalidHandle; }
  Mode GetMode() const noexcept { return mode_; }
  const String& Path() const noexcept { return path_; }

  Result Close() noexcept override;
  Result Read(void* buffer, uint32_t count) noexcept override;
  Result Write(const void* buffer, uint32_t count) noexcept override;
  Result Flush(int durable) noexcept override;
  // Unopened: 4, not a position (callers only ask open streams).
  uint64_t Position() noexcept override { return IsOpen() ? position_ : uint64_t{kNotOpen}; }
  Result Seek(uint64_t offset) noexcept override;
  uint64_t Size() noexcept override { return IsOpen() ? size_ : uint64_t{kNotOpen}; }
  String Describe() noexcept override;

 private:
  static constexpr intptr_t kInvalidHandle = -1;

  Result Open(const char16_t* path, Mode mode) noexcept;

  // The platform's calls, in file_handle_layer_win.cpp / _posix.cpp. Each
  // maps a failure through the system error table.
  static Result SystemOpen(const String& path, Mode mode, intptr_t& handle) noexcept;
  static Result SystemSize(intptr_t handle, uint64_t& size) noexcept;
  static Result SystemRead(intptr_t handle, void* buffer, uint32_t count, uint32_t& done) noexcept;
  static Result SystemWrite(intptr_t handle, const void* buffer, uint32_t count,
                            uint32_t& done) noexcept;
  static Result SystemSeek(intptr_t handle, uint64_t offset) noexcept;
  static Result SystemFlush(intptr_t handle) noexcept;
  static Result SystemSetModificationTime(intptr_t handle, DateTime time) noexcept;
  static Result SystemClose(intptr_t handle) noexcept;

  intptr_t handle_ = kInvalidHandle;
  String path_;
  uint64_t size_ = 0;
  uint64_t position_ = 0;
  Mode mode_ = kReading;
};

}  // namespace vorn
