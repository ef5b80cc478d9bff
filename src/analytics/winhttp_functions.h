// The HTTP service's functions, looked up in the system folder's
// winhttp.dll on first use (Windows only; included by the Windows files of
// the HTTP client). The library is not imported at load time: a winhttp.dll
// planted next to the program would otherwise be loaded with its rights.
#pragma once

// The Windows headers depend on their order.
// clang-format off
#include <windows.h>
#include <winhttp.h>
// clang-format on

namespace vorn {

struct WinHttpFunctions {
  decltype(&WinHttpOpen) open;
  decltype(&WinHttpCloseHandle) close_handle;
  decltype(&WinHttpSetTimeouts) set_timeouts;
  decltype(&WinHttpSetOption) set_option;
  decltype(&WinHttpCrackUrl) crack_url;
  decltype(&WinHttpConnect) connect;
  decltype(&WinHttpOpenRequest) open_request;
  decltype(&WinHttpAddRequestHeaders) add_request_headers;
  decltype(&WinHttpSendRequest) send_request;
  decltype(&WinHttpReceiveResponse) receive_response;
  decltype(&WinHttpQueryHeaders) query_headers;
  decltype(&WinHttpQueryDataAvailable) query_data_available;
  decltype(&WinHttpReadData) read_data;
  decltype(&WinHttpGetIEProxyConfigForCurrentUser) get_ie_proxy_config;
  decltype(&WinHttpGetProxyForUrl) get_proxy_for_url;
};

// The table, complete, or null when the library or one of its functions is
// missing (the HTTP client then reports "not supported"). Loaded once and
// kept for the life of the process; safe from any thread.
const WinHttpFunctions* WinHttp() noexcept;

}  // namespace vorn
