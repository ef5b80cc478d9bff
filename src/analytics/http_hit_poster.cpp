#include <new>

#include "analytics/hit_poster.h"
#include "analytics/http_connection.h"

namespace vorn {

namespace {

class HttpHitPoster : public HitPoster {
 public:
  explicit HttpHitPoster(HttpConnection* connection) noexcept : connection_(connection) {}
  ~HttpHitPoster() override { delete connection_; }

  Result Post(const String& payload, int32_t& status_code) noexcept override {
    const Result result = connection_->PostText(payload.Text());
    status_code = result == kOk ? connection_->StatusCode() : 0;
    return result;
  }

 private:
  HttpConnection* connection_;
};

}  // namespace

HitPoster* CreateHttpHitPoster(const char16_t* url) noexcept {
  HttpConnection* connection = HttpConnection::Create(url);
  if (connection == nullptr) return nullptr;
  auto* poster = new (std::nothrow) HttpHitPoster(connection);
  if (poster == nullptr) delete connection;
  return poster;
}

}  // namespace vorn
