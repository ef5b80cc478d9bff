#include "setup/time_remaining_estimator.h"

#include <cmath>

#include "foundation/format.h"

namespace vorn {

void TimeRemainingEstimator::Start(double now, uint64_t total) noexcept {
  text_ = u"?";
  start_ = now;
  total_ = total;
  category_ = kTimeRemainingUnknown;
  minutes_ = 0;
}

bool TimeRemainingEstimator::Update(double now, uint64_t bytes_done) noexcept {
  const double elapsed = now - start_;
  if (!(elapsed > 0) || bytes_done == 0) return false;
  const double remaining =
      static_cast<double>(total_) * elapsed / static_cast<double>(bytes_done) - elapsed;
  uint32_t category = kTimeRemainingUnknown;
  uint32_t minutes = 0;
  Classify(remaining, category, minutes);
  if (category == category_ && minutes == minutes_) return false;
  category_ = category;
  minutes_ = minutes;
  text_ = TextFor(category, minutes);
  return true;
}

void TimeRemainingEstimator::Classify(double remaining, uint32_t& category,
                                      uint32_t& minutes) noexcept {
  minutes = 0;
  if (remaining <= 0) {
    category = kTimeRemainingNone;
  } else if (remaining < 6) {
    category = kTimeRemainingAbout5Seconds;
  } else if (remaining < 13) {
    category = kTimeRemainingAbout10Seconds;
  } else if (remaining < 60) {
    category = kTimeRemainingLessThanMinute;
  } else if (remaining < 90) {
    category = kTimeRemainingAboutAMinute;
  } else {
    category = kTimeRemainingMinutes;
    // An estimate from a very slow start can be absurdly large; the count
    // is held at what the text can show rather than converted out of range.
    const double counted = std::ceil((remaining - 10) / 60);
    minutes = counted >= 4294967295.0 ? 4294967295u : static_cast<uint32_t>(counted);
  }
}

String TimeRemainingEstimator::TextFor(uint32_t category, uint32_t minutes) const noexcept {
  switch (category) {
    case kTimeRemainingMinutes:
      return Format(texts_.about_x_minutes.Text(), FormatArg(minutes));
    case kTimeRemainingAboutAMinute:
      return texts_.about_a_minute;
    case kTimeRemainingLessThanMinute:
      return texts_.less_than_minute;
    case kTimeRemainingAbout10Seconds:
      return texts_.about_10_seconds;
    case kTimeRemainingAbout5Seconds:
      return texts_.about_5_seconds;
    default:
      return texts_.zero_seconds;
  }
}

}  // namespace vorn
