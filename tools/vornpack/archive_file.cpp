#include "archive_file.h"

#include <cstring>

#include "file_ops.h"
#include "package/package_format.h"
#include "pe_package_locator.h"
#include "tool_text.h"

namespace vornpack {

Result ArchiveFile::Load(const std::u16string& path, std::string& error) {
  std::vector<uint8_t> bytes;
  Result r = ReadWholeFile(path, bytes);
  if (r != vorn::kOk) {
    error = "cannot read " + ToUtf8(path) + " (error " + std::to_string(r) + ")";
    return r;
  }
  r = Assign(std::move(bytes), error);
  if (r != vorn::kOk) error = ToUtf8(path) + ": " + error;
  return r;
}

Result ArchiveFile::Assign(std::vector<uint8_t> bytes, std::string& error) {
  bytes_ = std::move(bytes);
  offset_ = 0;
  size_ = bytes_.size();
  from_executable_ = false;
  if (size_ >= vorn::kMagicSize && std::memcmp(bytes_.data(), vorn::kArchiveMagic, 8) == 0) {
    return vorn::kOk;
  }
  if (LooksLikeExecutable(bytes_.data(), size_)) {
    uint64_t offset = 0, length = 0;
    Result r = LocatePackageResource(bytes_.data(), size_, offset, length, error);
    if (r != vorn::kOk) {
      *this = ArchiveFile{};
      return r;
    }
    offset_ = offset;
    size_ = length;
    from_executable_ = true;
    return vorn::kOk;
  }
  *this = ArchiveFile{};
  error = "neither a package archive (no \"KelpFiLe\" magic) nor a Windows executable";
  return vorn::kInvalidContent;
}

}  // namespace vornpack

namespace vornpack {

Result OpenArchive(const std::u16string& path, ArchiveFile& file, ArchiveLayout& layout,
                   std::string& error) {
  Result r = file.Load(path, error);
  if (r != vorn::kOk) return r;
  if ((r = WalkArchive(file.Data(), file.Size(), layout, error)) != vorn::kOk) {
    error = ToUtf8(path) + (file.FromExecutable() ? " (its package)" : "") +
            ": not a sound package archive: " + error;
  }
  return r;
}

}  // namespace vornpack
