#include <windows.h>
// The shell and COM headers need windows.h first.
#include <shlobj.h>

#include "foundation/path.h"
#include "foundation/special_folder.h"
#include "foundation/system_error.h"

namespace vorn {
namespace {

constexpr DWORD kLongestTemporaryFolder = 510;

String FromWide(const wchar_t* text) noexcept {
  return String(reinterpret_cast<const char16_t*>(text));
}

String TemporaryFolder() noexcept {
  wchar_t buffer[kLongestTemporaryFolder + 2];
  const DWORD length = GetTempPathW(kLongestTemporaryFolder + 2, buffer);
  // 0 is a failure; a longer answer is the size the folder would need.
  if (length == 0 || length > kLongestTemporaryFolder) return String(u"./");
  return path::NormalizeSeparators(String(reinterpret_cast<const char16_t*>(buffer), length));
}

Result NewTemporaryFile(String& path) noexcept {
  const String folder = TemporaryFolder();
  wchar_t name[MAX_PATH + 1];
  // The call creates the file, which keeps its unique name taken.
  if (GetTempFileNameW(reinterpret_cast<const wchar_t*>(folder.Text()), L"vnl", 0, name) == 0) {
    return LastSystemResult();
  }
  path = path::NormalizeSeparators(FromWide(name));
  return path.IsEmpty() ? kOutOfMemory : kOk;
}

// One shell folder by its CSIDL number; false when the system has none.
bool ShellFolder(int csidl, String& path) noexcept {
  wchar_t buffer[MAX_PATH + 1];
  if (SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer) != S_OK) return false;
  String folder = path::NormalizeSeparators(FromWide(buffer));
  if (folder.IsEmpty()) return false;
  if (!path::EndsWithSeparator(folder)) folder += u'\\';
  path = folder;
  return true;
}

// The all-users folder, or the user's own where there is no common one.
bool CommonOrUserFolder(int common, int user, String& path) noexcept {
  return ShellFolder(common, path) || ShellFolder(user, path);
}

bool FindShellFolder(uint32_t number, String& path) noexcept {
  switch (number) {
    case kProgramFilesFolder:
      return ShellFolder(CSIDL_PROGRAM_FILES, path);
    case kApplicationDataFolder:
      return CommonOrUserFolder(CSIDL_COMMON_APPDATA, CSIDL_APPDATA, path);
    case kDesktopFolder:
      return CommonOrUserFolder(CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_DESKTOPDIRECTORY, path);
    case kProgramsMenuFolder:
      return CommonOrUserFolder(CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS, path);
    case kUserApplicationDataFolder:
      return ShellFolder(CSIDL_APPDATA, path);
    case kUserDesktopFolder:
      return ShellFolder(CSIDL_DESKTOPDIRECTORY, path);
    case kUserDocumentsFolder:
      return ShellFolder(CSIDL_PERSONAL, path);
    case kQuickLaunchFolder:
      if (!ShellFolder(CSIDL_APPDATA, path)) return false;
      path += u"Microsoft\\Internet Explorer\\Quick Launch\\";
      return true;
    default:
      return false;
  }
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
      if (number > kQuickLaunchFolder) return kInvalidArgument;
      if (!FindShellFolder(number, path)) {
        path = String();
        return kNotFound;
      }
      return kOk;
  }
}

}  // namespace vorn
