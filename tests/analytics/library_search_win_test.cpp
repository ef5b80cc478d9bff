// Libraries planted next to a program (a download folder holding a copy of
// winhttp.dll beside the installer) must never be loaded, whether the
// framework loads the library itself or the system does for it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "application/support/program_run.h"

namespace {

const wchar_t* const kPlantedNames[] = {
    L"dbghelp.dll", L"winhttp.dll",  L"msimg32.dll",  L"version.dll", L"uxtheme.dll",
    L"dwmapi.dll",  L"riched20.dll", L"cryptbase.dll", L"psapi.dll",
};

// Wine prefers its own copies of system libraries, so a planted one would
// never win; told to prefer copies that are not its own (per program, in
// its registry), as Windows always does for libraries that are no known
// DLLs, it searches as Windows does. Not for version.dll and uxtheme.dll:
// Wine's own libraries load those before the program's entry runs, where
// no program can keep them out.
const wchar_t* const kPreferPlanted[] = {L"dbghelp", L"winhttp",   L"msimg32", L"dwmapi",
                                         L"riched20", L"cryptbase", L"psapi"};
constexpr wchar_t kWineProgramKey[] = L"Software\\Wine\\AppDefaults\\library_search_probe.exe";

class PreferPlantedLibraries {
 public:
  PreferPlantedLibraries() {
    HKEY key = nullptr;
    const std::wstring overrides = std::wstring(kWineProgramKey) + L"\\DllOverrides";
    if (RegCreateKeyExW(HKEY_CURRENT_USER, overrides.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
      ADD_FAILURE() << "cannot write the library overrides";
      return;
    }
    constexpr wchar_t kNativeFirst[] = L"native,builtin";
    for (const wchar_t* name : kPreferPlanted) {
      RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(kNativeFirst),
                     sizeof kNativeFirst);
    }
    RegCloseKey(key);
  }
  ~PreferPlantedLibraries() {
    RegDeleteKeyW(HKEY_CURRENT_USER, (std::wstring(kWineProgramKey) + L"\\DllOverrides").c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, kWineProgramKey);
  }
};

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A fresh folder in the temporary folder, removed with what it holds.
class DownloadFolder {
 public:
  DownloadFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    path_ = std::wstring(temp) + L"vorn-planted-" + std::to_wstring(GetCurrentProcessId()) +
            L"-" + std::to_wstring(GetTickCount()) + L"\\";
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~DownloadFolder() {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path_ + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        DeleteFileW((path_ + found.cFileName).c_str());
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
    RemoveDirectoryW(path_.c_str());
  }
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};

TEST(LibrarySearchTest, LibrariesPlantedNextToTheProgramAreNeverLoaded) {
  DownloadFolder folder;
  const std::wstring planted = vorn::testing::TestProgramFolder() + L"planted_library.dll";
  const std::wstring program = folder.Path() + L"library_search_probe.exe";
  ASSERT_TRUE(CopyFileW((vorn::testing::TestProgramFolder() + L"library_search_probe.exe").c_str(), program.c_str(),
                        FALSE));
  for (const wchar_t* name : kPlantedNames) {
    ASSERT_TRUE(CopyFileW(planted.c_str(), (folder.Path() + name).c_str(), FALSE)) << name;
  }
  // The planted copy does leave its trace when it is loaded.
  const std::wstring control = folder.Path() + L"planted_control.dll";
  ASSERT_TRUE(CopyFileW(planted.c_str(), control.c_str(), FALSE));
  HMODULE loaded = LoadLibraryW(control.c_str());
  ASSERT_NE(loaded, nullptr);
  FreeLibrary(loaded);
  EXPECT_TRUE(Exists(control + L".loaded"));

  {
    PreferPlantedLibraries prefer;
    // With its own folder as the current folder too.
    EXPECT_EQ(vorn::testing::RunTestProgram(program, L"", folder.Path().c_str()), 0u);
  }
  for (const wchar_t* name : kPlantedNames) {
    const std::wstring trace = folder.Path() + name + L".loaded";
    EXPECT_FALSE(Exists(trace)) << "the program loaded the planted "
                                << std::string(name, name + wcslen(name));
  }
}

}  // namespace
