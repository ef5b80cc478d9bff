// The process-wide HTTP session: one handle with the framework's user agent
// and fixed time-outs, opened on first use and closed at program exit.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

class HttpSession {
 public:
  // Time-outs of every request, in milliseconds.
  static constexpr uint32_t kResolveTimeout = 20000;
  static constexpr uint32_t kConnectTimeout = 30000;
  static constexpr uint32_t kSendTimeout = 15000;
  static constexpr uint32_t kReceiveTimeout = 15000;

  // Opens the session unless it is open; the mapped system error on failure
  // (2 where there is no HTTP service).
  static Result Open() noexcept;
  // Closes the session if it is open.
  static Result Close() noexcept;
  // The session handle, null when it is not open.
  static void* Handle() noexcept;
};

// "Mozilla/5.0 (Windows NT {major}.{minor}{; WOW64}) VornLib/2.0".
String FormatUserAgent(uint32_t major, uint32_t minor, bool wow64) noexcept;
// The user agent of this process (version 6.1 when the system will not say).
String UserAgent() noexcept;

}  // namespace vorn
