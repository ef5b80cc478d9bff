// A program that imports, statically, functions Windows XP lacks: what the
// import check must find. It is only inspected, never run.
#undef _WIN32_WINNT
#undef WINVER
#define _WIN32_WINNT 0x0600
#define WINVER 0x0600
#include <windows.h>
#include <dwmapi.h>

int main() {
  SRWLOCK lock;
  InitializeSRWLock(&lock);
  CONDITION_VARIABLE condition;
  InitializeConditionVariable(&condition);
  wchar_t name[LOCALE_NAME_MAX_LENGTH];
  GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH);
  wchar_t text[16];
  GetLocaleInfoEx(name, LOCALE_SENGLANGUAGE, text, 16);
  DWORD size = 0;
  RegGetValueW(HKEY_CURRENT_USER, L"Software", L"", RRF_RT_ANY, nullptr, nullptr, &size);
  BOOL composition = FALSE;
  DwmIsCompositionEnabled(&composition);
  return static_cast<int>(FlsAlloc(nullptr) + GetTickCount64());
}
