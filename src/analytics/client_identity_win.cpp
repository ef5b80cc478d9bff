
// The Windows headers depend on their order.
// clang-format off
#include <windows.h>
#include <objbase.h>
// clang-format on

#include "analytics/client_identity.h"
#include "foundation/format.h"
#include "foundation/guid.h"
#include "foundation/registry_key.h"

namespace vorn {

namespace {

constexpr int kLocaleNameCapacity = 85;  // LOCALE_NAME_MAX_LENGTH
using GetUserDefaultLocaleNameFunction = int(WINAPI*)(wchar_t*, int);

Guid NewGuid() noexcept {
  GUID value{};
  if (FAILED(CoCreateGuid(&value))) return Guid{};
  Guid guid;
  static_assert(sizeof guid.bytes == sizeof value);
  memcpy(guid.bytes, &value, sizeof value);
  // The structure's first fields are little-endian; the text order is not.
  return SwapGuidFields(guid);
}

}  // namespace

Result LoadClientId(const String& company, String& client_id) noexcept {
  client_id = String();
  // Without a company the id would land in the root of the user's software.
  if (company.IsEmpty()) return kMissingData;
  RegistryKey key;
  Result result = key.SetRoot(RegistryKey::kCurrentUser, String(u"Software\\" + company).Text());
  if (result != kOk) return result;
  String stored;
  Guid guid{};
  if (key.ReadText(u"cid", stored) == kOk && TextToGuid(stored.Text(), guid) == kOk &&
      !IsNullGuid(guid)) {
    client_id = GuidToText(guid);
    return kOk;
  }
  guid = NewGuid();
  if (IsNullGuid(guid)) return kFailed;
  client_id = GuidToText(guid);
  // An id that cannot be stored still serves this run.
  key.WriteText(u"cid", client_id.Text());
  return kOk;
}

String UserLanguage() noexcept {
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (kernel == nullptr) return String();
  // Vista and later only.
  const auto get_locale_name = reinterpret_cast<GetUserDefaultLocaleNameFunction>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "GetUserDefaultLocaleName")));
  if (get_locale_name == nullptr) return String();
  wchar_t name[kLocaleNameCapacity] = {};
  if (get_locale_name(name, kLocaleNameCapacity) <= 0) return String();
  return String(reinterpret_cast<const char16_t*>(name)).ToLower();
}

String ScreenResolution() noexcept {
  HMONITOR monitor = MonitorFromWindow(nullptr, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) return String();
  const int32_t width = info.rcMonitor.right - info.rcMonitor.left;
  const int32_t height = info.rcMonitor.bottom - info.rcMonitor.top;
  return Format(u"{0}x{1}", FormatArg(width), FormatArg(height));
}

}  // namespace vorn
