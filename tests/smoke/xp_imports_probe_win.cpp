// A program whose imports all exist on Windows XP, some of them with names
// close to functions XP lacks (GetTickCount, GetLocaleInfoW, FlushFileBuffers,
// GetVersionExW): the import check must pass it. It is only inspected.
#include <windows.h>

int main() {
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExW(&version);
  wchar_t text[16];
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SENGLANGUAGE, text, 16);
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key) == ERROR_SUCCESS) {
    RegQueryValueExW(key, L"", nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
  }
  FlushFileBuffers(GetStdHandle(STD_OUTPUT_HANDLE));
  return static_cast<int>(GetTickCount() & 1);
}
