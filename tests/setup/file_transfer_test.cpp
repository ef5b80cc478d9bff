// The copy, its undo and the transfer state on the file system of the
// machine the tests run on, with the sanitizers watching the copy; the
// Windows program runs the whole page, its cancellation and its failures.
#include "setup/file_transfer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "application/uninstallation.h"
#include "foundation/folder.h"
#include "setup/support/transfer_package.h"
#include "setup/support/xml_package.h"

namespace vorn {
namespace {

using test::FromAscii;
using test::InstallableProduct;
using test::ProductFileContent;

constexpr uint64_t kMiB = 1048576;

// Records what the copy reports.
class RecordingObserver : public TransferObserver {
 public:
  void TransferStarted(uint64_t total) noexcept override { started_total = total; }
  void TransferProgressed(uint64_t bytes_done) noexcept override { reports.push_back(bytes_done); }
  uint64_t started_total = ~uint64_t{0};
  std::vector<uint64_t> reports;
};

class AnswerConfirmation : public CancelConfirmation {
 public:
  explicit AnswerConfirmation(bool yes) : yes_(yes) {}
  bool ConfirmCancel(const String& name) noexcept override {
    asked_for = test::Utf8(name);
    if (during) during();
    return yes_;
  }
  std::string asked_for;
  std::function<void()> during;

 private:
  bool yes_;
};

class FileTransferTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = "/tmp/vorn-transfer-" + std::to_string(getpid()) + "/";
    Folder::Remove(FromAscii(root_).Text(), Folder::kRemoveWithShell);
    ASSERT_EQ(Folder::Create(FromAscii(root_).Text()), kOk);
  }
  void TearDown() override { Folder::Remove(FromAscii(root_).Text(), Folder::kRemoveWithShell); }

  // The product's settings with the install folder below the test's root.
  InstallationSettings& Prepare(const std::string& company = "Vorn Test Company") {
    test::SettingsText text;
    text.company = company;
    product_.package.AddSettings(text);
    EXPECT_EQ(product_.Prepare(), kOk);
    product_.settings.install_folder = FromAscii(root_ + "Vorn Test Company/Product");
    product_.settings.company = FromAscii(company);
    return product_.settings;
  }
  std::string Installed(const std::string& relative) const {
    return root_ + "Vorn Test Company/Product/" + relative;
  }
  static bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
  }
  static std::vector<uint8_t> Read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
  }
  static void Write(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
  }

  std::string root_;
  InstallableProduct product_;
};

TEST(FileTransferPaths, OnlyPathsInsideTheInstallFolderAreAccepted) {
  for (const char16_t* good : {u"Product.exe", u"bin/tool.dll", u"bin\\x64\\tool.dll", u"..data",
                               u"notes..txt", u"a b/c.d"}) {
    EXPECT_TRUE(IsContainedRelativePath(good)) << test::Utf8(good);
  }
  for (const char16_t* bad :
       {u"", u"../escape.txt", u"bin/../../escape.txt", u"..", u"/etc/x", u"\\Windows\\x.dll",
        u"C:\\Windows\\x.dll", u"C:x.dll", u"bin/C:/x", u"file.txt:stream", u"bin/.. /x",
        u"bin/.../x", u"bin\\..\\..\\x", u"./x"}) {
    EXPECT_FALSE(IsContainedRelativePath(bad)) << test::Utf8(bad);
  }
}

TEST(FileTransferPaths, CompanyFolderIsAWholeFolderNameOfThePath) {
  EXPECT_EQ(test::Utf8(CompanyFolderOf(u"C:\\Program Files\\Vorn\\Product\\", u"Vorn")),
            "C:\\Program Files\\Vorn\\");
  // Part of a folder name is not the company's folder.
  EXPECT_EQ(test::Utf8(CompanyFolderOf(u"C:\\Program Files\\Vornado\\Product\\", u"Vorn")), "");
  EXPECT_EQ(test::Utf8(CompanyFolderOf(u"C:\\Apps\\MyVorn\\Product\\", u"Vorn")), "");
  // No company, no company folder (rather than the first folder of all).
  EXPECT_EQ(test::Utf8(CompanyFolderOf(u"C:\\Program Files\\Product\\", u"")), "");
  EXPECT_EQ(test::Utf8(CompanyFolderOf(u"/opt/Vorn/Product/", u"Vorn")), "/opt/Vorn/");
}

TEST_F(FileTransferTest, CopiesEveryFileInChunksWithTheListedDates) {
  product_.package.AddProductFile("Product.exe", 1000);
  product_.package.AddProductFile("bin/big.bin", 10 * kMiB);
  product_.package.AddProductFile("bin/deeper/empty.txt", 0);
  InstallationSettings& settings = Prepare();
  // A longer file of an older version is replaced, not written over.
  ASSERT_EQ(Folder::Create(FromAscii(Installed("")).Text()), kOk);
  Write(Installed("Product.exe"), std::string(5000, 'x'));
  RecordingObserver observer;
  FileTransfer transfer(settings, product_.files);
  transfer.SetObserver(&observer);

  ASSERT_EQ(transfer.CopyFileList(), kOk);
  EXPECT_EQ(transfer.State(), TransferState::kFinished);
  EXPECT_EQ(observer.started_total, 1000 + 10 * kMiB);
  // The big file in three chunks: 4 MiB, 4 MiB, 2 MiB; the empty one none.
  EXPECT_EQ(observer.reports,
            (std::vector<uint64_t>{1000, 1000 + 4 * kMiB, 1000 + 8 * kMiB, 1000 + 10 * kMiB}));
  for (const auto& [name, size] : {std::pair<std::string, uint64_t>{"Product.exe", 1000},
                                   {"bin/big.bin", 10 * kMiB},
                                   {"bin/deeper/empty.txt", 0}}) {
    EXPECT_EQ(Read(Installed(name)), ProductFileContent(name, size)) << name;
    struct stat info {};
    ASSERT_EQ(stat(Installed(name).c_str(), &info), 0);
    EXPECT_EQ(info.st_mtime, test::kProductFileUnixTime) << name;
  }
  for (uint32_t i = 0; i < settings.files.Count(); ++i) EXPECT_TRUE(settings.files[i].installed);
}

TEST_F(FileTransferTest, MissingSourceFailsAndUndoKeepsWhatWasNotOurs) {
  product_.package.AddProductFile("Product.exe", 1000);
  product_.package.AddProductFile("bin/missing.dll", 10, /*in_archive=*/false);
  InstallationSettings& settings = Prepare();
  ASSERT_EQ(Folder::Create(FromAscii(Installed("")).Text()), kOk);
  Write(Installed("user-notes.txt"), "the user's");
  FileTransfer transfer(settings, product_.files);
  EXPECT_EQ(transfer.CopyFileList(), kNotFound);
  transfer.Undo();
  EXPECT_FALSE(Exists(Installed("Product.exe")));
  EXPECT_TRUE(Exists(Installed("user-notes.txt")));
}

TEST_F(FileTransferTest, UndoWithoutCompanyRemovesNoFolderAbove) {
  product_.package.AddProductFile("Product.exe", 10);
  InstallationSettings& settings = Prepare("");
  settings.install_folder = FromAscii(root_ + "Apps/Product");
  ASSERT_EQ(Folder::Create(FromAscii(root_ + "Apps").Text()), kOk);
  FileTransfer transfer(settings, product_.files);
  ASSERT_EQ(transfer.CopyFileList(), kOk);
  transfer.Undo();
  EXPECT_FALSE(Exists(root_ + "Apps/Product"));
  // Empty, but not the company's: it stays.
  EXPECT_TRUE(Exists(root_ + "Apps"));

  // With the company named so, its empty folder goes.
  settings.company = u"Apps";
  for (uint32_t i = 0; i < settings.files.Count(); ++i) settings.files[i].installed = false;
  FileTransfer again(settings, product_.files);
  ASSERT_EQ(again.CopyFileList(), kOk);
  again.Undo();
  EXPECT_FALSE(Exists(root_ + "Apps"));
}

TEST_F(FileTransferTest, CloseRequestsFollowTheTransferState) {
  product_.package.AddProductFile("Product.exe", 10);
  InstallationSettings& settings = Prepare();
  FileTransfer transfer(settings, product_.files);
  AnswerConfirmation yes(true);
  AnswerConfirmation no(false);

  // Before the copy: the close is allowed, and the copy then never starts.
  EXPECT_TRUE(transfer.QueryClose(yes));
  EXPECT_EQ(transfer.State(), TransferState::kClosed);
  EXPECT_TRUE(yes.asked_for.empty());
  EXPECT_EQ(transfer.CopyFileList(), kCancelled);
  EXPECT_FALSE(Exists(Installed("Product.exe")));

  // While it runs the user is asked, with the product's name, and the
  // close is refused whatever the answer.
  transfer.SetState(TransferState::kRunning);
  no.during = [&] { EXPECT_EQ(transfer.State(), TransferState::kConfirmingCancel); };
  EXPECT_FALSE(transfer.QueryClose(no));
  EXPECT_EQ(no.asked_for, "Vorn Test Product");
  EXPECT_EQ(transfer.State(), TransferState::kRunning);
  EXPECT_FALSE(transfer.QueryClose(yes));
  EXPECT_EQ(transfer.State(), TransferState::kCancelRequested);
  EXPECT_FALSE(transfer.QueryClose(yes));  // already asked
  EXPECT_EQ(transfer.State(), TransferState::kCancelRequested);

  // A worker that fails and ends while the question is open keeps its end.
  transfer.SetState(TransferState::kRunning);
  yes.during = [&] { transfer.SetState(TransferState::kClosed); };
  EXPECT_FALSE(transfer.QueryClose(yes));
  EXPECT_EQ(transfer.State(), TransferState::kClosed);
  EXPECT_TRUE(transfer.QueryClose(no));
}

}  // namespace
}  // namespace vorn
