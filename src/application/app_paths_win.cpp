#include "application/app_paths.h"
#include "foundation/path.h"
#include "foundation/registry_key.h"

namespace vorn {

namespace {

void DeleteAppPathsKey(const String& program_path) noexcept {
  RegistryKey parent;
  if (parent.SetRoot(RegistryKey::kLocalMachine,
                     u"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths") != kOk) {
    return;
  }
  // A missing entry is what we want anyway.
  parent.DeleteSubkey(path::FileName(program_path).Text());
}

}  // namespace

Result RegisterAppPaths(const String& program_path) noexcept {
  if (path::FileName(program_path).IsEmpty()) return kInvalidPath;
  DeleteAppPathsKey(program_path);
  RegistryKey key;
  Result result = key.SetRoot(RegistryKey::kLocalMachine, AppPathsKey(program_path).Text());
  if (result != kOk) return result;
  result = key.WriteText(nullptr, program_path.Text());
  if (result != kOk) return result;
  return key.WriteText(u"Path", path::FolderPart(program_path).Text());
}

Result UnregisterAppPaths(const String& program_path) noexcept {
  if (path::FileName(program_path).IsEmpty()) return kInvalidPath;
  DeleteAppPathsKey(program_path);
  return kOk;
}

}  // namespace vorn
