#include "setup/time_remaining_estimator.h"

#include <gtest/gtest.h>

#include "setup/support/xml_package.h"

namespace vorn {
namespace {

using test::Utf8;

TimeRemainingTexts EnglishTexts() {
  TimeRemainingTexts texts;
  texts.about_x_minutes = u"about {0} minutes";
  texts.about_a_minute = u"about a minute";
  texts.less_than_minute = u"less than a minute";
  texts.about_10_seconds = u"about 10 seconds";
  texts.about_5_seconds = u"about 5 seconds";
  texts.zero_seconds = u"a few moments";
  return texts;
}

TEST(TimeRemainingEstimator, CategoriesFollowTheRemainingSeconds) {
  struct Case {
    double remaining;
    uint32_t category;
    uint32_t minutes;
  };
  const Case cases[] = {
      {-3, 6, 0},
      {0, 6, 0},
      {0.01, 5, 0},
      {5.999, 5, 0},
      {6, 4, 0},
      {12.99, 4, 0},
      {13, 3, 0},
      {59.99, 3, 0},
      {60, 2, 0},
      {89.99, 2, 0},
      // 90 s: (90 - 10) / 60 rounded up; 150 s: 140 / 60 rounded up.
      {90, 1, 2},
      {150, 1, 3},
      {130, 1, 2},
      {4210, 1, 70},
      {1e30, 1, 4294967295u},
  };
  for (const Case& c : cases) {
    uint32_t category = 99;
    uint32_t minutes = 99;
    TimeRemainingEstimator::Classify(c.remaining, category, minutes);
    EXPECT_EQ(category, c.category) << c.remaining;
    EXPECT_EQ(minutes, c.minutes) << c.remaining;
  }
}

TEST(TimeRemainingEstimator, TextChangesOnlyWithTheCategoryOrTheMinutes) {
  TimeRemainingEstimator estimator;
  estimator.SetTexts(EnglishTexts());
  estimator.Start(100.0, 1000);
  EXPECT_EQ(Utf8(estimator.Text()), "?");
  EXPECT_EQ(estimator.Category(), 0u);
  // No time passed, or nothing copied: no estimate yet.
  EXPECT_FALSE(estimator.Update(100.0, 500));
  EXPECT_FALSE(estimator.Update(101.0, 0));
  EXPECT_EQ(Utf8(estimator.Text()), "?");

  // 100 bytes in 10 s: 90 s remain, about two minutes.
  EXPECT_TRUE(estimator.Update(110.0, 100));
  EXPECT_EQ(Utf8(estimator.Text()), "about 2 minutes");
  EXPECT_EQ(estimator.Minutes(), 2u);
  // 1000 * 10 / 62 - 10 = 151.3 s: three minutes, a new text.
  estimator.Start(0.0, 1000);
  EXPECT_TRUE(estimator.Update(10.0, 62));
  EXPECT_EQ(Utf8(estimator.Text()), "about 3 minutes");
  EXPECT_FALSE(estimator.Update(10.0, 64.0));  // 146.25 s: the same three minutes
  // Exactly 6 s left shows the ten-second text.
  EXPECT_TRUE(estimator.Update(4.0, 400));  // 1000 * 4 / 400 - 4 = 6
  EXPECT_EQ(Utf8(estimator.Text()), "about 10 seconds");
  EXPECT_EQ(estimator.Category(), 4u);
  EXPECT_TRUE(estimator.Update(30.0, 1000));
  EXPECT_EQ(Utf8(estimator.Text()), "a few moments");
  // A new copy starts from "?" again.
  estimator.Start(50.0, 10);
  EXPECT_EQ(Utf8(estimator.Text()), "?");
  EXPECT_EQ(estimator.Category(), 0u);
}

TEST(TimeRemainingEstimator, NothingToCopyEstimatesNoTimeLeft) {
  TimeRemainingEstimator estimator;
  estimator.SetTexts(EnglishTexts());
  estimator.Start(1.0, 0);
  // More bytes than the total (a list that undercounts): nothing remains.
  EXPECT_TRUE(estimator.Update(2.0, 10));
  EXPECT_EQ(Utf8(estimator.Text()), "a few moments");
}

}  // namespace
}  // namespace vorn
