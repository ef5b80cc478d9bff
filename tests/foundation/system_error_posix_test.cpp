#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "foundation/system_error.h"

namespace vorn {
namespace {

TEST(LastSystemResultTest, ReadsTheFailedCallsErrno) {
  ASSERT_EQ(open("/nonexistent-vorn-folder/file", O_RDONLY), -1);
  EXPECT_EQ(LastSystemResult(), kNotFound);
  ASSERT_EQ(close(-1), -1);
  EXPECT_EQ(LastSystemResult(), kInvalidHandle);
}

}  // namespace
}  // namespace vorn
