// The embedded package: RCDATA resource 4096 of the running module. It is
// read from the executable's file, a block at a time, where the resource's
// bytes lie in the file as they are; otherwise through a memory stream over
// the locked resource. Reading the file keeps a package of any size out of
// the process's memory: the copy of a large product then costs no more
// memory than its buffers, and pages of the image are never all touched.
#include <windows.h>

#include <new>

#include "foundation/string.h"
#include "package/package_file_system.h"

namespace vorn {

namespace {

constexpr WORD kPackageResource = 4096;

// Where the bytes at `data` (inside the image of `module`) lie in the
// module's file: their section's file offset plus their place in it. False
// when they are not backed by the file (or the headers make no sense).
bool FileOffsetOf(HMODULE module, const void* data, uint64_t size, uint64_t& offset) {
  const auto* base = reinterpret_cast<const uint8_t*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) return false;
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  if (nt->Signature != IMAGE_NT_SIGNATURE) return false;
  const uintptr_t rva = reinterpret_cast<const uint8_t*>(data) - base;
  const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
  for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
    const uint64_t start = section->VirtualAddress;
    if (rva < start) continue;
    const uint64_t inside = rva - start;
    if (inside + size > section->SizeOfRawData) continue;
    offset = section->PointerToRawData + inside;
    return true;
  }
  return false;
}

// The module's full path; empty when it does not fit the longest path
// Windows allows.
String ModulePath(HMODULE module) {
  constexpr DWORD kCapacity = 32768;
  wchar_t* buffer = new (std::nothrow) wchar_t[kCapacity];
  if (buffer == nullptr) return String();
  const DWORD length = GetModuleFileNameW(module, buffer, kCapacity);
  String path;
  if (length != 0 && length < kCapacity) {
    path.Assign(reinterpret_cast<const char16_t*>(buffer), length);
  }
  delete[] buffer;
  return path;
}

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
  uint64_t offset = 0;
  if (FileOffsetOf(module, data, size, offset)) {
    const String path = ModulePath(module);
    // The archive's own header check refuses bytes that are not the package
    // (a program compressed after packing holds them only in memory).
    if (!path.IsEmpty() && MountFileRange(path.Text(), offset, size) == kOk) {
      return kOk;
    }
  }
  return MountMemory(data, size);
}

}  // namespace vorn
