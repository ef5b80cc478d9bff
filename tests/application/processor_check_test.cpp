#include "application/processor_check.h"

#include <gtest/gtest.h>

#include "application/support/test_text.h"

namespace vorn {
namespace {

using testing::Text;

TEST(ProcessorCheckTest, CaptionIsTheCapitalisedProgramName) {
  EXPECT_EQ(Text(ProcessorCheckCaption(u"C:\\Apps\\VORN setup.exe")), u"Vorn Setup");
  EXPECT_EQ(Text(ProcessorCheckCaption(u"  /opt/demo.product.exe  ")), u"Demo");
  EXPECT_EQ(Text(ProcessorCheckCaption(u"mixed-CASE_name")), u"Mixed-case_name");
  EXPECT_EQ(Text(ProcessorCheckCaption(u"")), u"");
}

}  // namespace
}  // namespace vorn
