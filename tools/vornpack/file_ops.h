// The few file operations the tool needs beyond the framework's streams
// and folders: the status of one path, an atomic replace by rename, and
// whole-file reads.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/date_time.h"
#include "foundation/result.h"

namespace vornpack {

using vorn::Result;

struct FileStatus {
  bool exists = false;
  bool is_folder = false;
  uint64_t size = 0;
  vorn::DateTime last_write;
};

// A missing path is no error: `exists` stays false.
Result QueryFileStatus(const std::u16string& path, FileStatus& status);

// Moves `from` over `to`, replacing it; on one volume this is atomic, so a
// reader of `to` sees the old file or the whole new one.
Result RenameReplacing(const std::u16string& from, const std::u16string& to);

// A name next to `path` for writing the output before it is complete.
std::u16string TemporarySibling(const std::u16string& path);

Result ReadWholeFile(const std::u16string& path, std::vector<uint8_t>& bytes);

// The current process's id (to keep temporary names of parallel runs apart).
uint32_t CurrentProcessId();

}  // namespace vornpack

namespace vornpack {

// The absolute form of `path` (links resolved on POSIX); a path that does
// not exist yet is resolved through its folder.
Result FullPath(const std::u16string& path, std::u16string& full);

}  // namespace vornpack
