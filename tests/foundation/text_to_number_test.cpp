#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "foundation/string.h"

namespace vorn {
namespace {

TEST(TextToInteger, SignedDecimalAndHexadecimal) {
  EXPECT_EQ(TextToInt32(u"123"), 123);
  EXPECT_EQ(TextToInt32(u"-123"), -123);
  EXPECT_EQ(TextToInt32(u"+5"), 5);
  EXPECT_EQ(TextToInt32(u" \t\u00a042"), 42);
  EXPECT_EQ(TextToInt32(u"12abc"), 12);
  EXPECT_EQ(TextToInt32(u"12 34"), 12);
  EXPECT_EQ(TextToInt32(u"0x1A"), 26);
  EXPECT_EQ(TextToInt32(u" 0x1A"), 0);  // the prefix is looked for before white space
  EXPECT_EQ(TextToInt32(u"0X1A"), 0);   // only a lower-case x
  EXPECT_EQ(TextToInt32(u"0xFFFFFFFF"), -1);
  EXPECT_EQ(TextToInt32(u"-2147483648"), INT32_MIN);
  EXPECT_EQ(TextToInt32(u"--5"), 0);
  EXPECT_EQ(TextToInt32(u"- 5"), 0);
  EXPECT_EQ(TextToInt32(u"+"), 0);
}

TEST(TextToInteger, UnsignedRefusesTheMinusSign) {
  EXPECT_EQ(TextToUInt32(u"4294967295"), 4294967295u);
  EXPECT_EQ(TextToUInt32(u"+17"), 17u);
  EXPECT_EQ(TextToUInt32(u"-17"), 0u);
  EXPECT_EQ(TextToUInt32(u"  -17"), 0u);
  EXPECT_EQ(TextToUInt32(u"0xdeadBEEF"), 0xDEADBEEFu);
  EXPECT_EQ(TextToUInt64(u"18446744073709551615"), UINT64_MAX);
  EXPECT_EQ(TextToUInt64(u"-1"), 0u);
}

TEST(TextToInteger, SixtyFourBitsAndTheirHexForm) {
  EXPECT_EQ(TextToInt64(u"-9223372036854775808"), INT64_MIN);
  EXPECT_EQ(TextToInt64(u"9007199254740993"), 9007199254740993LL);
  EXPECT_EQ(TextToInt64(u"\n-42x"), -42);
  // "0x" texts are read in 32 bits and sign-extended.
  EXPECT_EQ(TextToInt64(u"0x7FFFFFFF"), 0x7FFFFFFFLL);
  EXPECT_EQ(TextToInt64(u"0xFFFFFFFF"), -1);
  EXPECT_EQ(TextToInt64(u"0x123456789"), 0x23456789LL);
  EXPECT_EQ(TextToUInt64(u"0x80000000"), 0xFFFFFFFF80000000ull);
  EXPECT_EQ(TextToUInt64(u"0x10"), 16u);
}

TEST(TextToInteger, OverflowWrapsWithoutComplaint) {
  // Defined wrap-around, no trap: the low bits of the full value.
  EXPECT_EQ(TextToUInt32(u"4294967297"), 1u);
  EXPECT_EQ(TextToInt32(u"2147483648"), INT32_MIN);
  EXPECT_EQ(TextToUInt64(u"18446744073709551617"), 1u);
}

TEST(TextToInteger, EmptyAndNullGiveZero) {
  for (const char16_t* text : {static_cast<const char16_t*>(nullptr), u"", u"   ", u"abc", u"0x"}) {
    EXPECT_EQ(TextToInt32(text), 0);
    EXPECT_EQ(TextToUInt32(text), 0u);
    EXPECT_EQ(TextToInt64(text), 0);
    EXPECT_EQ(TextToUInt64(text), 0u);
  }
  EXPECT_EQ(HexTextToUInt32(nullptr), 0u);
  EXPECT_EQ(HexTextToUInt32(nullptr, 4), 0u);
  EXPECT_EQ(HexTextToUInt32(u""), 0u);
  EXPECT_EQ(TextToFloat(nullptr), 0.0f);
  EXPECT_EQ(TextToFloat(u""), 0.0f);
  EXPECT_EQ(TextToFloat(u"-"), 0.0f);
}

TEST(HexText, DigitsUntilTheFirstOtherUnit) {
  EXPECT_EQ(HexTextToUInt32(u"1aF"), 0x1AFu);
  EXPECT_EQ(HexTextToUInt32(u"FFz0"), 0xFFu);
  EXPECT_EQ(HexTextToUInt32(u"0x10"), 0u);  // no prefix here
  EXPECT_EQ(HexTextToUInt32(u" 1"), 0u);
  EXPECT_EQ(HexTextToUInt32(u"123456789"), 0x23456789u);  // the low 32 bits
  EXPECT_EQ(HexTextToUInt32(u"gG"), 0u);
}

TEST(HexText, AtMostNDigits) {
  EXPECT_EQ(HexTextToUInt32(u"FF8800AA", 6), 0xFF8800u);
  EXPECT_EQ(HexTextToUInt32(u"F80", 6), 0xF80u);
  EXPECT_EQ(HexTextToUInt32(u"abc", 0), 0u);
  EXPECT_EQ(HexTextToUInt32(u"12345678", 2), 0x12u);
}

TEST(TextToFloatTest, DigitsOverTenToTheDecimals) {
  EXPECT_EQ(TextToFloat(u"3.25"), 3.25f);
  EXPECT_EQ(TextToFloat(u"-0.5"), -0.5f);
  EXPECT_EQ(TextToFloat(u"12"), 12.0f);
  EXPECT_EQ(TextToFloat(u"12."), 12.0f);
  EXPECT_EQ(TextToFloat(u"0.1"), 0.1f);
  EXPECT_EQ(TextToFloat(u"1.5px"), 1.5f);
  EXPECT_EQ(TextToFloat(u"007.50"), 7.5f);
  EXPECT_EQ(TextToFloat(u".5"), 0.5f);
}

TEST(TextToFloatTest, NoWhiteSpacePlusOrExponent) {
  EXPECT_EQ(TextToFloat(u" 1"), 0.0f);
  EXPECT_EQ(TextToFloat(u"+1"), 0.0f);
  EXPECT_EQ(TextToFloat(u"1e5"), 1.0f);
  EXPECT_EQ(TextToFloat(u"--1"), 0.0f);
  EXPECT_EQ(TextToFloat(u"1.2.3"), 1.2f);
}

TEST(TextToFloatTest, LongDigitRunsStayFinite) {
  EXPECT_FLOAT_EQ(TextToFloat(u"123456789012345678901234567890"), 1.2345679e29f);
  EXPECT_FLOAT_EQ(TextToFloat(u"0.1234567890123456789012345"), 0.12345679f);
  const std::u16string tiny = u"0." + std::u16string(600, u'0') + u"1";
  EXPECT_EQ(TextToFloat(tiny.c_str()), 0.0f);
  const std::u16string huge = std::u16string(1, u'4') + std::u16string(600, u'0');
  EXPECT_EQ(TextToFloat(huge.c_str()), std::numeric_limits<float>::infinity());
  const std::u16string huge_negative = u"-" + huge + u".5";
  EXPECT_EQ(TextToFloat(huge_negative.c_str()), -std::numeric_limits<float>::infinity());
  EXPECT_EQ(TextToFloat(u"340282346638528859811704183484516925440"),
            std::numeric_limits<float>::max());
}

}  // namespace
}  // namespace vorn
