
#include "analytics/winhttp_functions.h"

#include "analytics/http_session.h"
#include "foundation/lock_object.h"
#include "foundation/system_error.h"

namespace vorn {

namespace {

using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, BOOL*);

HINTERNET session = nullptr;  // guarded by SessionLock

// Only used once a session was opened, which needs the whole table.
const WinHttpFunctions& Http() noexcept {
  return *WinHttp();
}

LockObject& SessionLock() noexcept {
  static LockObject lock;
  return lock;
}

// Looked up: XP before SP2 lacks it, and there the process is never WOW64.
bool IsWow64() noexcept {
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (kernel == nullptr) return false;
  const auto is_wow64 = reinterpret_cast<IsWow64ProcessFunction>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
  BOOL wow64 = FALSE;
  return is_wow64 != nullptr && is_wow64(GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace

String UserAgent() noexcept {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  uint32_t major = 6, minor = 1;
  if (GetVersionExW(&version)) {
    major = version.dwMajorVersion;
    minor = version.dwMinorVersion;
  }
  return FormatUserAgent(major, minor, IsWow64());
}

Result HttpSession::Open() noexcept {
  LockGuard guard(SessionLock());
  if (session != nullptr) return kOk;
  // Without the HTTP service there is nothing to send with.
  if (WinHttp() == nullptr) return kNotSupported;
  const String agent = UserAgent();
  HINTERNET handle =
      Http().open(reinterpret_cast<const wchar_t*>(agent.Text()), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                  WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
  if (handle == nullptr) return LastSystemResult();
  if (!Http().set_timeouts(handle, kResolveTimeout, kConnectTimeout, kSendTimeout,
                          kReceiveTimeout)) {
    const Result result = LastSystemResult();
    Http().close_handle(handle);
    return result;
  }
  // Some WinHTTP versions wait for the response headers apart from the
  // receive time-out (without limit by default): bound that wait too, so
  // that a server that never answers costs one receive time-out. Older
  // versions without the option apply the receive time-out to it already.
  DWORD response_timeout = kReceiveTimeout;
  Http().set_option(handle, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &response_timeout,
                   sizeof response_timeout);
  session = handle;
  return kOk;
}

Result HttpSession::Close() noexcept {
  LockGuard guard(SessionLock());
  if (session == nullptr) return kOk;
  const Result result = Http().close_handle(session) ? kOk : LastSystemResult();
  session = nullptr;
  return result;
}

void* HttpSession::Handle() noexcept {
  LockGuard guard(SessionLock());
  return session;
}

}  // namespace vorn
