// App Paths registration in the real (Wine) registry.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "application/app_paths.h"
#include "foundation/registry_key.h"

namespace vorn {
namespace {

std::u16string ReadText(const char16_t* key_path, const char16_t* name, Result& result) {
  RegistryKey key;
  key.SetRoot(RegistryKey::kLocalMachine, key_path);
  String value;
  result = key.ReadText(name, value);
  return std::u16string(value.Text(), value.Length());
}

constexpr char16_t kKey[] =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\vorn-app-paths-test.exe";

TEST(AppPathsTest, RegisterWritesPathAndFolderAndUnregisterRemovesThem) {
  const String program = u"C:\\Program Files\\Vorn Test\\vorn-app-paths-test.exe";
  EXPECT_EQ(std::u16string(AppPathsKey(program).Text()), kKey);
  ASSERT_EQ(RegisterAppPaths(program), kOk);
  Result result = kOk;
  EXPECT_EQ(ReadText(kKey, nullptr, result),
            u"C:\\Program Files\\Vorn Test\\vorn-app-paths-test.exe");
  EXPECT_EQ(result, kOk);
  EXPECT_EQ(ReadText(kKey, u"Path", result), u"C:\\Program Files\\Vorn Test\\");
  // Registering again replaces the entry.
  ASSERT_EQ(RegisterAppPaths(u"D:\\Other\\vorn-app-paths-test.exe"), kOk);
  EXPECT_EQ(ReadText(kKey, u"Path", result), u"D:\\Other\\");
  EXPECT_EQ(UnregisterAppPaths(program), kOk);
  ReadText(kKey, nullptr, result);
  EXPECT_EQ(result, kNotFound);
  EXPECT_EQ(UnregisterAppPaths(program), kOk);  // already gone
}

TEST(AppPathsTest, PathWithoutFileNameIsRefusedAndTouchesNothing) {
  Result result = kOk;
  const std::u16string before =
      ReadText(u"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths", nullptr, result);
  const Result before_result = result;
  EXPECT_EQ(RegisterAppPaths(u""), kInvalidPath);
  EXPECT_EQ(RegisterAppPaths(u"C:\\Folder\\"), kInvalidPath);
  EXPECT_EQ(UnregisterAppPaths(u"C:\\Folder\\"), kInvalidPath);
  EXPECT_EQ(ReadText(u"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths", nullptr, result),
            before);
  EXPECT_EQ(result, before_result);
}

}  // namespace
}  // namespace vorn
