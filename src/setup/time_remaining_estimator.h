// The "time remaining" text of the transfer page: an estimate from the
// bytes copied so far and the time it took, shown in a few coarse
// categories so that the text does not flicker from chunk to chunk.
#pragma once

#include <cstdint>

#include "foundation/string.h"

namespace vorn {

// The six localized texts, looked up once on the main thread. The first is
// a template whose {0} is the number of minutes.
struct TimeRemainingTexts {
  String about_x_minutes;
  String about_a_minute;
  String less_than_minute;
  String about_10_seconds;
  String about_5_seconds;
  String zero_seconds;
};

// The category of an estimate: 1 (minutes, counted) to 6 (nothing left);
// 0 before any estimate.
enum TimeRemainingCategory : uint32_t {
  kTimeRemainingUnknown = 0,
  kTimeRemainingMinutes = 1,
  kTimeRemainingAboutAMinute = 2,
  kTimeRemainingLessThanMinute = 3,
  kTimeRemainingAbout10Seconds = 4,
  kTimeRemainingAbout5Seconds = 5,
  kTimeRemainingNone = 6,
};

class TimeRemainingEstimator {
 public:
  void SetTexts(const TimeRemainingTexts& texts) noexcept { texts_ = texts; }

  // A new copy of `total` bytes starting at `now` (seconds): the text is "?"
  // until the first estimate.
  void Start(double now, uint64_t total) noexcept;
  // Estimates from `bytes_done` at `now`; true when the text changed, which
  // happens only when the category or the minute count does. Nothing
  // changes while no time has passed or nothing was copied.
  bool Update(double now, uint64_t bytes_done) noexcept;

  const String& Text() const noexcept { return text_; }
  uint32_t Category() const noexcept { return category_; }
  uint32_t Minutes() const noexcept { return minutes_; }

  // The category of `remaining` seconds and, for counted minutes, their
  // number (the estimate less ten seconds, rounded up to whole minutes).
  static void Classify(double remaining, uint32_t& category, uint32_t& minutes) noexcept;

 private:
  String TextFor(uint32_t category, uint32_t minutes) const noexcept;

  TimeRemainingTexts texts_;
  String text_{u"?"};
  double start_ = 0;
  uint64_t total_ = 0;
  uint32_t category_ = kTimeRemainingUnknown;
  uint32_t minutes_ = 0;
};

// Seconds of a steady clock (the performance counter where there is one).
double TimeRemainingClockSeconds() noexcept;

}  // namespace vorn
