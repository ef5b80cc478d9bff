#include <gtest/gtest.h>

#include <string>

#include "analytics/http_session.h"

namespace vorn {
namespace {

std::u16string Text(const String& text) {
  return std::u16string(text.Text(), text.Length());
}

TEST(UserAgentTest, VersionAndWow64Marker) {
  EXPECT_EQ(Text(FormatUserAgent(10, 0, true)),
            u"Mozilla/5.0 (Windows NT 10.0; WOW64) VornLib/2.0");
  EXPECT_EQ(Text(FormatUserAgent(6, 1, false)), u"Mozilla/5.0 (Windows NT 6.1) VornLib/2.0");
  EXPECT_EQ(Text(FormatUserAgent(5, 1, false)), u"Mozilla/5.0 (Windows NT 5.1) VornLib/2.0");
}

}  // namespace
}  // namespace vorn
