#include "foundation/date_time.h"

#include <cmath>

namespace vorn {
namespace {

constexpr int64_t kMicrosecondsPerSecond = 1000000;
constexpr int64_t kDaysPer400Years = 146097;
constexpr int64_t kDaysPer4Years = 1461;
// Day numbers of the two epochs the platforms count file times from.
constexpr int64_t kDay1601 = 584388;  // 1601-01-01
constexpr int64_t kDay1970 = 719162;  // 1970-01-01
constexpr int64_t kValue1601 = kDay1601 * DateTime::kMicrosecondsPerDay;
constexpr int64_t kValue1970 = kDay1970 * DateTime::kMicrosecondsPerDay;

// Division rounding towards minus infinity; equal to truncation for the
// non-negative operands of every year from 1 on.
constexpr int64_t FloorDivide(int64_t a, int64_t b) noexcept {
  const int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

constexpr int64_t FloorModulo(int64_t a, int64_t b) noexcept {
  return a - FloorDivide(a, b) * b;
}

// Years before year 1 count as in history: -1 is the year before 1. The
// calendar arithmetic uses the continuous (astronomical) numbering in which
// that year is 0, so that the leap years and day numbers go on without a gap.
constexpr int64_t AstronomicalYear(int32_t year) noexcept {
  return year < 0 ? static_cast<int64_t>(year) + 1 : year;
}

constexpr int32_t CivilYear(int64_t astronomical) noexcept {
  return static_cast<int32_t>(astronomical <= 0 ? astronomical - 1 : astronomical);
}

constexpr bool IsLeapYear(int64_t astronomical) noexcept {
  return (astronomical % 4 == 0 && astronomical % 100 != 0) || astronomical % 400 == 0;
}

constexpr int32_t MonthLength(int64_t astronomical, int32_t month) noexcept {
  constexpr int32_t kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(astronomical) ? 29 : kLengths[month - 1];
}

// Days since 0001-01-01, counting years from March so that the leap day ends
// the year; a cycle of 400 years has 146,097 days, one of 4 years 1,461.
int64_t DaysFromCivil(int64_t astronomical, int32_t month, int32_t day) noexcept {
  const int64_t a = month < 3 ? 1 : 0;
  const int64_t y = astronomical - a;
  const int64_t m = month + 12 * a - 3;
  const int64_t centuries = FloorDivide(y, 100);
  const int64_t years = FloorModulo(y, 100);
  return years * kDaysPer4Years / 4 + (153 * m + 2) / 5 +
         FloorDivide(centuries * kDaysPer400Years, 4) + day - 307;
}

struct CivilDate {
  int64_t astronomical_year;
  int32_t month;
  int32_t day;
};

// The inverse of DaysFromCivil.
CivilDate CivilFromDays(int64_t days) noexcept {
  // Shift to 0000-03-01, the start of a 400-year cycle counted from March.
  const int64_t shifted = days + 306;
  const int64_t cycle = FloorDivide(shifted, kDaysPer400Years);
  const int64_t day_of_cycle = shifted - cycle * kDaysPer400Years;    // 0..146096
  const int64_t century = (4 * day_of_cycle + 3) / kDaysPer400Years;  // 0..3
  const int64_t day_of_century = day_of_cycle - century * kDaysPer400Years / 4;
  const int64_t year_of_century = (4 * day_of_century + 3) / kDaysPer4Years;  // 0..99
  const int64_t day_of_year = day_of_century - year_of_century * kDaysPer4Years / 4;
  const int64_t m = (5 * day_of_year + 2) / 153;  // 0 = March .. 11 = February
  CivilDate date;
  date.day = static_cast<int32_t>(day_of_year - (153 * m + 2) / 5 + 1);
  date.month = static_cast<int32_t>(m < 10 ? m + 3 : m - 9);
  date.astronomical_year = cycle * 400 + century * 100 + year_of_century + (m >= 10 ? 1 : 0);
  return date;
}

}  // namespace

bool DateTime::IsValidDate(int32_t year, int32_t month, int32_t day) noexcept {
  if (year == 0 || month < 1 || month > 12 || day < 1) return false;
  return day <= MonthLength(AstronomicalYear(year), month);
}

int64_t DateTime::DayNumber(int32_t year, int32_t month, int32_t day) noexcept {
  if (!IsValidDate(year, month, day)) return 0;
  return DaysFromCivil(AstronomicalYear(year), month, day);
}

DateTime DateTime::FromCivil(const CivilDateTime& civil) noexcept {
  // A date-time that cannot be represented (a time beyond the range of the
  // 64-bit count, or seconds that are not a number) is no date rather than
  // a wrapped-around value.
  if (!std::isfinite(civil.seconds)) return DateTime();
  const double fraction = std::floor(civil.seconds * 1e6 + 0.5);
  if (fraction < -9.0e18 || fraction > 9.0e18) return DateTime();
  const int64_t days = DayNumber(civil.year, civil.month, civil.day);
  const int64_t clock = (static_cast<int64_t>(civil.hours) * 60 + civil.minutes) * 60000000LL;
  int64_t value = 0;
  if (__builtin_mul_overflow(days, kMicrosecondsPerDay, &value) ||
      __builtin_add_overflow(value, clock, &value) ||
      __builtin_add_overflow(value, static_cast<int64_t>(fraction), &value) || value == kNoDate) {
    return DateTime();
  }
  return DateTime(value);
}

CivilDateTime DateTime::ToCivil() const noexcept {
  CivilDateTime civil{};
  if (IsNoDate()) return civil;  // year 0 is no valid year: the empty date
  const int64_t days = FloorDivide(value_, kMicrosecondsPerDay);
  const int64_t rest = value_ - days * kMicrosecondsPerDay;  // 0 .. one day
  const CivilDate date = CivilFromDays(days);
  civil.year = CivilYear(date.astronomical_year);
  civil.month = date.month;
  civil.day = date.day;
  civil.hours = static_cast<int32_t>(rest / (3600 * kMicrosecondsPerSecond));
  civil.minutes = static_cast<int32_t>(rest / (60 * kMicrosecondsPerSecond) % 60);
  civil.seconds = static_cast<double>(rest % (60 * kMicrosecondsPerSecond)) / 1e6;
  return civil;
}

DateTime DateTime::FromFileTime(uint64_t file_time) noexcept {
  // 2^64 / 10 microseconds after 1601 still fit into the signed count.
  return DateTime(kValue1601 + static_cast<int64_t>(file_time / 10));
}

uint64_t DateTime::ToFileTime() const noexcept {
  // File times cannot express a moment before 1601 (nor no date): those
  // become 0 instead of a huge unsigned value from the wrapped difference.
  if (IsNoDate() || value_ < kValue1601) return 0;
  const uint64_t since = static_cast<uint64_t>(value_ - kValue1601);
  return since > UINT64_MAX / 10 ? UINT64_MAX : since * 10;
}

DateTime DateTime::FromUnixTime(int64_t seconds, int64_t nanoseconds) noexcept {
  int64_t value = 0;
  if (__builtin_mul_overflow(seconds, kMicrosecondsPerSecond, &value) ||
      __builtin_add_overflow(value, FloorDivide(nanoseconds, 1000), &value) ||
      __builtin_add_overflow(value, kValue1970, &value) || value == kNoDate) {
    return DateTime();
  }
  return DateTime(value);
}

void DateTime::ToUnixTime(int64_t& seconds, int64_t& nanoseconds) const noexcept {
  seconds = 0;
  nanoseconds = 0;
  int64_t since = 0;
  if (IsNoDate() || __builtin_sub_overflow(value_, kValue1970, &since)) return;
  seconds = FloorDivide(since, kMicrosecondsPerSecond);
  nanoseconds = (since - seconds * kMicrosecondsPerSecond) * 1000;
}

}  // namespace vorn
