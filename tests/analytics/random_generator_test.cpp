#include "analytics/random_generator.h"

#include <gtest/gtest.h>

#include <set>

namespace vorn {
namespace {

TEST(RandomGeneratorTest, StepFollowsTheMultiplyShiftRule) {
  // state 1: 3125 = 0x00000C35; (0x0C350000 ^ 0) | ((0x0000 - 1) & 0xFFFF)
  EXPECT_EQ(NextRandomState(1, 0), 0x0C35FFFFu);
  // A counter byte with its top bit set is sign-extended before the XOR.
  EXPECT_EQ(NextRandomState(1, 0x80), (0x0C350000u ^ 0xFFFFFF80u) | 0xFFFFu);
  // state 0x10000: 0x10000 * 3125 = 0x0C350000; upper half 0x0C35 - 1.
  EXPECT_EQ(NextRandomState(0x10000, 0x01), (0x00000000u ^ 0x1u) | 0x0C34u);
}

TEST(RandomGeneratorTest, DrawsVary) {
  std::set<uint32_t> values;
  for (int i = 0; i < 64; ++i) values.insert(NextRandom());
  EXPECT_GT(values.size(), 32u);
}

}  // namespace
}  // namespace vorn
