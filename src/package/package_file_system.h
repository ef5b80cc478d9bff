// PackageFileSystem: the process's view of its package archives. The first
// call of Instance() mounts the archive embedded in the executable (on
// Windows, RCDATA resource 4096, read from the executable's file); more archives can be
// mounted from a stream or a file, newest first. Files are found by their
// package path, case-sensitive, with "/" separators.
#pragma once

#include <cstdint>

#include "foundation/lock_object.h"
#include "package/file_stream.h"
#include "package/memory_stream.h"
#include "package/package_archive.h"
#include "package/stream.h"
#include "package/window_stream.h"

namespace vorn {

// The stream handed out by Open: the archive's entry stream, closed in its
// archive when this wrapper is destroyed.
class PackageFileStream : public Stream {
 public:
  PackageFileStream(PackageArchive* archive, SubStream* entry) noexcept
      : archive_(archive), entry_(entry) {}
  ~PackageFileStream() override;
  PackageFileStream(const PackageFileStream&) = delete;
  PackageFileStream& operator=(const PackageFileStream&) = delete;

  Result Close() noexcept override;
  Result Read(void* buffer, uint32_t count) noexcept override;
  Result Write(const void* buffer, uint32_t count) noexcept override;
  Result Flush(int durable) noexcept override;
  uint64_t Position() noexcept override;
  Result Seek(uint64_t offset) noexcept override;
  uint64_t Size() noexcept override;
  String Describe() noexcept override;

 private:
  PackageArchive* archive_;
  SubStream* entry_;
};

class PackageFileSystem {
 public:
  // The process-wide file system, created (and the embedded archive
  // mounted) on first use.
  static PackageFileSystem& Instance() noexcept;

  PackageFileSystem() noexcept = default;
  ~PackageFileSystem();
  PackageFileSystem(const PackageFileSystem&) = delete;
  PackageFileSystem& operator=(const PackageFileSystem&) = delete;

  // A readable stream over a package file; the caller destroys it to free
  // the archive's entry slot. Empty or missing path: 31; in no archive: 29.
  Result Open(const char16_t* path, Stream*& stream) noexcept;
  // The whole file in one new buffer (malloc; the caller frees it). An empty
  // file gives a null buffer and size 0.
  Result ReadAll(const char16_t* path, uint8_t*& buffer, uint64_t& size) noexcept;

  // Mounts an archive over a borrowed stream that outlives the file system.
  Result Mount(Stream* source) noexcept;
  // Mounts an archive over `size` bytes of borrowed memory.
  Result MountMemory(const void* data, uint64_t size) noexcept;
  // Mounts an archive file, kept open by the file system.
  Result MountFile(const char16_t* path) noexcept;
  // Mounts the archive stored as `size` bytes from `offset` of a file (a
  // package carried inside an executable), read from the file as needed.
  // A range the file does not hold: 40.
  Result MountFileRange(const char16_t* path, uint64_t offset, uint64_t size) noexcept;
  uint32_t ArchiveCount() noexcept;
  // Where the mounted archives are read from, newest first, one a line (for
  // logs and reports): "Window(offset,size,File(...))" for the package an
  // executable carries when it is read from the file, "MemoryStream(...)"
  // for one read from memory.
  String Describe() noexcept;
  // How mounting the embedded package went in Instance(): 0, or why the
  // file system has no embedded archive (29 when there is no resource).
  Result EmbeddedResult() const noexcept { return embedded_result_; }

 private:
  enum class WithEmbedded { kYes };
  explicit PackageFileSystem(WithEmbedded) noexcept;

  struct Mounted {
    PackageArchive archive;
    MemoryStream memory;
    FileStream file;
    WindowStream window;  // over `file`, for a range of it
    Stream* source = nullptr;  // what the archive reads
    Mounted* next = nullptr;
  };

  // The embedded package; on POSIX there is none: 29.
  Result MountEmbedded() noexcept;
  // Mounts `mounted` over its own stream and puts it at the head of the list,
  // or destroys it.
  Result Push(Mounted* mounted, Stream* source) noexcept;

  LockObject lock_;
  Mounted* archives_ = nullptr;
  Result embedded_result_ = kNotFound;
};

}  // namespace vorn
