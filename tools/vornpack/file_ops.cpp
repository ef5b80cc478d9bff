#include "file_ops.h"

#include "package/file_stream.h"
#include "tool_text.h"

namespace vornpack {

std::u16string TemporarySibling(const std::u16string& path) {
  return path + u".vornpack-" + FromUtf8(std::to_string(CurrentProcessId())) + u".tmp";
}

Result ReadWholeFile(const std::u16string& path, std::vector<uint8_t>& bytes) {
  bytes.clear();
  vorn::FileStream file;
  Result r = file.OpenForReading(ToString(path).Text());
  if (r != vorn::kOk) return r;
  const uint64_t size = file.Size();
  if (size > (uint64_t{1} << 31)) return vorn::kInvalidSize;  // beyond what we hold in memory
  bytes.resize(static_cast<size_t>(size));
  if (size != 0 && (r = file.Read(bytes.data(), static_cast<uint32_t>(size))) != vorn::kOk) {
    bytes.clear();
    return r;
  }
  return vorn::kOk;
}

}  // namespace vornpack
