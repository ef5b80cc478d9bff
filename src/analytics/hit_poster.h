// Where the sending queue posts its hits: the HTTP connection to the
// collection endpoint, or a stand-in in tests.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

class HttpConnection;

class HitPoster {
 public:
  virtual ~HitPoster() = default;
  // Posts one payload: 0 with the response's status code, else the failure.
  virtual Result Post(const String& payload, int32_t& status_code) noexcept = 0;
};

// A poster over an HTTP connection to `url`; null when no connection can be
// made (no HTTP service, no session, out of memory).
HitPoster* CreateHttpHitPoster(const char16_t* url) noexcept;

}  // namespace vorn
