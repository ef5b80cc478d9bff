#include "resources/resource_key.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "resources/languages.h"

namespace vorn {
namespace {

// Paul Hsieh's SuperFastHash as published, over bytes.
uint32_t ReferenceHash(const uint8_t* data, int len) {
  auto get16 = [](const uint8_t* d) { return static_cast<uint32_t>(d[0] | (d[1] << 8)); };
  uint32_t hash = static_cast<uint32_t>(len), tmp;
  if (len <= 0 || !data) return 0;
  const int rem = len & 3;
  len >>= 2;
  for (; len > 0; len--) {
    hash += get16(data);
    tmp = (get16(data + 2) << 11) ^ hash;
    hash = (hash << 16) ^ tmp;
    data += 4;
    hash += hash >> 11;
  }
  switch (rem) {
    case 3:
      hash += get16(data);
      hash ^= hash << 16;
      hash ^= static_cast<uint32_t>(static_cast<signed char>(data[2])) << 18;
      hash += hash >> 11;
      break;
    case 2:
      hash += get16(data);
      hash ^= hash << 11;
      hash += hash >> 17;
      break;
    case 1:
      hash += static_cast<uint32_t>(static_cast<signed char>(*data));
      hash ^= hash << 10;
      hash += hash >> 1;
      break;
  }
  hash ^= hash << 3;
  hash += hash >> 5;
  hash ^= hash << 4;
  hash += hash >> 17;
  hash ^= hash << 25;
  hash += hash >> 6;
  return hash;
}

uint32_t ReferenceKeyHash(const std::u16string& key) {
  std::string bytes;
  for (char16_t unit : key) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return ReferenceHash(reinterpret_cast<const uint8_t*>(bytes.data()),
                       static_cast<int>(bytes.size()));
}

TEST(ResourceKeyTest, HashIsSuperFastHashOfTheLittleEndianUnits) {
  for (const std::u16string& key :
       {std::u16string(u"res:file:Data/Pictures/Logo.png"), std::u16string(u"a"),
        std::u16string(u"ab"), std::u16string(u"abc"),
        std::u16string(u"res:xml:element:String:Ünï€:zh"), std::u16string(u"\uFFFF\u8000\u0080")}) {
    EXPECT_EQ(KeyHash(key.c_str(), static_cast<uint32_t>(key.size())), ReferenceKeyHash(key));
  }
  EXPECT_EQ(KeyHash(u"", 0), 0u);
}

TEST(ResourceKeyTest, PiecesHashLikeTheJoinedKey) {
  // Odd-length pieces split the unit pairs the hash consumes.
  EXPECT_EQ(ElementKeyHash(u"String", u"OKButton", u"fr"),
            ReferenceKeyHash(u"res:xml:element:String:OKButton:fr"));
  EXPECT_EQ(ElementKeyHash(u"Application", u"", u"*"),
            ReferenceKeyHash(u"res:xml:element:Application::*"));
  EXPECT_EQ(ElementKeyHash(u"Window", nullptr, u"*"),
            ReferenceKeyHash(u"res:xml:element:Window::*"));
  EXPECT_EQ(PathKeyHash(kPictureKeyPrefix, u"Data/Pictures/A.png"),
            ReferenceKeyHash(u"res:picture:Data/Pictures/A.png"));
  const KeyPiece pieces[] = {{u"ab", 1}, {nullptr, 5}, {u"cde", 3}, {u"f", 1}};
  EXPECT_EQ(KeyHash(pieces, 4), ReferenceKeyHash(u"acdef"));
}

TEST(LanguagesTest, TableNamesAndIndexes) {
  EXPECT_EQ(String(LanguageName(0)), u"*");
  EXPECT_EQ(String(LanguageName(8)), u"zh");
  EXPECT_EQ(String(LanguageName(11)), u"ko");
  EXPECT_EQ(String(LanguageName(12)), u"*");
  EXPECT_EQ(String(LanguageName(13)), u"*");
  EXPECT_EQ(LanguageIndex(u"FR"), 2u);
  EXPECT_EQ(LanguageIndex(u"Ko"), 11u);
  EXPECT_EQ(LanguageIndex(u"fra"), 0u);
  EXPECT_EQ(LanguageIndex(nullptr), 0u);
  EXPECT_TRUE(IsKnownLanguage(u"*"));
  EXPECT_TRUE(IsKnownLanguage(u"IT"));
  EXPECT_FALSE(IsKnownLanguage(u"xx"));
  EXPECT_FALSE(IsKnownLanguage(nullptr));
  EXPECT_EQ(LanguageFromPrimaryId(0x09), 1u);
  EXPECT_EQ(LanguageFromPrimaryId(0x0C), 2u);
  EXPECT_EQ(LanguageFromPrimaryId(0x04), 8u);
  EXPECT_EQ(LanguageFromPrimaryId(0x12), 11u);
  EXPECT_EQ(LanguageFromPrimaryId(0x13), 0u);  // Dutch is not in the table
}

}  // namespace
}  // namespace vorn
