#include <windows.h>

#include "foundation/path.h"
#include "foundation/system_library.h"

namespace vorn {
namespace {

// Newer than the headers this code is built against (XP's).
constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryFunction = BOOL(WINAPI*)(LPCWSTR);

FARPROC KernelFunction(const char* name) noexcept {
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  return kernel != nullptr ? GetProcAddress(kernel, name) : nullptr;
}

}  // namespace

void RestrictLibrarySearch() noexcept {
  // Both are looked up: XP before SP1 lacks the second, and only Windows 7
  // with its update and later systems have the first. Where the first is
  // missing, every library of ours is still loaded by its full path.
  const auto set_default = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      reinterpret_cast<void*>(KernelFunction("SetDefaultDllDirectories")));
  if (set_default != nullptr) set_default(kSearchSystem32);
  const auto set_directory = reinterpret_cast<SetDllDirectoryFunction>(
      reinterpret_cast<void*>(KernelFunction("SetDllDirectoryW")));
  // The empty text removes the current folder from the search order.
  if (set_directory != nullptr) set_directory(L"");
}

String SystemLibraryPath(const char16_t* file_name) noexcept {
  if (file_name == nullptr || *file_name == 0) return String();
  for (const char16_t* at = file_name; *at != 0; ++at) {
    if (path::IsSeparator(*at) || *at == u':') return String();
  }
  wchar_t folder[MAX_PATH + 1];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH + 1);
  if (length == 0 || length > MAX_PATH) return String();
  String full(reinterpret_cast<const char16_t*>(folder), length);
  if (!path::EndsWithSeparator(full)) full += u'\\';
  full += file_name;
  return full;
}

void* LoadSystemLibrary(const char16_t* file_name) noexcept {
  const String full = SystemLibraryPath(file_name);
  if (full.IsEmpty()) return nullptr;
  // The altered search order looks for the library's own dependencies in
  // its folder (the system folder) before anywhere else; XP has it too.
  return LoadLibraryExW(reinterpret_cast<const wchar_t*>(full.Text()), nullptr,
                        LOAD_WITH_ALTERED_SEARCH_PATH);
}

void FreeSystemLibrary(void* library) noexcept {
  if (library != nullptr) FreeLibrary(static_cast<HMODULE>(library));
}

void* SystemLibraryFunction(void* library, const char* name) noexcept {
  if (library == nullptr || name == nullptr) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

}  // namespace vorn
