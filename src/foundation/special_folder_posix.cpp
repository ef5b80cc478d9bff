#include <stdlib.h>
#include <unistd.h>

#include <cerrno>

#include "foundation/path.h"
#include "foundation/special_folder.h"
#include "foundation/system_error.h"

namespace vorn {
namespace {

constexpr uint32_t kLongestTemporaryFolder = 510;

String TemporaryFolder() noexcept {
  const char* variable = getenv("TMPDIR");
  String folder = Utf8ToString(variable != nullptr && *variable != 0 ? variable : "/tmp/");
  folder = path::NormalizeSeparators(folder);
  if (folder.IsEmpty() || folder.Length() > kLongestTemporaryFolder) return String(u"./");
  return path::WithTrailingSeparator(folder);
}

Result NewTemporaryFile(String& path) noexcept {
  const String pattern = TemporaryFolder() + u"vnlXXXXXX";
  const Utf8Text pattern_text(pattern);
  // mkstemp fills in the template, so it needs a copy it may write.
  const size_t length = pattern_text.Length();
  char* name = static_cast<char*>(malloc(length + 1));
  if (name == nullptr) return kOutOfMemory;
  for (size_t i = 0; i <= length; ++i) name[i] = pattern_text.Text()[i];
  const int file = mkstemp(name);
  Result result = kOk;
  if (file < 0) {
    result = ResultFromErrno(errno);
  } else {
    close(file);
    path = Utf8ToString(name);
    if (path.IsEmpty()) {
      unlink(name);
      result = kOutOfMemory;
    }
  }
  free(name);
  return result;
}

}  // namespace

Result GetSpecialFolder(uint32_t number, String& path) noexcept {
  path = String();
  switch (number) {
    case kTemporaryFolder:
    case kTemporaryFolderToo:
      path = TemporaryFolder();
      return path.IsEmpty() ? kOutOfMemory : kOk;
    case kNewTemporaryFile:
      return NewTemporaryFile(path);
    default:
      return number <= kQuickLaunchFolder ? kNotSupported : kInvalidArgument;
  }
}

}  // namespace vorn
