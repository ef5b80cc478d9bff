// The embedded package: RCDATA resource 4096 of the running module, read in
// place through a memory stream over the locked resource.
#include <windows.h>

#include "package/package_file_system.h"

namespace vorn {

namespace {

constexpr WORD kPackageResource = 4096;

}  // namespace

Result PackageFileSystem::MountEmbedded() noexcept {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(kPackageResource),
                              MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (found == nullptr) return kNotFound;
  HGLOBAL loaded = LoadResource(module, found);
  if (loaded == nullptr) return kNotFound;
  const DWORD size = SizeofResource(module, found);
  const void* data = LockResource(loaded);
  if (data == nullptr || size == 0) return kNotFound;
  return MountMemory(data, size);
}

}  // namespace vorn
