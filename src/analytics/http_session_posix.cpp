#include "analytics/http_session.h"

namespace vorn {

// Analytics are sent by the Windows builds only.
Result HttpSession::Open() noexcept {
  return kNotSupported;
}
Result HttpSession::Close() noexcept {
  return kOk;
}
void* HttpSession::Handle() noexcept {
  return nullptr;
}
String UserAgent() noexcept {
  return FormatUserAgent(6, 1, false);
}

}  // namespace vorn
