#include <new>

#include "analytics/hit_poster.h"
#include "analytics/http_connection.h"
#include "foundation/string.h"

namespace vorn {

namespace {

// The connection, and with it the HTTP service's library, is made on the
// first post, on the sending thread: loading that library on the thread
// that starts the program delays its first window.
class HttpHitPoster : public HitPoster {
 public:
  explicit HttpHitPoster(String url) noexcept : url_(static_cast<String&&>(url)) {}
  ~HttpHitPoster() override { delete connection_; }

  Result Post(const String& payload, int32_t& status_code) noexcept override {
    status_code = 0;
    if (connection_ == nullptr) {
      if (tried_) return kNotSupported;
      tried_ = true;
      connection_ = HttpConnection::Create(url_.Text());
      if (connection_ == nullptr) return kNotSupported;
    }
    const Result result = connection_->PostText(payload.Text());
    if (result == kOk) status_code = connection_->StatusCode();
    return result;
  }

 private:
  String url_;
  HttpConnection* connection_ = nullptr;
  bool tried_ = false;
};

}  // namespace

HitPoster* CreateHttpHitPoster(const char16_t* url) noexcept {
  if (!HttpConnection::ServiceExists()) return nullptr;
  String text(url);
  if (url != nullptr && text.Length() != TextLength(url)) return nullptr;
  return new (std::nothrow) HttpHitPoster(static_cast<String&&>(text));
}

}  // namespace vorn
