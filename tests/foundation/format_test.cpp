#include "foundation/format.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

namespace vorn {
namespace {

std::string Narrow(const String& text) {
  return Utf8Text(text).Text();
}

template <class... A>
std::string F(const char16_t* format_template, const A&... args) {
  return Narrow(Format(format_template, args...));
}

FormatArgument WithTag(uint32_t tag) {
  FormatArgument argument{};
  argument.tag = tag;
  return argument;
}

TEST(FormatTemplate, TextAndEscapes) {
  EXPECT_EQ(F(u"plain text"), "plain text");
  EXPECT_EQ(F(u""), "");
  EXPECT_EQ(F(u"{{0}}"), "{0}");
  EXPECT_EQ(F(u"a}b"), "ab");
  EXPECT_EQ(F(u"}}}"), "}");
  EXPECT_EQ(F(u"{{{0}}}", FormatArg(int32_t{7})), "{7}");
  EXPECT_EQ(F(u"{0}{0}-{1}", FormatArg(int32_t{1}), FormatArg(u"x")), "11-x");
  EXPECT_EQ(F(u"{1}{0}", FormatArg(int32_t{1}), FormatArg(int32_t{2})), "21");
  EXPECT_EQ(F(u"{00}", FormatArg(int32_t{5})), "5");
}

TEST(FormatTemplate, EveryMalformedTemplateGivesTheEmptyResult) {
  const FormatArgument number = FormatArg(int32_t{5});
  const char16_t* const malformed[] = {
      u"abc{", u"abc{0", u"{0,}",    u"{0,-}",   u"{0,0}",         u"{0,-0}",        u"{0:q}",
      u"{0:}", u"{0:",   u"{0,2",    u"{0:n",    u"{0:nn}",        u"{x}",           u"{ 0}",
      u"{-1}", u"{0 }",  u"{0,.2x}", u"{0:X,2}", u"text {1} more", u"{99999999999}",
  };
  for (const char16_t* format_template : malformed) {
    EXPECT_EQ(F(format_template, number), "") << Narrow(String(format_template));
  }
}

TEST(FormatTemplate, BadArgumentsGiveTheEmptyResult) {
  const FormatArgument good = FormatArg(int32_t{1});
  const FormatArgument bad_tag = WithTag(13);
  const FormatArgument huge_tag = WithTag(0xFFFFFFFFu);
  const FormatArgument null_text = FormatArg(static_cast<const char16_t*>(nullptr));
  EXPECT_EQ(F(u"before {0} after", bad_tag), "");
  EXPECT_EQ(F(u"{0}", huge_tag), "");
  EXPECT_EQ(F(u"{0}", null_text), "");
  EXPECT_EQ(F(u"{1}", good), "");

  const FormatArgument* with_null[] = {&good, nullptr};
  EXPECT_EQ(Narrow(FormatText(u"{0}", 2, with_null)), "1");
  EXPECT_EQ(Narrow(FormatText(u"{0}{1}", 2, with_null)), "");

  EXPECT_TRUE(FormatText(nullptr, 0, nullptr).IsEmpty());
  EXPECT_TRUE(FormatText(u"text", 3, nullptr).IsEmpty());
  EXPECT_EQ(Narrow(FormatText(u"text", 0, nullptr)), "text");
  EXPECT_TRUE(FormatText(u"{0}", 0, nullptr).IsEmpty());
}

TEST(FormatTemplate, LettersMustSuitTheArgument) {
  const FormatArgument f32 = FormatArg(1.5f);
  const FormatArgument f64 = FormatArg(1.5);
  const FormatArgument ch = FormatChar(u'A');
  const FormatArgument text = FormatArg(u"t");
  const FormatArgument address = FormatAddress(nullptr);
  const FormatArgument signed32 = FormatArg(int32_t{65});
  const FormatArgument unsigned16 = FormatArg(uint16_t{65});

  EXPECT_EQ(F(u"{0:X}", f64), "");
  EXPECT_EQ(F(u"{0:x}", f32), "");
  EXPECT_EQ(F(u"{0:X}", ch), "");
  EXPECT_EQ(F(u"{0:g}", signed32), "");
  EXPECT_EQ(F(u"{0:f}", ch), "");
  EXPECT_EQ(F(u"{0:c}", signed32), "");
  EXPECT_EQ(F(u"{0:c}", f64), "");
  EXPECT_EQ(F(u"{0:n}", f64), "");
  EXPECT_EQ(F(u"{0:f}", text), "");
  EXPECT_EQ(F(u"{0:X}", text), "");
  EXPECT_EQ(F(u"{0:X}", address), "");

  EXPECT_EQ(F(u"{0:c}", unsigned16), "A");
  EXPECT_EQ(F(u"{0:c}", ch), "A");
  EXPECT_EQ(F(u"{0:n}", ch), "65");
  EXPECT_EQ(F(u"{0:n}", signed32), "65");
  EXPECT_EQ(F(u"{0:f}", f64), "1.500000");
  EXPECT_EQ(F(u"{0:g}", f32), "1.5");
}

TEST(FormatIntegers, SignedAndUnsignedDecimal) {
  EXPECT_EQ(F(u"{0}", FormatArg(int8_t{-128})), "-128");
  EXPECT_EQ(F(u"{0}", FormatArg(uint8_t{255})), "255");
  EXPECT_EQ(F(u"{0}", FormatArg(int16_t{-32768})), "-32768");
  EXPECT_EQ(F(u"{0}", FormatArg(uint16_t{65535})), "65535");
  EXPECT_EQ(F(u"{0}", FormatArg(int32_t{INT32_MIN})), "-2147483648");
  EXPECT_EQ(F(u"{0}", FormatArg(uint32_t{4294967295u})), "4294967295");
  EXPECT_EQ(F(u"{0}", FormatArg(int64_t{INT64_MIN})), "-9223372036854775808");
  EXPECT_EQ(F(u"{0}", FormatArg(uint64_t{UINT64_MAX})), "18446744073709551615");
  EXPECT_EQ(F(u"{0}", FormatArg(int32_t{0})), "0");
  EXPECT_EQ(F(u"{0}", FormatArg(int64_t{1000000007})), "1000000007");
}

TEST(FormatIntegers, PaddingIsAlwaysOnTheLeft) {
  EXPECT_EQ(F(u"{0,2}", FormatArg(int32_t{7})), " 7");
  EXPECT_EQ(F(u"{0,02}", FormatArg(int32_t{7})), "07");
  EXPECT_EQ(F(u"{0,04}", FormatArg(int32_t{-5})), "00-5");  // zeros before the sign
  EXPECT_EQ(F(u"{0,4}", FormatArg(int32_t{-5})), "  -5");
  EXPECT_EQ(F(u"{0,-4}", FormatArg(int32_t{42})), "  42");  // '-' aligns texts only
  EXPECT_EQ(F(u"{0,1}", FormatArg(int32_t{12345})), "12345");
  EXPECT_EQ(F(u"{0,00}", FormatArg(int32_t{3})), "3");
  EXPECT_EQ(F(u"{0,04}{1,02}{2,02}", FormatArg(int32_t{2024}), FormatArg(int32_t{3}),
              FormatArg(int32_t{7})),
            "20240307");
}

TEST(FormatIntegers, Hexadecimal) {
  EXPECT_EQ(F(u"{0,02:X}", FormatArg(uint8_t{10})), "0A");
  EXPECT_EQ(F(u"{0:x}", FormatArg(uint32_t{0xBEEF})), "beef");
  EXPECT_EQ(F(u"{0:X}", FormatArg(uint32_t{0})), "0");
  EXPECT_EQ(F(u"{0:X}", FormatArg(int32_t{-1})), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(F(u"{0:X}", FormatArg(int8_t{-1})), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(F(u"{0:X}", FormatArg(uint8_t{0xFF})), "FF");
  EXPECT_EQ(F(u"{0,08:X}", FormatArg(uint16_t{0x1F})), "0000001F");
  EXPECT_EQ(F(u"{0:X}", FormatArg(uint64_t{0x0123456789ABCDEFull})), "123456789ABCDEF");
}

TEST(FormatIntegers, CharactersAndAddresses) {
  EXPECT_EQ(F(u"[{0}]", FormatChar(u'Z')), "[Z]");
  EXPECT_EQ(F(u"[{0,5}]", FormatChar(u'Z')), "[Z]");          // characters are never padded
  EXPECT_EQ(F(u"{0:c}", FormatArg(uint32_t{0x10041})), "A");  // the low 16 bits
  EXPECT_EQ(F(u"{0,4:n}", FormatChar(u'A')), "  65");
  // A 0 unit would end the text for every reader of the result.
  EXPECT_EQ(F(u"a{0}b", FormatChar(0)), "ab");
  EXPECT_EQ(F(u"a{0:c}b", FormatArg(uint32_t{0x10000})), "ab");

  const void* address = reinterpret_cast<const void*>(uintptr_t{0x00ABCDEF});
  EXPECT_EQ(F(u"{0}", FormatAddress(address)), "00abcdef");
  EXPECT_EQ(F(u"{0,4}", FormatAddress(reinterpret_cast<const void*>(uintptr_t{0x12}))), "0012");
  EXPECT_EQ(F(u"Memory({0}h,{1} bytes)", FormatAddress(nullptr), FormatArg(uint32_t{64})),
            "Memory(00000000h,64 bytes)");
}

TEST(FormatTexts, AlignmentAndPadding) {
  EXPECT_EQ(F(u"[{0}]", FormatArg(u"abc")), "[abc]");
  EXPECT_EQ(F(u"[{0,6}]", FormatArg(u"abc")), "[   abc]");
  EXPECT_EQ(F(u"[{0,-6}]", FormatArg(u"abc")), "[abc   ]");
  EXPECT_EQ(F(u"[{0,06}]", FormatArg(u"abc")), "[000abc]");
  EXPECT_EQ(F(u"[{0,2}]", FormatArg(u"abc")), "[abc]");
  EXPECT_EQ(F(u"[{0,3}]", FormatArg(u"")), "[   ]");
  const String name(u"Recent");
  EXPECT_EQ(F(u"/User/Local/Recent Files/File{0}/Name", FormatArg(int32_t{3})),
            "/User/Local/Recent Files/File3/Name");
  EXPECT_EQ(F(u"{0}x{1}", FormatArg(int32_t{640}), FormatArg(int32_t{480})), "640x480");
  EXPECT_EQ(F(u"{0} {1}", FormatArg(name), FormatArg(u"\u00e9")), "Recent \xc3\xa9");
}

TEST(FormatFloats, FixedPointDigits) {
  EXPECT_EQ(F(u"{0}", FormatArg(3.14159)), "3.141590");
  EXPECT_EQ(F(u"{0}", FormatArg(0.1f)), "0.100000");
  EXPECT_EQ(F(u"{0}", FormatArg(-2.5)), "-2.500000");
  EXPECT_EQ(F(u"{0}", FormatArg(1e20)), "100000000000000000000.000000");
  EXPECT_EQ(F(u"{0}", FormatArg(0.00000051)), "0.000001");
  EXPECT_EQ(F(u"{0,.2}", FormatArg(0.125)), "0.13");
  EXPECT_EQ(F(u"{0,.3}", FormatArg(999.9996)), "1000.000");
  EXPECT_EQ(F(u"{0,.1}", FormatArg(9.96)), "10.0");
  EXPECT_EQ(F(u"{0,.1}", FormatArg(0.96)), "1.0");
  EXPECT_EQ(F(u"{0,.8}", FormatArg(1.0 / 3.0)), "0.33333333");
  EXPECT_EQ(F(u"{0,.2}", FormatArg(1e-300)), "0.00");
  EXPECT_EQ(F(u"{0,.1}", FormatArg(5e-324)), "0.0");  // subnormal
}

TEST(FormatFloats, WholeNumbersAndTrimmedForm) {
  EXPECT_EQ(F(u"{0,.0}", FormatArg(2.5)), "3");
  EXPECT_EQ(F(u"{0,.0}", FormatArg(1234.4)), "1234");
  EXPECT_EQ(F(u"{0,.0}", FormatArg(0.4)), "0");
  EXPECT_EQ(F(u"{0,.0}", FormatArg(0.5)), "1");
  EXPECT_EQ(F(u"{0,.}", FormatArg(7.7)), "8");
  EXPECT_EQ(F(u"{0:g}", FormatArg(1.5)), "1.5");
  EXPECT_EQ(F(u"{0:g}", FormatArg(2.0)), "2");
  EXPECT_EQ(F(u"{0:g}", FormatArg(0.0000001)), "0");
  EXPECT_EQ(F(u"{0:g}", FormatArg(100.0)), "100");
  EXPECT_EQ(F(u"{0,.0:g}", FormatArg(100.0)), "100");  // no decimals: nothing to trim
  EXPECT_EQ(F(u"{0,.0:g}", FormatArg(0.0)), "0");
  EXPECT_EQ(F(u"{0,.2:g}", FormatArg(10.10)), "10.1");
  EXPECT_EQ(F(u"{0,6:g}", FormatArg(1.25)), "  1.25");
  EXPECT_EQ(F(u"{0,06:g}", FormatArg(-1.25)), "0-1.25");
  // No decimals and a width: the rounded whole number, right-aligned.
  EXPECT_EQ(F(u"[{0,8.0}]", FormatArg(3.14159)), "[       3]");
}

TEST(FormatFloats, ZeroInfinityAndNotANumber) {
  EXPECT_EQ(F(u"{0}", FormatArg(0.0)), "0.000000");
  EXPECT_EQ(F(u"{0}", FormatArg(-0.0)), "-0.000000");
  EXPECT_EQ(F(u"{0:g}", FormatArg(-0.0)), "-0");
  EXPECT_EQ(F(u"{0,.0}", FormatArg(0.0)), "0");
  EXPECT_EQ(F(u"{0}", FormatArg(HUGE_VAL)), "#INF");
  EXPECT_EQ(F(u"{0}", FormatArg(-HUGE_VAL)), "#INF");
  EXPECT_EQ(F(u"{0,6}", FormatArg(std::nan(""))), "  #NAN");
  EXPECT_EQ(F(u"{0:g}", FormatArg(static_cast<float>(NAN))), "#NAN");
}

TEST(FormatFloats, HugeMagnitudesUseAnExponent) {
  EXPECT_EQ(F(u"{0}", FormatArg(1e300)), "1.000000e300");
  EXPECT_EQ(F(u"{0:g}", FormatArg(1e300)), "1e300");
  EXPECT_EQ(F(u"{0:g}", FormatArg(-2.5e280)), "-2.5e280");
  EXPECT_EQ(F(u"{0}", FormatArg(DBL_MAX)), "1.797693e308");
  EXPECT_EQ(F(u"{0,.0}", FormatArg(DBL_MAX)), "2e308");
  // Just below the switch the digits are written out.
  const std::string written_out = F(u"{0,.0}", FormatArg(1e240));
  EXPECT_EQ(written_out.size(), 241u);
  EXPECT_EQ(written_out[0], '1');
}

TEST(FormatLimits, ResultsStopAt4095Units) {
  const std::u16string long_template(5000, u'a');
  EXPECT_EQ(Format(long_template.c_str()).Length(), 4095u);

  const std::u16string long_text(5000, u'b');
  const String cut = Format(u"xy{0}", FormatArg(long_text.c_str()));
  EXPECT_EQ(cut.Length(), 4095u);
  EXPECT_EQ(cut[0], u'x');
  EXPECT_EQ(cut[4094], u'b');
  EXPECT_EQ(cut.Text()[4095], 0);

  EXPECT_EQ(Format(u"{0,99999999}", FormatArg(int32_t{1})).Length(), 4095u);
  EXPECT_EQ(Format(u"{0,-99999999}", FormatArg(u"z")).Length(), 4095u);
  const String many_decimals = Format(u"{0,.99999}", FormatArg(1.0));
  EXPECT_EQ(many_decimals.Length(), 4095u);
  EXPECT_EQ(Narrow(many_decimals.Left(6)), "1.0000");
  const String trimmed = Format(u"{0,.99999:g}", FormatArg(0.5));
  EXPECT_EQ(Narrow(trimmed), "0.5");

  const std::u16string almost(4094, u'c');
  EXPECT_EQ(Format((almost + u"{0}").c_str(), FormatArg(int32_t{12345})).Length(), 4095u);
}

TEST(FormatHelpers, IntegerTexts) {
  EXPECT_EQ(Narrow(IntegerText(0)), "0");
  EXPECT_EQ(Narrow(IntegerText(-42)), "-42");
  EXPECT_EQ(Narrow(IntegerText(INT64_MIN)), "-9223372036854775808");
  EXPECT_EQ(Narrow(UnsignedText(UINT64_MAX)), "18446744073709551615");
}

}  // namespace
}  // namespace vorn
