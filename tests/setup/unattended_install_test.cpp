// The unattended installation's command line, its refusals (nothing is
// written, the log says why) and its log of a real copy. The installs
// themselves, with registration and shortcuts, run under Wine in
// unattended_test.py.
#include "setup/unattended_install.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "application/command_line.h"
#include "foundation/folder.h"
#include "setup/support/transfer_package.h"
#include "setup/support/xml_package.h"

namespace vorn {
namespace {

using test::FromAscii;

constexpr uint64_t kMiB = 1048576;

Result ReadOptions(const char16_t* text, UnattendedOptions& options, CommandLine& line) {
  line.Parse(text);
  return ReadUnattendedOptions(line, options);
}

TEST(UnattendedOptionsTest, SwitchesInAnyCaseQuotedOrNot) {
  CommandLine line;
  UnattendedOptions options;
  // A deployment tool quotes the whole argument when it holds a blank.
  ASSERT_EQ(ReadOptions(u"Setup.exe /unattended \"/InstallFolder=C:\\Program Files\\Vorn\\Demo\" "
                        u"/programgroup=\"Vorn\\Demo Tools\" /DESKTOPSHORTCUT=0 "
                        u"-QuickLaunchShortcut=1 /Log=C:\\Logs\\demo.log /Language=fr",
                        options, line),
            kOk);
  EXPECT_TRUE(options.requested);
  EXPECT_TRUE(options.has_install_folder);
  EXPECT_EQ(test::Utf8(options.install_folder), "C:\\Program Files\\Vorn\\Demo");
  EXPECT_TRUE(options.has_program_group);
  EXPECT_EQ(test::Utf8(options.program_group), "Vorn\\Demo Tools");
  EXPECT_EQ(options.desktop_shortcut, 0);
  EXPECT_EQ(options.quick_launch_shortcut, 1);
  EXPECT_EQ(test::Utf8(options.log_path), "C:\\Logs\\demo.log");
  // The elevated child gets its own switches and the unattended ones as
  // they were written; the language is not one of them.
  EXPECT_EQ(test::Utf8(UnattendedChildParameters(line)),
            "-LaunchedAsAdministrator -AllowMultipleInstances /unattended "
            "\"/InstallFolder=C:\\Program Files\\Vorn\\Demo\" /programgroup=\"Vorn\\Demo Tools\" "
            "/DESKTOPSHORTCUT=0 -QuickLaunchShortcut=1 /Log=C:\\Logs\\demo.log");

  // Without options everything keeps its default; without the switch
  // nothing is requested.
  ASSERT_EQ(ReadOptions(u"Setup.exe /Unattended", options, line), kOk);
  EXPECT_TRUE(options.requested);
  EXPECT_FALSE(options.has_install_folder);
  EXPECT_FALSE(options.has_program_group);
  EXPECT_EQ(options.desktop_shortcut, -1);
  EXPECT_EQ(options.quick_launch_shortcut, -1);
  EXPECT_TRUE(options.log_path.IsEmpty());
  ASSERT_EQ(ReadOptions(u"Setup.exe /Quiet", options, line), kOk);
  EXPECT_FALSE(options.requested);
}

TEST(UnattendedOptionsTest, MalformedValuesAreRefused) {
  for (const char16_t* text :
       {u"Setup.exe /Unattended /DesktopShortcut=yes", u"Setup.exe /Unattended /DesktopShortcut",
        u"Setup.exe /Unattended /QuickLaunchShortcut=2", u"Setup.exe /Unattended /Log",
        u"Setup.exe /Unattended /Log= /DesktopShortcut=1"}) {
    CommandLine line;
    UnattendedOptions options;
    EXPECT_EQ(ReadOptions(text, options, line), kInvalidArgument) << test::Utf8(text);
  }
}

class UnattendedInstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = "/tmp/vorn-unattended-" + std::to_string(getpid()) + "/";
    Folder::Remove(FromAscii(root_).Text(), Folder::kRemoveWithShell);
    ASSERT_EQ(Folder::Create(FromAscii(root_).Text()), kOk);
  }
  void TearDown() override { Folder::Remove(FromAscii(root_).Text(), Folder::kRemoveWithShell); }

  InstallationSettings& Prepare() {
    test::SettingsText text;
    product_.package.AddSettings(text);
    EXPECT_EQ(product_.Prepare(), kOk);
    return product_.settings;
  }
  static bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
  }
  static std::vector<std::string> Lines(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(file, line)) {
      // Written for Notepad: CR LF.
      EXPECT_FALSE(line.empty() || line.back() != '\r') << line;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    return lines;
  }

  std::string root_;
  test::InstallableProduct product_;
};

TEST_F(UnattendedInstallTest, RefusalsWriteNothingButTheLog) {
  product_.package.AddProductFile("Product.exe", 1000);
  InstallationSettings& settings = Prepare();
  settings.install_folder = u"C:\\Program Files\\Vorn\\Product";
  settings.program_group = u"Vorn\\Product";
  const std::string log = root_ + "install.log";
  struct Case {
    const char16_t* folder;
    const char16_t* group;
    Result read;
    bool running;
    const char* result_line;
  } cases[] = {
      {u"Relative\\Product", nullptr, kOk, false, "Result: 5 (invalid option)"},
      {u"C:\\Program Files\\..\\Windows", nullptr, kOk, false, "Result: 5 (invalid option)"},
      {u"C:\\Product\\", nullptr, kOk, false, "Result: 5 (invalid option)"},
      {nullptr, u"..\\Startup", kOk, false, "Result: 5 (invalid option)"},
      {nullptr, u"C:\\Group", kOk, false, "Result: 5 (invalid option)"},
      {nullptr, nullptr, kInvalidArgument, false, "Result: 5 (invalid option)"},
      {nullptr, nullptr, kOk, true, "Result: 14 (the product is running)"},
  };
  for (const Case& c : cases) {
    UnattendedOptions options;
    options.requested = true;
    options.has_install_folder = c.folder != nullptr;
    if (c.folder != nullptr) options.install_folder = c.folder;
    options.has_program_group = c.group != nullptr;
    if (c.group != nullptr) options.program_group = c.group;
    options.log_path = FromAscii(log);
    const int32_t expected = c.running ? 14 : 5;
    EXPECT_EQ(RunUnattendedInstall(options, c.read, c.running, settings, product_.files), expected)
        << c.result_line;
    const std::vector<std::string> lines = Lines(log);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("Start: ", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1], c.result_line);
    // The settings the pages would show are untouched.
    EXPECT_EQ(test::Utf8(settings.install_folder), "C:\\Program Files\\Vorn\\Product");
    EXPECT_EQ(test::Utf8(settings.program_group), "Vorn\\Product");
    EXPECT_FALSE(settings.files[0].installed);
  }
  // Only the log was written.
  Folder listing(FromAscii(root_).Text());
  int entries = 0;
  while (listing.Next() == kOk) ++entries;
  EXPECT_EQ(entries, 1);

  // A log that cannot be made ends the run before anything else, with the
  // system's reason.
  UnattendedOptions options;
  options.requested = true;
  options.log_path = FromAscii(root_ + "no such folder/install.log");
  EXPECT_NE(RunUnattendedInstall(options, kOk, false, settings, product_.files), 0);
  EXPECT_FALSE(Exists(root_ + "no such folder"));
}

TEST_F(UnattendedInstallTest, LogRecordsTheCopyInTenths) {
  product_.package.AddProductFile("Product.exe", 1000);
  product_.package.AddProductFile("bin/big.bin", 10 * kMiB);
  InstallationSettings& settings = Prepare();
  settings.install_folder = FromAscii(root_ + "Product");
  const std::string log_path = root_ + "copy.log";
  InstallLog log;
  ASSERT_EQ(log.Open(FromAscii(log_path)), kOk);
  FileTransfer transfer(settings, product_.files);
  transfer.SetObserver(&log);
  ASSERT_EQ(transfer.CopyFileList(), kOk);
  // Chunks end at about 0 %, 39 %, 78 % and 100 %: every tenth is written
  // once, in order, however the chunks fall.
  std::vector<std::string> expected = {"Copy started: " + std::to_string(1000 + 10 * kMiB) +
                                       " bytes"};
  for (int tenth = 10; tenth <= 100; tenth += 10) {
    expected.push_back("Copied " + std::to_string(tenth) + " %");
  }
  EXPECT_EQ(Lines(log_path), expected);
}

TEST_F(UnattendedInstallTest, FailedCopyLeavesNoFolderItMade) {
  product_.package.AddProductFile("Product.exe", 1000);
  product_.package.AddProductFile("bin/missing.dll", 10, /*in_archive=*/false);
  InstallationSettings& settings = Prepare();
  settings.company = u"";
  ASSERT_EQ(Folder::Create(FromAscii(root_ + "Existing").Text()), kOk);
  settings.install_folder = FromAscii(root_ + "Existing/New/Deeper/Product");
  FileTransfer transfer(settings, product_.files);
  EXPECT_EQ(transfer.CopyFileList(), kNotFound);
  transfer.Undo();
  EXPECT_FALSE(Exists(root_ + "Existing/New"));
  // What was there before stays, empty as it is.
  EXPECT_TRUE(Exists(root_ + "Existing"));

  // A folder the user put in a new parent meanwhile keeps that parent.
  for (uint32_t i = 0; i < settings.files.Count(); ++i) settings.files[i].installed = false;
  FileTransfer again(settings, product_.files);
  EXPECT_EQ(again.CopyFileList(), kNotFound);
  ASSERT_EQ(Folder::Create(FromAscii(root_ + "Existing/New/Mine").Text()), kOk);
  again.Undo();
  EXPECT_FALSE(Exists(root_ + "Existing/New/Deeper"));
  EXPECT_TRUE(Exists(root_ + "Existing/New/Mine"));
}

}  // namespace
}  // namespace vorn
