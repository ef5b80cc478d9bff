#include "analytics/winhttp_functions.h"

#include "foundation/system_library.h"

namespace vorn {
namespace {

template <class Function>
bool Find(void* library, const char* name, Function& function) noexcept {
  function = reinterpret_cast<Function>(SystemLibraryFunction(library, name));
  return function != nullptr;
}

const WinHttpFunctions* LoadWinHttp() noexcept {
  static WinHttpFunctions functions;
  void* library = LoadSystemLibrary(u"winhttp.dll");
  if (library == nullptr) return nullptr;
  const bool complete =
      Find(library, "WinHttpOpen", functions.open) &&
      Find(library, "WinHttpCloseHandle", functions.close_handle) &&
      Find(library, "WinHttpSetTimeouts", functions.set_timeouts) &&
      Find(library, "WinHttpSetOption", functions.set_option) &&
      Find(library, "WinHttpCrackUrl", functions.crack_url) &&
      Find(library, "WinHttpConnect", functions.connect) &&
      Find(library, "WinHttpOpenRequest", functions.open_request) &&
      Find(library, "WinHttpAddRequestHeaders", functions.add_request_headers) &&
      Find(library, "WinHttpSendRequest", functions.send_request) &&
      Find(library, "WinHttpReceiveResponse", functions.receive_response) &&
      Find(library, "WinHttpQueryHeaders", functions.query_headers) &&
      Find(library, "WinHttpQueryDataAvailable", functions.query_data_available) &&
      Find(library, "WinHttpReadData", functions.read_data) &&
      Find(library, "WinHttpGetIEProxyConfigForCurrentUser", functions.get_ie_proxy_config) &&
      Find(library, "WinHttpGetProxyForUrl", functions.get_proxy_for_url);
  if (!complete) {
    FreeSystemLibrary(library);
    return nullptr;
  }
  return &functions;
}

}  // namespace

const WinHttpFunctions* WinHttp() noexcept {
  // One-time initialisation under the runtime's guard: the analytics sender
  // thread and the main thread may both come here first.
  static const WinHttpFunctions* const functions = LoadWinHttp();
  return functions;
}

}  // namespace vorn
