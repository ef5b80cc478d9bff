#include "analytics/http_connection.h"

namespace vorn {

// No HTTP service here: the tracker then starts no worker.
bool HttpConnection::ServiceExists() noexcept {
  return false;
}

HttpConnection* HttpConnection::Create(const char16_t*) noexcept {
  return nullptr;
}

Result HttpConnection::Post(uint32_t) noexcept {
  return kNotOpen;
}

void HttpConnection::CloseConnection() noexcept {}

}  // namespace vorn
