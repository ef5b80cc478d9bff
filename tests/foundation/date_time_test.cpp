#include "foundation/date_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vorn {
namespace {

DateTime At(int32_t year, int32_t month, int32_t day, int32_t hours = 0, int32_t minutes = 0,
            double seconds = 0) {
  return DateTime::FromCivil({year, month, day, hours, minutes, seconds});
}

TEST(DateTimeDayNumberTest, KnownDays) {
  EXPECT_EQ(DateTime::DayNumber(1, 1, 1), 0);
  EXPECT_EQ(DateTime::DayNumber(1, 12, 31), 364);
  EXPECT_EQ(DateTime::DayNumber(1601, 1, 1), 584388);
  EXPECT_EQ(DateTime::DayNumber(1970, 1, 1), 719162);
  EXPECT_EQ(DateTime::DayNumber(2000, 3, 1) - DateTime::DayNumber(2000, 2, 28), 2);
  EXPECT_EQ(DateTime::DayNumber(1900, 3, 1) - DateTime::DayNumber(1900, 2, 28), 1);
}

TEST(DateTimeDayNumberTest, ValidityAndInvalidDatesGiveDayZero) {
  EXPECT_FALSE(DateTime::IsValidDate(2016, 2, 30));
  EXPECT_EQ(DateTime::DayNumber(2016, 2, 30), 0);
  EXPECT_TRUE(DateTime::IsValidDate(2000, 2, 29));
  EXPECT_FALSE(DateTime::IsValidDate(1900, 2, 29));
  EXPECT_TRUE(DateTime::IsValidDate(2016, 2, 29));
  EXPECT_FALSE(DateTime::IsValidDate(2015, 2, 29));
  EXPECT_FALSE(DateTime::IsValidDate(0, 1, 1));
  EXPECT_FALSE(DateTime::IsValidDate(2020, 0, 1));
  EXPECT_FALSE(DateTime::IsValidDate(2020, 13, 1));
  EXPECT_FALSE(DateTime::IsValidDate(2020, 4, 31));
  EXPECT_FALSE(DateTime::IsValidDate(2020, 1, 0));
  EXPECT_EQ(DateTime::DayNumber(2020, 13, 1), 0);
}

TEST(DateTimeDayNumberTest, EveryDayRoundTripsAndFollowsTheDayBefore) {
  int64_t expected = DateTime::DayNumber(-1000, 1, 1);
  for (int32_t year = -1000; year <= 3000; ++year) {
    if (year == 0) continue;
    for (int32_t month = 1; month <= 12; ++month) {
      for (int32_t day = 1; DateTime::IsValidDate(year, month, day); ++day) {
        const int64_t number = DateTime::DayNumber(year, month, day);
        ASSERT_EQ(number, expected) << year << "-" << month << "-" << day;
        const CivilDateTime back = DateTime(number * DateTime::kMicrosecondsPerDay).ToCivil();
        ASSERT_EQ(back.year, year);
        ASSERT_EQ(back.month, month);
        ASSERT_EQ(back.day, day);
        ++expected;
      }
    }
  }
}

TEST(DateTimeDayNumberTest, YearsBeforeOneCountBackwards) {
  // The year before 1 is -1 (there is no year 0), a leap year in the
  // proleptic calendar.
  EXPECT_EQ(DateTime::DayNumber(-1, 12, 31), -1);
  EXPECT_TRUE(DateTime::IsValidDate(-1, 2, 29));
  EXPECT_FALSE(DateTime::IsValidDate(-2, 2, 29));
  EXPECT_EQ(DateTime::DayNumber(-1, 1, 1), -366);
  EXPECT_NE(DateTime::DayNumber(-2016, 3, 1), DateTime::DayNumber(2016, 3, 1));
}

TEST(DateTimeCivilTest, TimeOfDayAndRounding) {
  const DateTime moment = At(2016, 5, 17, 13, 45, 30.25);
  EXPECT_EQ(moment.Value(), DateTime::DayNumber(2016, 5, 17) * DateTime::kMicrosecondsPerDay +
                                (13 * 60 + 45) * 60000000LL + 30250000);
  const CivilDateTime civil = moment.ToCivil();
  EXPECT_EQ(civil.year, 2016);
  EXPECT_EQ(civil.month, 5);
  EXPECT_EQ(civil.day, 17);
  EXPECT_EQ(civil.hours, 13);
  EXPECT_EQ(civil.minutes, 45);
  EXPECT_DOUBLE_EQ(civil.seconds, 30.25);
  // Seconds round to the nearest microsecond.
  EXPECT_EQ(At(1, 1, 1, 0, 0, 0.0000004).Value(), 0);
  EXPECT_EQ(At(1, 1, 1, 0, 0, 0.0000006).Value(), 1);
  EXPECT_EQ(At(1, 1, 1, 0, 0, 59.9999996).Value(), 60000000);
}

TEST(DateTimeCivilTest, UnrepresentableMomentsAreNoDate) {
  EXPECT_TRUE(DateTime().IsNoDate());
  EXPECT_TRUE(At(2000000000, 1, 1).IsNoDate());
  EXPECT_TRUE(At(2000, 1, 1, 0, 0, std::numeric_limits<double>::quiet_NaN()).IsNoDate());
  EXPECT_TRUE(At(2000, 1, 1, 0, 0, std::numeric_limits<double>::infinity()).IsNoDate());
  EXPECT_TRUE(At(2000, 1, 1, 0, 0, 1e300).IsNoDate());
  const CivilDateTime none = DateTime().ToCivil();
  EXPECT_EQ(none.year, 0);
  EXPECT_EQ(none.month, 0);
  // An invalid date keeps only its time of day.
  EXPECT_EQ(At(2016, 2, 30, 1, 0).Value(), 3600000000LL);
}

TEST(DateTimeFileTimeTest, EpochsAndRoundTrip) {
  EXPECT_EQ(At(1601, 1, 1).ToFileTime(), 0u);
  EXPECT_EQ(DateTime::FromFileTime(0), At(1601, 1, 1));
  EXPECT_EQ(At(1970, 1, 1).ToFileTime(), 116444736000000000ull);
  const DateTime moment = At(2016, 5, 17, 13, 45, 30.123456);
  EXPECT_EQ(DateTime::FromFileTime(moment.ToFileTime()), moment);
  // Ticks below a microsecond are dropped.
  EXPECT_EQ(DateTime::FromFileTime(116444736000000009ull), At(1970, 1, 1));
  EXPECT_FALSE(DateTime::FromFileTime(UINT64_MAX).IsNoDate());
}

TEST(DateTimeFileTimeTest, MomentsBeforeFileTimesBecomeZero) {
  EXPECT_EQ(At(1600, 12, 31).ToFileTime(), 0u);
  EXPECT_EQ(DateTime().ToFileTime(), 0u);
  // Beyond what 64 bits of ticks hold: the largest file time, not a wrapped one.
  EXPECT_EQ(DateTime(INT64_MAX).ToFileTime(), UINT64_MAX);
}

TEST(DateTimeUnixTimeTest, EpochFractionsAndNegativeTimes) {
  EXPECT_EQ(DateTime::FromUnixTime(0, 0), At(1970, 1, 1));
  EXPECT_EQ(DateTime::FromUnixTime(86400, 500000000), At(1970, 1, 2, 0, 0, 0.5));
  EXPECT_EQ(DateTime::FromUnixTime(-1, 999999999).Value(), At(1970, 1, 1).Value() - 1);
  int64_t seconds = 0;
  int64_t nanoseconds = 0;
  DateTime(At(1970, 1, 1).Value() - 1).ToUnixTime(seconds, nanoseconds);
  EXPECT_EQ(seconds, -1);
  EXPECT_EQ(nanoseconds, 999999000);
  At(2016, 5, 17, 0, 0, 0.25).ToUnixTime(seconds, nanoseconds);
  EXPECT_EQ(seconds, 1463443200);
  EXPECT_EQ(nanoseconds, 250000000);
  EXPECT_TRUE(DateTime::FromUnixTime(INT64_MAX, 0).IsNoDate());
  DateTime().ToUnixTime(seconds, nanoseconds);
  EXPECT_EQ(seconds, 0);
  EXPECT_EQ(nanoseconds, 0);
}

TEST(DateTimeNowTest, IsARecentMoment) {
  const DateTime now = DateTime::Now();
  ASSERT_FALSE(now.IsNoDate());
  EXPECT_GT(now.ToCivil().year, 2020);
  EXPECT_LT(now.ToCivil().year, 2200);
}

}  // namespace
}  // namespace vorn
