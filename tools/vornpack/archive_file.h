// An archive given to list, verify or extract: a package archive file, or
// an executable that carries one as RCDATA 4096. The whole file is held in
// memory; `Data()` is the archive itself within it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/result.h"

namespace vornpack {

using vorn::Result;

class ArchiveFile {
 public:
  // 0, or the reason in `error`: unreadable (the system's code), neither an
  // archive nor an executable (33), an executable without a package (29).
  Result Load(const std::u16string& path, std::string& error);
  // Over bytes already in memory (tests, and the package just built).
  Result Assign(std::vector<uint8_t> bytes, std::string& error);

  const uint8_t* Data() const { return bytes_.data() + offset_; }
  uint64_t Size() const { return size_; }
  bool FromExecutable() const { return from_executable_; }
  uint64_t OffsetInFile() const { return offset_; }

 private:
  std::vector<uint8_t> bytes_;
  uint64_t offset_ = 0;
  uint64_t size_ = 0;
  bool from_executable_ = false;
};

}  // namespace vornpack

#include "archive_walk.h"

namespace vornpack {

// Loads the file and walks the archive in it; the error names the file.
Result OpenArchive(const std::u16string& path, ArchiveFile& file, ArchiveLayout& layout,
                   std::string& error);

}  // namespace vornpack
