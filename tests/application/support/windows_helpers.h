// Reading back what the tests left in the real registry and file system,
// and running programs from them (Windows test programs only).
#pragma once

#include <windows.h>

#include <string>

#include "foundation/string.h"

namespace vorn::test {

inline const wchar_t* Wide(const String& text) {
  return reinterpret_cast<const wchar_t*>(text.Text());
}

inline String FromWide(const wchar_t* text) {
  return String(reinterpret_cast<const char16_t*>(text));
}

inline bool FileExists(const String& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

inline bool FolderExists(const String& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

inline bool WriteSmallFile(const String& path, const char* content) {
  HANDLE file = CreateFileW(Wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, content, static_cast<DWORD>(strlen(content)), &written, nullptr);
  CloseHandle(file);
  return ok != FALSE;
}

inline std::string ReadWholeFile(const String& path) {
  HANDLE file = CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string content;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
    content.append(buffer, got);
  CloseHandle(file);
  return content;
}

// A registry value with its type; type REG_NONE when it is missing.
struct RegistryValue {
  DWORD type = REG_NONE;
  std::wstring text;  // REG_SZ
  DWORD number = 0;   // REG_DWORD
};

inline RegistryValue ReadRegistryValue(HKEY root, const String& key_path, const wchar_t* name) {
  RegistryValue value;
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, Wide(key_path), 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
  BYTE data[8192] = {};
  DWORD size = sizeof data - sizeof(wchar_t);
  DWORD type = REG_NONE;
  if (RegQueryValueExW(key, name, nullptr, &type, data, &size) == ERROR_SUCCESS) {
    value.type = type;
    if (type == REG_SZ) value.text = reinterpret_cast<const wchar_t*>(data);
    if (type == REG_DWORD) value.number = *reinterpret_cast<const DWORD*>(data);
  }
  RegCloseKey(key);
  return value;
}

inline bool RegistryKeyExists(HKEY root, const String& key_path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, Wide(key_path), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// Starts the command line; null when it cannot start.
inline HANDLE StartProcess(std::wstring command, DWORD flags = 0) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr,
                      &startup, &process)) {
    return nullptr;
  }
  CloseHandle(process.hThread);
  return process.hProcess;
}

// Runs the command line to its end (two minutes at most) and gives its exit
// code; 9999 when it cannot start.
inline DWORD RunAndWait(const std::wstring& command, DWORD flags = 0) {
  HANDLE process = StartProcess(command, flags);
  if (process == nullptr) return 9999;
  WaitForSingleObject(process, 120000);
  DWORD exit_code = 9998;
  GetExitCodeProcess(process, &exit_code);
  CloseHandle(process);
  return exit_code;
}

// The temporary folder, with its trailing separator.
inline String TemporaryFolder() {
  wchar_t buffer[MAX_PATH];
  GetTempPathW(MAX_PATH, buffer);
  return FromWide(buffer);
}

inline String ShortForm(const String& path) {
  wchar_t buffer[MAX_PATH];
  const DWORD length = GetShortPathNameW(Wide(path), buffer, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? String() : FromWide(buffer);
}

}  // namespace vorn::test
