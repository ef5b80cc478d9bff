// HttpConnection: one target URL of the HTTP session, used for many POST
// requests by one thread at a time. A send that fails makes it look for the
// user's proxy once; what it finds is used for every later request.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"
#include "package/memory_stream.h"

namespace vorn {

class HttpConnection {
 public:
  // Opens the session and connects to the URL's host and port. Null when
  // the session cannot be opened or memory runs out; otherwise the
  // connection, whose State() tells whether connecting worked.
  static HttpConnection* Create(const char16_t* url) noexcept;
  // Whether this platform has an HTTP service at all; says so without
  // loading it.
  static bool ServiceExists() noexcept;
  ~HttpConnection();
  HttpConnection(const HttpConnection&) = delete;
  HttpConnection& operator=(const HttpConnection&) = delete;

  Result State() const noexcept { return state_; }
  bool IsSecure() const noexcept { return secure_; }
  const String& Host() const noexcept { return host_; }
  uint16_t Port() const noexcept { return port_; }

  // POSTs the text, as UTF-8 form data, to "/collect". A null text sends a
  // request without body and without content type. 0 once a response was
  // read, whatever its status; 4 without a connection; else the mapped
  // system error (12 when the buffer cannot grow).
  Result PostText(const char16_t* text) noexcept;

  // The last response: its status (0 before one), content type and body
  // (valid until the next post).
  int32_t StatusCode() const noexcept { return status_code_; }
  const String& ContentType() const noexcept { return content_type_; }
  MemoryStream& Body() noexcept { return body_; }
  bool DiscoveryAttempted() const noexcept { return discovery_attempted_; }

 private:
  HttpConnection() noexcept = default;

  Result Connect(const char16_t* url) noexcept;
  void CloseConnection() noexcept;
  Result Post(uint32_t body_length) noexcept;
  Result SendRequest(void* request, uint32_t body_length) noexcept;
  Result ReadResponse(void* request) noexcept;
  Result QueryHeader(void* request, uint32_t query, String& value) noexcept;
  Result ReadBody(void* request) noexcept;
  Result DiscoverProxy() noexcept;
  void ApplyProxy(void* request) noexcept;
  Result GrowBuffer(uint32_t size) noexcept;

  String url_;
  String host_;
  uint16_t port_ = 0;
  bool secure_ = false;
  uint32_t request_flags_ = 0;
  void* connection_ = nullptr;
  Result state_ = kNotOpen;
  uint32_t proxy_access_ = 0;
  String proxy_list_;
  String proxy_bypass_;
  bool discovery_attempted_ = false;
  uint8_t* buffer_ = nullptr;
  uint32_t buffer_size_ = 0;
  MemoryStream body_;
  int32_t status_code_ = 0;
  String content_type_;
};

}  // namespace vorn
