#include "ui/progress_scale.h"

#include <gtest/gtest.h>

#include <limits>

namespace vorn {
namespace {

TEST(ProgressScale, PositionsOutOf16384AndTheEndOfTheWork) {
  ProgressScale scale;
  ProgressPosition at;
  ASSERT_TRUE(scale.Compute(0.5, at));
  EXPECT_EQ(at.position, 8192u);
  EXPECT_FALSE(at.done);
  ASSERT_TRUE(scale.Compute(1.0, at));
  EXPECT_EQ(at.position, 16384u);
  EXPECT_TRUE(at.done);

  // Four steps of a total of ten units, each step counting double.
  scale.SetTotal(10);
  scale.SetCompleted(4);
  scale.SetFactor(2.0);
  ASSERT_TRUE(scale.Compute(5.0, at));  // (8 + 5) / 20
  EXPECT_EQ(at.position, 10650u);       // 10649.6 rounded
  EXPECT_FALSE(at.done);
  ASSERT_TRUE(scale.Compute(12.0, at));
  EXPECT_TRUE(at.done);
  EXPECT_EQ(at.position, 16384u);
}

TEST(ProgressScale, NegativeUndefinedAndOutOfRangeValues) {
  ProgressScale scale;
  ProgressPosition at;
  at.position = 77;
  EXPECT_FALSE(scale.Compute(-0.1, at));
  EXPECT_EQ(at.position, 0u);
  EXPECT_FALSE(scale.Compute(std::numeric_limits<double>::quiet_NaN(), at));
  // Far beyond the total, or an infinite value: held at the bar's end.
  ASSERT_TRUE(scale.Compute(1e300, at));
  EXPECT_EQ(at.position, kProgressRange);
  ASSERT_TRUE(scale.Compute(std::numeric_limits<double>::infinity(), at));
  EXPECT_EQ(at.position, kProgressRange);
  // A total of nothing shows nothing and is already done.
  scale.SetTotal(0);
  ASSERT_TRUE(scale.Compute(0, at));
  EXPECT_EQ(at.position, 0u);
  EXPECT_TRUE(at.done);
  // A negative factor never gives a position below the start.
  scale.SetTotal(4);
  scale.SetFactor(-1.0);
  ASSERT_TRUE(scale.Compute(1.0, at));
  EXPECT_EQ(at.position, 0u);
}

TEST(ProgressScale, NarrowBarsRunVertically) {
  EXPECT_TRUE(ProgressIsVertical(20, 100));
  EXPECT_FALSE(ProgressIsVertical(100, 20));
  EXPECT_FALSE(ProgressIsVertical(30, 30));
}

}  // namespace
}  // namespace vorn
