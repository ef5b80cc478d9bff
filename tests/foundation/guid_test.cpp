#include "foundation/guid.h"

#include <gtest/gtest.h>

#include <string>

namespace vorn {
namespace {

std::string Narrow(const String& text) {
  return Utf8Text(text).Text();
}

constexpr Guid kSample = {{0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB,
                           0xCC, 0xDD, 0xEE, 0xFF}};

bool SameGuid(const Guid& a, const Guid& b) {
  for (int i = 0; i < 16; ++i) {
    if (a.bytes[i] != b.bytes[i]) return false;
  }
  return true;
}

TEST(GuidText, UpperCaseGroupsWithoutBraces) {
  EXPECT_EQ(Narrow(GuidToText(kSample)), "00112233-4455-6677-8899-AABBCCDDEEFF");
  EXPECT_EQ(Narrow(GuidToText(Guid{})), "00000000-0000-0000-0000-000000000000");
}

TEST(GuidText, ParsesAnyDecorationAround32Digits) {
  for (const char16_t* text :
       {u"00112233-4455-6677-8899-AABBCCDDEEFF", u"{00112233-4455-6677-8899-aabbccddeeff}",
        u"0011 2233 4455 6677 8899 AABB CCDD EEFF", u"00112233445566778899aAbBcCdDeEfF"}) {
    Guid guid{};
    EXPECT_EQ(TextToGuid(text, guid), kOk);
    EXPECT_TRUE(SameGuid(guid, kSample)) << Narrow(String(text));
  }
  Guid round_trip{};
  EXPECT_EQ(TextToGuid(GuidToText(kSample).Text(), round_trip), kOk);
  EXPECT_TRUE(SameGuid(round_trip, kSample));
}

TEST(GuidText, WrongDigitCountsGiveTheNullGuidAnd5) {
  const char16_t* const bad[] = {
      u"00112233-4455-6677-8899-AABBCCDDEEF",    // 31
      u"00112233-4455-6677-8899-AABBCCDDEEFF0",  // 33
      u"0011223344556677",                       // 16
      u"{}",
      u"",
      u"xyz",
      u"00112233-4455-6677-8899-AABBCCDDEEFF-00112233-4455-6677-8899-AABBCCDDEEFF",
  };
  for (const char16_t* text : bad) {
    Guid guid = kSample;  // whatever was there before must not survive
    EXPECT_EQ(TextToGuid(text, guid), kInvalidArgument) << Narrow(String(text));
    EXPECT_TRUE(IsNullGuid(guid));
  }
  Guid guid = kSample;
  EXPECT_EQ(TextToGuid(nullptr, guid), kInvalidArgument);
  EXPECT_TRUE(IsNullGuid(guid));
}

TEST(GuidValue, NullTestAndFieldSwap) {
  EXPECT_TRUE(IsNullGuid(Guid{}));
  EXPECT_FALSE(IsNullGuid(kSample));
  Guid last_byte{};
  last_byte.bytes[15] = 1;
  EXPECT_FALSE(IsNullGuid(last_byte));

  // A Windows GUID {0x00112233, 0x4455, 0x6677, {0x88, ...}} as it lies in
  // memory (little-endian fields).
  const Guid structure = {{0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66, 0x88, 0x99, 0xAA, 0xBB,
                           0xCC, 0xDD, 0xEE, 0xFF}};
  EXPECT_TRUE(SameGuid(SwapGuidFields(structure), kSample));
  EXPECT_TRUE(SameGuid(SwapGuidFields(kSample), structure));
  EXPECT_TRUE(SameGuid(SwapGuidFields(SwapGuidFields(kSample)), kSample));
}

}  // namespace
}  // namespace vorn
