// A hit poster that records every payload and answers with scripted status
// codes, for tests of the sending queue and the tracker.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "analytics/hit_poster.h"

namespace vorn::testing {

struct PosterLog {
  std::mutex mutex;
  std::vector<std::u16string> payloads;
  // Status of the n-th post (200 past the end); a negative entry fails the
  // post itself with code 7.
  std::vector<int> statuses;

  std::vector<std::u16string> Payloads() {
    std::lock_guard<std::mutex> guard(mutex);
    return payloads;
  }
};

class RecordingPoster : public HitPoster {
 public:
  explicit RecordingPoster(PosterLog& log) : log_(log) {}
  Result Post(const String& payload, int32_t& status_code) noexcept override {
    std::lock_guard<std::mutex> guard(log_.mutex);
    const size_t index = log_.payloads.size();
    log_.payloads.emplace_back(payload.Text(), payload.Length());
    const int status = index < log_.statuses.size() ? log_.statuses[index] : 200;
    if (status < 0) {
      status_code = 0;
      return kFailed;
    }
    status_code = status;
    return kOk;
  }

 private:
  PosterLog& log_;
};

}  // namespace vorn::testing
