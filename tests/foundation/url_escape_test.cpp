#include "foundation/url_escape.h"

#include <gtest/gtest.h>

#include <string>

namespace vorn {
namespace {

std::u16string Escaped(const char16_t* text) {
  const String escaped = EscapeUrlText(text);
  return std::u16string(escaped.Text(), escaped.Length());
}

TEST(EscapeUrlText, ReplacesTheNineteenQueryCharacters) {
  EXPECT_EQ(Escaped(u" !#$&'()*+,/:;=?@[]"),
            u"+%21%23%24%26%27%28%29%2A%2B%2C%2F%3A%3B%3D%3F%40%5B%5D");
  EXPECT_EQ(Escaped(u"a b=c&d"), u"a+b%3Dc%26d");
}

TEST(EscapeUrlText, CopiesEverythingElse) {
  // '%' is not escaped: values are escaped once, never decoded here.
  EXPECT_EQ(Escaped(u" %\u00E9/"), u"+%\u00E9%2F");
  const char16_t others[] = u"\"%<>\\^`{|}~-._09AZaz\t\n\x7F\u00E9\u4E2D\U0001F600";
  EXPECT_EQ(Escaped(others), others);
  EXPECT_EQ(Escaped(u""), u"");
  EXPECT_EQ(Escaped(nullptr), u"");
}

TEST(EscapeUrlText, LongTextsComeOutWhole) {
  std::u16string text(5000, u'/');
  const String escaped = EscapeUrlText(text.c_str());
  EXPECT_EQ(escaped.Length(), 15000u);
  EXPECT_EQ(std::u16string(escaped.Text(), 6), u"%2F%2F");
  EXPECT_EQ(EscapeUrlText(String(u"a+b")), String(u"a%2Bb"));
}

}  // namespace
}  // namespace vorn
