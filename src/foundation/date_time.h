// Date-time: signed 64-bit microseconds since 0001-01-01 00:00:00 in the
// proleptic Gregorian calendar; the most negative value means no date.
#pragma once

#include <cstdint>

namespace vorn {

struct CivilDateTime {
  int32_t year;
  int32_t month;   // 1..12
  int32_t day;     // 1..31
  int32_t hours;
  int32_t minutes;
  double seconds;  // with fractions
};

class DateTime {
 public:
  static constexpr int64_t kNoDate = INT64_MIN;
  static constexpr int64_t kMicrosecondsPerDay = 86400000000LL;

  constexpr DateTime() noexcept = default;
  constexpr explicit DateTime(int64_t microseconds) noexcept : value_(microseconds) {}

  // Day number of a civil date (0001-01-01 is day 0); an invalid date gives 0.
  static int64_t DayNumber(int32_t year, int32_t month, int32_t day) noexcept;
  static bool IsValidDate(int32_t year, int32_t month, int32_t day) noexcept;
  static DateTime FromCivil(const CivilDateTime& civil) noexcept;
  // From a Windows file time (100 ns units since 1601-01-01) and back.
  static DateTime FromFileTime(uint64_t file_time) noexcept;
  // From seconds and nanoseconds since 1970-01-01 (POSIX file times).
  static DateTime FromUnixTime(int64_t seconds, int64_t nanoseconds) noexcept;
  // The current time, UTC.
  static DateTime Now() noexcept;

  int64_t Value() const noexcept { return value_; }
  bool IsNoDate() const noexcept { return value_ == kNoDate; }
  CivilDateTime ToCivil() const noexcept;
  uint64_t ToFileTime() const noexcept;  // (value - 1601-01-01) * 10
  // Seconds and nanoseconds since 1970-01-01.
  void ToUnixTime(int64_t& seconds, int64_t& nanoseconds) const noexcept;

  bool operator==(const DateTime& o) const noexcept { return value_ == o.value_; }

 private:
  int64_t value_ = kNoDate;
};

}  // namespace vorn
