#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>

#include "foundation/registry_key.h"
#include "foundation/support/scratch_folder.h"

namespace vorn {
namespace {

using testing::Std;

// A key "Software\VornLibTests\<random>" of its own for each test, deleted
// with everything below it at the end.
class RegistryTest : public ::testing::TestWithParam<uint32_t> {
 protected:
  void SetUp() override {
    std::random_device random;
    name_ = u"Software\\VornLibTests\\" + std::u16string(u"T") +
            std::u16string(reinterpret_cast<const char16_t*>(std::to_wstring(random()).c_str()));
    ASSERT_EQ(key_.SetRoot(GetParam(), name_.c_str()), kOk);
  }
  void TearDown() override {
    key_.Close();
    RegistryKey tests;
    ASSERT_EQ(tests.SetRoot(GetParam(), u"Software\\VornLibTests"), kOk);
    const std::u16string leaf = name_.substr(name_.rfind(u'\\') + 1);
    EXPECT_EQ(tests.DeleteSubkey(leaf.c_str()), kOk);
    RegistryKey check;
    ASSERT_EQ(check.SetRoot(GetParam(), name_.c_str()), kOk);
    EXPECT_EQ(check.Open(false), kNotFound) << "the test key must be gone";
  }

  // Writes a raw value the typed writes cannot produce.
  void WriteRaw(const char16_t* value_name, DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(key_.Open(true), kOk);
    HKEY raw = nullptr;
    const HKEY root = GetParam() == RegistryKey::kClassesRoot   ? HKEY_CLASSES_ROOT
                      : GetParam() == RegistryKey::kCurrentUser ? HKEY_CURRENT_USER
                                                                : HKEY_LOCAL_MACHINE;
    ASSERT_EQ(RegOpenKeyExW(root, reinterpret_cast<const wchar_t*>(name_.c_str()), 0, KEY_SET_VALUE,
                            &raw),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(raw, reinterpret_cast<const wchar_t*>(value_name), 0, type,
                             static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    RegCloseKey(raw);
  }

  std::u16string name_;
  RegistryKey key_;
};

TEST_P(RegistryTest, TypedValuesRoundTrip) {
  EXPECT_EQ(key_.WriteBoolean(u"Flag", true), kOk);
  EXPECT_EQ(key_.WriteInt32(u"Count", -42), kOk);
  EXPECT_EQ(key_.WriteInt64(u"Big", 0x123456789ABCDEF0LL), kOk);
  EXPECT_EQ(key_.WriteText(u"Name", u"Vorn \u00e9\u4e2d"), kOk);
  EXPECT_EQ(key_.WriteFloat32(u"Ratio", 1.5f), kOk);
  EXPECT_EQ(key_.WriteFloat64(u"Scale", 2.0), kOk);

  RegistryKey reader;
  ASSERT_EQ(reader.SetRoot(GetParam(), name_.c_str()), kOk);
  bool flag = false;
  int32_t count = 0;
  int64_t big = 0;
  String name;
  float ratio = 0;
  double scale = 0;
  EXPECT_EQ(reader.ReadBoolean(u"Flag", flag), kOk);
  EXPECT_TRUE(flag);
  EXPECT_EQ(reader.ReadInt32(u"Count", count), kOk);
  EXPECT_EQ(count, -42);
  EXPECT_EQ(reader.ReadInt64(u"Big", big), kOk);
  EXPECT_EQ(big, 0x123456789ABCDEF0LL);
  EXPECT_EQ(reader.ReadText(u"Name", name), kOk);
  EXPECT_EQ(Std(name), u"Vorn \u00e9\u4e2d");
  EXPECT_EQ(reader.ReadFloat(u"Ratio", ratio), kOk);
  EXPECT_EQ(ratio, 1.5f);
  EXPECT_EQ(reader.ReadDouble(u"Scale", scale), kOk);
  EXPECT_EQ(scale, 2.0);
  // Floats are stored as their "{0:g}" text.
  EXPECT_EQ(reader.ReadText(u"Ratio", name), kOk);
  EXPECT_EQ(Std(name), u"1.5");
  EXPECT_EQ(reader.ReadText(u"Scale", name), kOk);
  EXPECT_EQ(Std(name), u"2");
  // A boolean is a REG_DWORD 0 or 1.
  EXPECT_EQ(key_.WriteBoolean(u"Flag", false), kOk);
  EXPECT_EQ(reader.ReadInt32(u"Flag", count), kOk);
  EXPECT_EQ(count, 0);
}

TEST_P(RegistryTest, ValuesOfAnotherTypeAreRefused) {
  ASSERT_EQ(key_.WriteText(u"Text", u"1"), kOk);
  ASSERT_EQ(key_.WriteInt32(u"Number", 1), kOk);
  ASSERT_EQ(key_.WriteInt64(u"Wide", 1), kOk);
  bool flag = true;
  EXPECT_EQ(key_.ReadBoolean(u"Text", flag), kWrongType);
  EXPECT_FALSE(flag);
  int32_t number = 5;
  EXPECT_EQ(key_.ReadInt32(u"Text", number), kWrongType);
  EXPECT_EQ(number, 0);
  EXPECT_EQ(key_.ReadInt32(u"Wide", number), kWrongType);
  int64_t wide = 5;
  EXPECT_EQ(key_.ReadInt64(u"Number", wide), kWrongType);
  EXPECT_EQ(wide, 0);
  String text = u"stale";
  EXPECT_EQ(key_.ReadText(u"Number", text), kWrongType);
  EXPECT_TRUE(text.IsEmpty());
  float ratio = 5;
  EXPECT_EQ(key_.ReadFloat(u"Number", ratio), kWrongType);
  EXPECT_EQ(ratio, 0);
  // An expandable text is not a plain text.
  const wchar_t expand[] = L"%TEMP%";
  WriteRaw(u"Expand", REG_EXPAND_SZ, expand, sizeof(expand));
  EXPECT_EQ(key_.ReadText(u"Expand", text), kWrongType);
  // A binary value as long as a number still is no number.
  const DWORD four = 4;
  WriteRaw(u"Binary", REG_BINARY, &four, sizeof(four));
  EXPECT_EQ(key_.ReadInt32(u"Binary", number), kWrongType);
}

TEST_P(RegistryTest, TextLimitIs16384Bytes) {
  const std::u16string fits(8191, u'a');  // 8,191 units + the 0: 16,384 bytes
  ASSERT_EQ(key_.WriteText(u"Fits", fits.c_str()), kOk);
  String text;
  EXPECT_EQ(key_.ReadText(u"Fits", text), kOk);
  EXPECT_EQ(text.Length(), 8191u);
  const std::u16string too_long(8192, u'b');
  ASSERT_EQ(key_.WriteText(u"Long", too_long.c_str()), kOk);
  text = u"stale";
  EXPECT_EQ(key_.ReadText(u"Long", text), kWrongType);
  EXPECT_TRUE(text.IsEmpty());
  const std::u16string huge(100000, u'c');
  ASSERT_EQ(key_.WriteText(u"Huge", huge.c_str()), kOk);
  EXPECT_EQ(key_.ReadText(u"Huge", text), kWrongType);
  EXPECT_TRUE(text.IsEmpty());
  // The stored value is untouched by the refused read.
  RegistryKey again;
  ASSERT_EQ(again.SetRoot(GetParam(), name_.c_str()), kOk);
  EXPECT_EQ(again.ReadText(u"Fits", text), kOk);
  EXPECT_EQ(Std(text), fits);
}

TEST_P(RegistryTest, TextsWithoutTerminatorOrWithOddSizes) {
  const wchar_t unterminated[] = {L'a', L'b', L'c'};
  WriteRaw(u"Raw", REG_SZ, unterminated, sizeof(unterminated));
  String text;
  EXPECT_EQ(key_.ReadText(u"Raw", text), kOk);
  EXPECT_EQ(Std(text), u"abc");
  WriteRaw(u"Odd", REG_SZ, unterminated, 5);
  EXPECT_EQ(key_.ReadText(u"Odd", text), kOk);
  EXPECT_EQ(Std(text), u"ab");
  WriteRaw(u"Empty", REG_SZ, unterminated, 0);
  text = u"stale";
  EXPECT_EQ(key_.ReadText(u"Empty", text), kOk);
  EXPECT_TRUE(text.IsEmpty());
}

TEST_P(RegistryTest, DefaultValueNullNamesAndNullTexts) {
  EXPECT_EQ(key_.WriteText(nullptr, u"default"), kOk);
  String text;
  EXPECT_EQ(key_.ReadText(nullptr, text), kOk);
  EXPECT_EQ(Std(text), u"default");
  bool flag = true;
  int32_t number = 1;
  int64_t wide = 1;
  float ratio = 1;
  EXPECT_EQ(key_.ReadBoolean(nullptr, flag), kInvalidName);
  EXPECT_FALSE(flag);
  EXPECT_EQ(key_.ReadInt32(nullptr, number), kInvalidName);
  EXPECT_EQ(key_.ReadInt64(nullptr, wide), kInvalidName);
  EXPECT_EQ(key_.ReadFloat(nullptr, ratio), kInvalidName);
  EXPECT_EQ(key_.WriteBoolean(nullptr, true), kInvalidName);
  EXPECT_EQ(key_.WriteInt32(nullptr, 1), kInvalidName);
  EXPECT_EQ(key_.WriteInt64(nullptr, 1), kInvalidName);
  EXPECT_EQ(key_.WriteFloat32(nullptr, 1), kInvalidName);
  EXPECT_EQ(key_.WriteFloat64(nullptr, 1), kInvalidName);
  EXPECT_EQ(key_.WriteText(u"Name", nullptr), kNullOutput);
  EXPECT_EQ(key_.DeleteValue(nullptr), kInvalidName);
  // None of the refusals touched the default value.
  EXPECT_EQ(key_.ReadText(nullptr, text), kOk);
  EXPECT_EQ(Std(text), u"default");
}

TEST_P(RegistryTest, MissingValuesAndKeys) {
  int32_t number = 3;
  EXPECT_EQ(key_.ReadInt32(u"Nothing", number), kNotFound) << "the key does not exist yet";
  EXPECT_EQ(number, 0);
  EXPECT_FALSE(key_.IsOpen()) << "a read never creates the key";
  ASSERT_EQ(key_.WriteInt32(u"Something", 1), kOk);
  String text = u"stale";
  EXPECT_EQ(key_.ReadText(u"Nothing", text), kNotFound);
  EXPECT_TRUE(text.IsEmpty());
  EXPECT_EQ(key_.DeleteValue(u"Something"), kOk);
  EXPECT_EQ(key_.DeleteValue(u"Something"), kNotFound);
}

TEST_P(RegistryTest, FloatTextsThatAreNoNumbers) {
  ASSERT_EQ(key_.WriteText(u"Word", u"abc"), kOk);
  ASSERT_EQ(key_.WriteText(u"Lead", u"  -2.25e1xyz"), kOk);
  float ratio = 9;
  EXPECT_EQ(key_.ReadFloat(u"Word", ratio), kInvalidContent);
  EXPECT_EQ(ratio, 0);
  EXPECT_EQ(key_.ReadFloat(u"Lead", ratio), kOk);
  EXPECT_EQ(ratio, -22.5f);
}

TEST_P(RegistryTest, ChildKeysAndSubkeyDeletion) {
  RegistryKey child;
  EXPECT_EQ(child.SetChildOf(key_, u"Child"), kInvalidState) << "the parent is not open yet";
  ASSERT_EQ(key_.Open(true), kOk);
  ASSERT_EQ(child.SetChildOf(key_, u"Child/Grandchild"), kOk);
  EXPECT_EQ(Std(child.Path()), u"Child\\Grandchild");
  // The child keeps working after its parent is closed.
  key_.Close();
  EXPECT_TRUE(key_.Path().IsEmpty());
  EXPECT_EQ(child.WriteInt32(u"Value", 7), kOk);
  int32_t number = 0;
  EXPECT_EQ(child.ReadInt32(u"Value", number), kOk);
  EXPECT_EQ(number, 7);
  child.Close();

  ASSERT_EQ(key_.SetRoot(GetParam(), name_.c_str()), kOk);
  EXPECT_EQ(key_.WriteText(u"Kept", u"yes"), kOk);
  EXPECT_EQ(key_.DeleteSubkey(nullptr), kInvalidName);
  EXPECT_EQ(key_.DeleteSubkey(u""), kInvalidName) << "an empty name would take the key itself";
  EXPECT_EQ(key_.DeleteSubkey(u"Child"), kOk);
  EXPECT_EQ(key_.DeleteSubkey(u"Child"), kOk) << "absent counts as deleted";
  RegistryKey gone;
  ASSERT_EQ(gone.SetRoot(GetParam(), (name_ + u"\\Child").c_str()), kOk);
  EXPECT_EQ(gone.Open(false), kNotFound);
  String text;
  EXPECT_EQ(key_.ReadText(u"Kept", text), kOk);
  EXPECT_EQ(Std(text), u"yes");
}

INSTANTIATE_TEST_SUITE_P(Roots, RegistryTest,
                         ::testing::Values(RegistryKey::kCurrentUser, RegistryKey::kLocalMachine,
                                           RegistryKey::kLocalMachine64));

TEST(RegistryKeyTest, RootsAndPathsThatAreRefused) {
  RegistryKey key;
  EXPECT_EQ(key.SetRoot(0, u"Software"), kInvalidArgument);
  EXPECT_EQ(key.SetRoot(5, u"Software"), kInvalidArgument);
  EXPECT_EQ(key.SetRoot(RegistryKey::kCurrentUser, u"\\Software"), kInvalidPath);
  EXPECT_EQ(key.SetRoot(RegistryKey::kCurrentUser, u"/Software"), kInvalidPath);
  bool flag = true;
  EXPECT_EQ(key.ReadBoolean(u"Any", flag), kNotOpen);
  EXPECT_FALSE(flag);
  EXPECT_EQ(key.WriteBoolean(u"Any", true), kNotOpen);
  EXPECT_EQ(key.DeleteSubkey(u"Any"), kNotOpen);
  RegistryKey child;
  EXPECT_EQ(child.SetChildOf(key, u"Any"), kInvalidState);
  EXPECT_EQ(key.SetRoot(RegistryKey::kClassesRoot, u"*"), kOk);
  EXPECT_EQ(key.Open(false), kOk);
}

}  // namespace
}  // namespace vorn
