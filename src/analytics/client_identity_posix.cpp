#include "analytics/client_identity.h"

namespace vorn {

// The client id lives in the Windows registry; elsewhere analytics stay off.
Result LoadClientId(const String&, String& client_id) noexcept {
  client_id = String();
  return kNotSupported;
}

String UserLanguage() noexcept {
  return String();
}
String ScreenResolution() noexcept {
  return String();
}

}  // namespace vorn
