// The product installed by the test (its files copied, the installation
// registered, which runs the product's own "/Install") and removed again by
// the product itself, in every mode the uninstallation has.
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlwapi.h>
#include <windows.h>

#include <memory>
#include <string>

#include "application/file_type_registration.h"
#include "application/support/windows_helpers.h"
#include "foundation/folder.h"
#include "foundation/special_folder.h"
#include "package/package_file_system.h"
#include "resources/preferences.h"
#include "resources/resource_manager.h"
#include "setup/installation_settings.h"
#include "setup/support/product_identity.h"
#include "setup/support/settings_documents.h"
#include "setup/support/xml_package.h"
#include "setup/system_registration.h"

namespace vorn {
namespace {

using test::FileExists;
using test::FolderExists;
using test::FromWide;
using test::ReadRegistryValue;
using test::RegistryKeyExists;
using test::Utf8;
using test::Wide;

const String kEntry = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{" +
                      String(test::kProductUuid) + u"}";
const String kAppPaths =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\VornTestProduct.exe";
const std::string kTitle =
    "Vorn Test Product\xC2\xA0"
    "2.5 Beta one";

String ProgramFolder() {
  wchar_t buffer[MAX_PATH];
  GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  String path = FromWide(buffer);
  return path.Left(static_cast<uint32_t>(path.Find(u"setup_win_tests.exe")));
}

class InstalledProductTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    root_ = test::TemporaryFolder() +
            test::FromAscii("vorn-uninstall-" + std::to_string(GetCurrentProcessId())) + u"\\";
    folder_ = root_ + u"Vorn Test Company\\Vorn Test Product";
    program_ = folder_ + u"\\VornTestProduct.exe";
    log_ = root_ + u"prompts.log";
    GetSpecialFolder(kProgramsMenuFolder, programs_);
    GetSpecialFolder(kUserDesktopFolder, desktop_);
    RemoveEverything();

    ASSERT_EQ(Folder::Create(String(folder_ + u"\\Data").Text()), kOk);
    ASSERT_TRUE(CopyFileW(Wide(ProgramFolder() + u"installed_product.exe"), Wide(program_), FALSE));
    ASSERT_TRUE(test::WriteSmallFile(folder_ + u"\\Data\\notes.dat", "notes"));
    ASSERT_TRUE(test::WriteSmallFile(folder_ + u"\\ReadMe.txt", "read me"));
    // Outside the install folder: named by a hostile list entry, must stay.
    ASSERT_TRUE(test::WriteSmallFile(root_ + u"outside.txt", "not ours"));
    ASSERT_TRUE(test::WriteSmallFile(root_ + u"keep.doc", "not a shortcut"));

    test::SettingsText text;
    text.executable = "VornTestProduct.exe";
    text.shortcuts = "<Shortcut Text=\"Read me\" Help=\"The notes\">ReadMe.txt</Shortcut>";
    package_.Add(u"Data/Xml/Configuration.xml", test::ConfigurationXml(text));
    package_.Add(u"Data/Xml/FileList.xml",
                 test::FileListXml("Product/", test::FileXml("VornTestProduct.exe", 4096) +
                                                   "<Files Path=\"Data\\\">" +
                                                   test::FileXml("notes.dat", 5) + "</Files>" +
                                                   test::FileXml("ReadMe.txt", 7)));
    ASSERT_EQ(package_.MountIn(files_), kOk);
    resources_ = std::make_unique<ResourceManager>(files_);
    ASSERT_EQ(resources_->RegisterDocument(u"Data/Xml/Configuration.xml"), kOk);
    ASSERT_EQ(resources_->RegisterDocument(u"Data/Xml/FileList.xml"), kOk);
    settings_.Build(*resources_);
    settings_.install_folder = folder_;
    settings_.program_group = u"Vorn Test Company\\Vorn Test Product";
    FileEntry outside;
    outside.relative_path = u"..\\..\\outside.txt";
    ASSERT_EQ(settings_.files.Append(static_cast<FileEntry&&>(outside)), kOk);
    Preferences::Instance().SetBool(u"/User/Global/InstallOptions/CreateDesktopShortcut", true);
    Preferences::Instance().SetBool(u"/User/Global/InstallOptions/CreateQuickLaunchShortcut",
                                    false);
    ASSERT_EQ(RegisterInstallation(settings_), kOk);
    ASSERT_EQ(settings_.created_shortcuts.Count(), 3u);
    // A list entry that is no shortcut is never deleted.
    HKEY list = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(String(kEntry + u"\\ShortcutsList")), 0,
                            KEY_SET_VALUE, &list),
              ERROR_SUCCESS);
    const String keep = root_ + u"keep.doc";
    RegSetValueExW(list, L"3", 0, REG_SZ, reinterpret_cast<const BYTE*>(Wide(keep)),
                   (keep.Length() + 1) * 2);
    RegCloseKey(list);
  }

  void TearDown() override {
    StopRunningProduct();
    RemoveEverything();
    SetEnvironmentVariableW(L"VORN_PRODUCT_ANSWER", nullptr);
    SetEnvironmentVariableW(L"VORN_PRODUCT_LOG", nullptr);
    CoUninitialize();
  }

  void RemoveEverything() {
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, Wide(kEntry));
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, Wide(kAppPaths));
    for (const wchar_t* key : {L".vtpdoc", L"Vorn Test Product.vtpdoc", L"vorntestproduct"}) {
      SHDeleteKeyW(HKEY_CLASSES_ROOT, key);
    }
    DeleteFileW(Wide(String(desktop_ + u"Vorn Test Product (Beta).lnk")));
    Folder::Remove(String(programs_ + u"Vorn Test Company\\").Text(), Folder::kRemoveWithShell);
    Folder::Remove(root_.Text(), Folder::kRemoveWithShell);
  }

  // Runs the installed product with these parameters; the prompt answers
  // `answer` (null: no prompt installed). Gives its exit code.
  DWORD RunProduct(const wchar_t* parameters, const wchar_t* answer) {
    SetEnvironmentVariableW(L"VORN_PRODUCT_ANSWER", answer);
    SetEnvironmentVariableW(L"VORN_PRODUCT_LOG", Wide(log_));
    return test::RunAndWait(L"\"" + std::wstring(Wide(program_)) + L"\" " + parameters);
  }

  // Starts the product normally and waits until it holds its marker.
  void StartRunningProduct() {
    running_ = test::StartProcess(L"\"" + std::wstring(Wide(program_)) + L"\"");
    ASSERT_NE(running_, nullptr);
    const String marker = u"Local\\VornLib.{" + String(test::kProductUuid) + u"}";
    for (int i = 0; i < 600; ++i) {
      HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, Wide(marker));
      if (mutex != nullptr) {
        CloseHandle(mutex);
        return;
      }
      Sleep(50);
    }
    FAIL() << "the product never took its marker";
  }

  void StopRunningProduct() {
    if (running_ == nullptr) return;
    HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, L"Local\\VornTestProductStop");
    SetEvent(stop);
    if (WaitForSingleObject(running_, 30000) != WAIT_OBJECT_0) TerminateProcess(running_, 1);
    CloseHandle(stop);
    CloseHandle(running_);
    running_ = nullptr;
  }

  std::string PromptLog() { return test::ReadWholeFile(log_); }

  // True once the path is gone, waiting up to a minute for the batch.
  static bool GoneWithin(const String& path, int seconds) {
    for (int i = 0; i < seconds * 10; ++i) {
      if (GetFileAttributesW(Wide(path)) == INVALID_FILE_ATTRIBUTES) return true;
      Sleep(100);
    }
    return false;
  }

  void ExpectRegistrationGone() {
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kEntry));
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kAppPaths));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, u".vtpdoc"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, u"Vorn Test Product.vtpdoc"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, u"vorntestproduct"));
    EXPECT_FALSE(FileExists(desktop_ + u"Vorn Test Product (Beta).lnk"));
    EXPECT_FALSE(FolderExists(programs_ + u"Vorn Test Company\\Vorn Test Product"));
    // The company folder of the Programs menu went with its last group.
    EXPECT_FALSE(FolderExists(programs_ + u"Vorn Test Company"));
    EXPECT_FALSE(FileExists(folder_ + u"\\Data\\notes.dat"));
    EXPECT_FALSE(FileExists(folder_ + u"\\ReadMe.txt"));
    EXPECT_FALSE(FolderExists(folder_ + u"\\Data"));
    // What the lists named outside the installation is still there.
    EXPECT_TRUE(FileExists(root_ + u"outside.txt"));
    EXPECT_TRUE(FileExists(root_ + u"keep.doc"));
  }

  void ExpectStillInstalled() {
    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kEntry));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, u".vtpdoc"));
    EXPECT_TRUE(FileExists(desktop_ + u"Vorn Test Product (Beta).lnk"));
    EXPECT_TRUE(FileExists(folder_ + u"\\Data\\notes.dat"));
    EXPECT_TRUE(FileExists(program_));
  }

  String root_;
  String folder_;
  String program_;
  String log_;
  String programs_;
  String desktop_;
  HANDLE running_ = nullptr;
  test::XmlPackage package_;
  PackageFileSystem files_;
  std::unique_ptr<ResourceManager> resources_;
  InstallationSettings settings_;
};

TEST_F(InstalledProductTest, InstallingRanTheProductsOwnRegistration) {
  EXPECT_EQ(ReadRegistryValue(HKEY_CLASSES_ROOT, u".vtpdoc", nullptr).text,
            L"Vorn Test Product.vtpdoc");
  EXPECT_EQ(ReadRegistryValue(HKEY_CLASSES_ROOT, u"Vorn Test Product.vtpdoc\\shell\\open\\command",
                              nullptr)
                .text,
            L"\"" + std::wstring(Wide(program_)) + L"\" \"%1\"");
  EXPECT_EQ(
      ReadRegistryValue(HKEY_CLASSES_ROOT, u"vorntestproduct\\shell\\open\\command", nullptr).text,
      L"\"" + std::wstring(Wide(program_)) + L"\" /Open=\"%1\"");
  EXPECT_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, kAppPaths, nullptr).text, Wide(program_));
}

TEST_F(InstalledProductTest, ConfirmedUninstallRemovesEverythingAndTheBatchTheRest) {
  EXPECT_EQ(RunProduct(L"/Uninstall", L"yes"), 0u);
  EXPECT_EQ(PromptLog(), "UninstallConfirmation|" + kTitle + "\nUninstallSucceed|" + kTitle + "\n");
  ExpectRegistrationGone();
  // The batch waits for the program to end, then removes it and the folder.
  EXPECT_TRUE(GoneWithin(program_, 60));
  EXPECT_TRUE(GoneWithin(folder_, 30));
}

TEST_F(InstalledProductTest, DeclinedUninstallRemovesNothing) {
  EXPECT_EQ(RunProduct(L"/Uninstall", L"no"), 8u);
  EXPECT_EQ(PromptLog(), "UninstallConfirmation|" + kTitle + "\n");
  ExpectStillInstalled();
  // Update without Quiet asks too.
  EXPECT_EQ(RunProduct(L"/Update", L"no"), 8u);
  ExpectStillInstalled();
}

TEST_F(InstalledProductTest, QuietUninstallAsksNothingAndStillStartsTheBatch) {
  EXPECT_EQ(RunProduct(L"-uninstall /Quiet", L"yes"), 0u);
  EXPECT_EQ(PromptLog(), "");
  ExpectRegistrationGone();
  EXPECT_TRUE(GoneWithin(program_, 60));
  EXPECT_TRUE(GoneWithin(folder_, 30));
}

TEST_F(InstalledProductTest, QuietUpdateLeavesProgramAndFolderEvenWhileTheProductRuns) {
  StartRunningProduct();
  EXPECT_EQ(RunProduct(L"/Quiet /Update", L"yes"), 0u);
  EXPECT_EQ(PromptLog(), "");
  ExpectRegistrationGone();
  StopRunningProduct();
  // No batch: the program and its folder are the newer installer's to replace.
  Sleep(3000);
  EXPECT_TRUE(FileExists(program_));
  EXPECT_TRUE(FolderExists(folder_));
}

TEST_F(InstalledProductTest, WithoutAnEntryTheProductIsNotInstalled) {
  SHDeleteKeyW(HKEY_LOCAL_MACHINE, Wide(kEntry));
  EXPECT_EQ(RunProduct(L"/Uninstall", L"yes"), 4u);
  EXPECT_EQ(PromptLog(), "NotInstalled|" + kTitle + "\n");
  EXPECT_TRUE(FileExists(program_));
  EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, u".vtpdoc"));
}

TEST_F(InstalledProductTest, ARunningProductIsNotUninstalled) {
  StartRunningProduct();
  EXPECT_EQ(RunProduct(L"/Uninstall", L"yes"), 14u);
  EXPECT_EQ(PromptLog(), "CloseBeforeUninstall|Vorn Test Product\n");
  StopRunningProduct();
  ExpectStillInstalled();
}

TEST_F(InstalledProductTest, FileTypeSwitchesRemoveAndRestoreTheRegistration) {
  EXPECT_EQ(RunProduct(L"/UnregisterFileTypes", nullptr), 0u);
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, u".vtpdoc"));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, u"vorntestproduct"));
  EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kAppPaths));
  // Nothing left to remove: the failure is the exit code.
  EXPECT_EQ(RunProduct(L"/UnregisterFileTypes", nullptr), 29u);
  EXPECT_EQ(RunProduct(L"/RegisterFileTypes", nullptr), 0u);
  EXPECT_EQ(ReadRegistryValue(HKEY_CLASSES_ROOT, u".vtpdoc", nullptr).text,
            L"Vorn Test Product.vtpdoc");
  // Two switches: both run, the last one's result is the exit code.
  EXPECT_EQ(RunProduct(L"/UnregisterFileTypes /Install", nullptr), 0u);
  EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, u".vtpdoc"));
}

TEST_F(InstalledProductTest, WithoutRightsTheRegistrationRunsInAnElevatedCopy) {
  ASSERT_EQ(RunProduct(L"/UnregisterFileTypes", nullptr), 0u);
  FileTypeOwner owner;
  owner.resources = resources_.get();
  owner.program_path = program_;
  owner.name = test::kProductName;
  owner.elevated = false;
  // The copy registers the types it declares itself; its result comes back.
  EXPECT_EQ(RegisterFileTypes(owner, true, true), kOk);
  EXPECT_EQ(ReadRegistryValue(HKEY_CLASSES_ROOT, u".vtpdoc", nullptr).text,
            L"Vorn Test Product.vtpdoc");
  EXPECT_EQ(RegisterFileTypes(owner, false, true), kOk);
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, u".vtpdoc"));
  EXPECT_EQ(RegisterFileTypes(owner, false, true), kNotFound);
}

TEST_F(InstalledProductTest, WithoutAPromptTheUninstallationRunsAsAQuietOne) {
  EXPECT_EQ(RunProduct(L"/Uninstall", nullptr), 0u);
  EXPECT_EQ(PromptLog(), "");
  ExpectRegistrationGone();
  EXPECT_TRUE(GoneWithin(folder_, 60));
}

}  // namespace
}  // namespace vorn
