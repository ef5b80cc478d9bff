
#include "analytics/winhttp_functions.h"

#include <cstdlib>
#include <new>

#include "analytics/http_connection.h"
#include "analytics/http_session.h"
#include "foundation/system_error.h"

namespace vorn {

namespace {

constexpr DWORD kCrackBufferCharacters = 4096;
constexpr wchar_t kFormContentType[] = L"Content-Type: application/x-www-form-urlencoded";

// A connection exists only over an open session, which needs the whole
// table.
const WinHttpFunctions& Http() noexcept {
  return *WinHttp();
}

const wchar_t* Wide(const String& text) noexcept {
  return reinterpret_cast<const wchar_t*>(text.Text());
}

// Takes a text the system allocated, and frees it.
String TakeSystemText(wchar_t*& text) noexcept {
  String value;
  if (text != nullptr) {
    value = reinterpret_cast<const char16_t*>(text);
    GlobalFree(text);
    text = nullptr;
  }
  return value;
}

// A request handle that is closed on every way out.
class RequestHandle {
 public:
  explicit RequestHandle(HINTERNET handle) noexcept : handle_(handle) {}
  ~RequestHandle() {
    if (handle_ != nullptr) Http().close_handle(handle_);
  }
  RequestHandle(const RequestHandle&) = delete;
  RequestHandle& operator=(const RequestHandle&) = delete;
  HINTERNET Get() const noexcept { return handle_; }

 private:
  HINTERNET handle_;
};

}  // namespace

// WinHTTP is part of every supported Windows; whether it loads is known
// at the first connection.
bool HttpConnection::ServiceExists() noexcept {
  return true;
}

HttpConnection* HttpConnection::Create(const char16_t* url) noexcept {
  if (HttpSession::Open() != kOk) return nullptr;
  auto* connection = new (std::nothrow) HttpConnection;
  if (connection == nullptr) return nullptr;
  connection->state_ = connection->Connect(url);
  return connection;
}

void HttpConnection::CloseConnection() noexcept {
  if (connection_ != nullptr) Http().close_handle(static_cast<HINTERNET>(connection_));
  connection_ = nullptr;
}

Result HttpConnection::Connect(const char16_t* url) noexcept {
  if (url == nullptr || *url == 0) return kInvalidArgument;
  url_ = url;
  wchar_t* host = new (std::nothrow) wchar_t[kCrackBufferCharacters];
  wchar_t* path = new (std::nothrow) wchar_t[kCrackBufferCharacters];
  Result result = kOk;
  if (host == nullptr || path == nullptr) result = kOutOfMemory;
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host;
  parts.dwHostNameLength = kCrackBufferCharacters;
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = kCrackBufferCharacters;
  if (result == kOk && !Http().crack_url(Wide(url_), 0, 0, &parts)) result = LastSystemResult();
  if (result == kOk) {
    host_.Assign(reinterpret_cast<const char16_t*>(host), parts.dwHostNameLength);
    port_ = parts.nPort;
    secure_ = parts.nScheme == INTERNET_SCHEME_HTTPS;
    request_flags_ = secure_ ? WINHTTP_FLAG_SECURE : 0;
    connection_ =
        Http().connect(static_cast<HINTERNET>(HttpSession::Handle()), Wide(host_), port_, 0);
    if (connection_ == nullptr) result = LastSystemResult();
  }
  delete[] host;
  delete[] path;
  return result;
}

void HttpConnection::ApplyProxy(void* request) noexcept {
  if (proxy_list_.IsEmpty()) return;
  WINHTTP_PROXY_INFO proxy{};
  proxy.dwAccessType = proxy_access_;
  proxy.lpszProxy = const_cast<wchar_t*>(Wide(proxy_list_));
  proxy.lpszProxyBypass =
      proxy_bypass_.IsEmpty() ? nullptr : const_cast<wchar_t*>(Wide(proxy_bypass_));
  // Without the proxy the request simply goes direct.
  Http().set_option(static_cast<HINTERNET>(request), WINHTTP_OPTION_PROXY, &proxy, sizeof proxy);
}

Result HttpConnection::DiscoverProxy() noexcept {
  discovery_attempted_ = true;
  WINHTTP_CURRENT_USER_IE_PROXY_CONFIG user{};
  if (!Http().get_ie_proxy_config(&user)) return LastSystemResult();
  String auto_config_url = TakeSystemText(user.lpszAutoConfigUrl);
  String user_proxy = TakeSystemText(user.lpszProxy);
  String user_bypass = TakeSystemText(user.lpszProxyBypass);
  if (!user_proxy.IsEmpty()) {
    proxy_access_ = WINHTTP_ACCESS_TYPE_NAMED_PROXY;
    proxy_list_ = user_proxy;
    proxy_bypass_ = user_bypass;
    return kOk;
  }
  WINHTTP_AUTOPROXY_OPTIONS options{};
  if (!auto_config_url.IsEmpty()) {
    options.dwFlags = WINHTTP_AUTOPROXY_CONFIG_URL;
    options.lpszAutoConfigUrl = Wide(auto_config_url);
  } else {
    options.dwFlags = WINHTTP_AUTOPROXY_AUTO_DETECT;
  }
  options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
  options.fAutoLogonIfChallenged = TRUE;
  WINHTTP_PROXY_INFO found{};
  if (!Http().get_proxy_for_url(static_cast<HINTERNET>(HttpSession::Handle()), Wide(url_), &options,
                             &found)) {
    return LastSystemResult();
  }
  proxy_access_ = found.dwAccessType;
  proxy_list_ = TakeSystemText(found.lpszProxy);
  proxy_bypass_ = TakeSystemText(found.lpszProxyBypass);
  return kOk;
}

Result HttpConnection::SendRequest(void* request, uint32_t body_length) noexcept {
  void* body = body_length > 0 ? buffer_ : WINHTTP_NO_REQUEST_DATA;
  if (Http().send_request(static_cast<HINTERNET>(request), WINHTTP_NO_ADDITIONAL_HEADERS, 0, body,
                         body_length, body_length, 0)) {
    return kOk;
  }
  Result result = LastSystemResult();
  if (discovery_attempted_) return result;
  // Perhaps the network wants a proxy: look once per connection.
  if (DiscoverProxy() != kOk || proxy_list_.IsEmpty()) return result;
  ApplyProxy(request);
  if (Http().send_request(static_cast<HINTERNET>(request), WINHTTP_NO_ADDITIONAL_HEADERS, 0, body,
                         body_length, body_length, 0)) {
    return kOk;
  }
  return LastSystemResult();
}

Result HttpConnection::QueryHeader(void* request, uint32_t query, String& value) noexcept {
  value = String();
  DWORD size = buffer_size_ & ~1u;
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (Http().query_headers(static_cast<HINTERNET>(request), query, WINHTTP_HEADER_NAME_BY_INDEX,
                            size > 0 ? buffer_ : nullptr, &size, WINHTTP_NO_HEADER_INDEX)) {
      value.Assign(reinterpret_cast<const char16_t*>(buffer_), size / sizeof(char16_t));
      return kOk;
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return LastSystemResult();
    const Result grown = GrowBuffer(size + 2);
    if (grown != kOk) return grown;
    size = buffer_size_ & ~1u;
  }
  return LastSystemResult();
}

Result HttpConnection::ReadBody(void* request) noexcept {
  uint32_t length = 0;
  for (;;) {
    DWORD available = 0;
    if (!Http().query_data_available(static_cast<HINTERNET>(request), &available)) {
      return LastSystemResult();
    }
    if (available == 0) break;
    if (available > 0xFFFFFFFFu - length - 1) return kInvalidSize;
    const Result grown = GrowBuffer(length + available);
    if (grown != kOk) return grown;
    DWORD read = 0;
    if (!Http().read_data(static_cast<HINTERNET>(request), buffer_ + length, available, &read)) {
      return LastSystemResult();
    }
    length += read;
  }
  // An empty body (a 204) is an empty stream.
  if (length > 0) body_.Open(buffer_, length, MemoryStream::kReading);
  return kOk;
}

Result HttpConnection::ReadResponse(void* request) noexcept {
  if (!Http().receive_response(static_cast<HINTERNET>(request), nullptr)) {
    return LastSystemResult();
  }
  String status;
  Result result = QueryHeader(request, WINHTTP_QUERY_STATUS_CODE, status);
  if (result != kOk) return result;
  status_code_ = TextToInt32(status.Text());
  // A response without a body (a 204) may have no content type at all.
  result = QueryHeader(request, WINHTTP_QUERY_CONTENT_TYPE, content_type_);
  if (result != kOk && result != kNotFound) return result;
  return ReadBody(request);
}

Result HttpConnection::Post(uint32_t body_length) noexcept {
  status_code_ = 0;
  content_type_ = String();
  body_.Close();
  if (connection_ == nullptr) return kNotOpen;
  RequestHandle request(Http().open_request(static_cast<HINTERNET>(connection_), L"POST",
                                           L"/collect", nullptr, WINHTTP_NO_REFERER,
                                           WINHTTP_DEFAULT_ACCEPT_TYPES, request_flags_));
  if (request.Get() == nullptr) return LastSystemResult();
  ApplyProxy(request.Get());
  if (body_length > 0 &&
      !Http().add_request_headers(request.Get(), kFormContentType, static_cast<DWORD>(-1L),
                                WINHTTP_ADDREQ_FLAG_ADD)) {
    return LastSystemResult();
  }
  Result result = SendRequest(request.Get(), body_length);
  if (result != kOk) return result;
  result = ReadResponse(request.Get());
  if (result != kOk) {
    status_code_ = 0;
    content_type_ = String();
    body_.Close();
  }
  return result;
}

}  // namespace vorn
