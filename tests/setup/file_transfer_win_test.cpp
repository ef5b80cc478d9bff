// The transfer page as the installer shows it: its own description and
// texts, in a host window that receives the setup actions, installing a
// test package into the Wine prefix's file system and registry. The
// package is read through a gate, so that a test can hold the copy midway
// to look at the page or to answer the cancel question while it runs.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <gtest/gtest.h>
#include <objbase.h>
#include <shlwapi.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "application/application_core.h"
#include "application/support/windows_helpers.h"
#include "application/user_prompt.h"
#include "foundation/folder.h"
#include "foundation/special_folder.h"
#include "resources/preferences.h"
#include "setup/file_transfer_page.h"
#include "setup/setup_action.h"
#include "setup/support/transfer_package.h"
#include "setup/support/xml_package.h"
#include "ui/installer_controls.h"
#include "ui/main_window.h"
#include "ui/support/message_box_watcher_win.h"
#include "ui/support/message_pump_win.h"
#include "ui/window_services.h"

namespace vorn {
namespace {

using test::FromAscii;
using test::FromWide;
using test::Utf8;
using test::Wide;

constexpr uint64_t kMiB = 1048576;
constexpr const char* kUuid = "7C2E3F49-1D5F-4B83-8E40-9F6D1C2B3A58";
constexpr const wchar_t* kEntry =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    L"{7C2E3F49-1D5F-4B83-8E40-9F6D1C2B3A58}";
constexpr const char* kCompany = "Vorn Transfer Co";

// The main window's part: a header band like the installer's, and the
// setup actions it receives. A quit request closes it, which asks the page.
const char kHostXml[] =
    "<Resources>\n"
    "  <Window ID='TransferHost' Type='MainDialogBox' Title='Vorn Test Product Setup'"
    "          Font='{Default}' ClientWidth='330dlu' ClientHeight='234dlu'>\n"
    "    <Static ID='Header' BackgroundColor='WindowBackground' Left='0' Top='0'"
    "            Width='Parent.Width' Height='34dlu'>\n"
    "      <Static ID='Text' Font='{Default},Bold,*1.35' VerticalAlign='Center'"
    "              Left='8dlu' Right='Parent.Width-11dlu' Top='0' Height='Parent.Height-2'>"
    "Vorn Test Product 2.5</Static>\n"
    "      <Separator ID='Separator' Left='0' Width='Parent.Width' Top='Parent.Height-2'/>\n"
    "    </Static>\n"
    "  </Window>\n"
    "</Resources>\n";

class HostWindow : public MainWindow {
 public:
  bool HandleMessage(WindowMessage& message) noexcept override {
    if (message.message == kSetupActionMessage) {
      actions.push_back(static_cast<uint32_t>(message.wparam));
      if (message.wparam == static_cast<uintptr_t>(SetupAction::QuitSetup)) Close();
      message.result = 0;
      return true;
    }
    return MainWindow::HandleMessage(message);
  }
  bool HasOutcome() const {
    for (uint32_t action : actions) {
      if (action <= static_cast<uint32_t>(SetupAction::ShowSuccess)) return true;
    }
    return false;
  }
  std::vector<uint32_t> actions;
};

class AnsweringPrompt : public UserPrompt {
 public:
  PromptAnswer Show(const char16_t* message, const String& argument) noexcept override {
    asked.push_back(Utf8(String(message) + u"|" + argument));
    return answer ? answer() : PromptAnswer::kNo;
  }
  std::vector<std::string> asked;
  std::function<PromptAnswer()> answer;
};

std::vector<uint8_t> SourceFile(const std::string& name) {
  std::ifstream file(std::string(VORN_PACKAGE_DATA) + "/Data/Xml/" + name, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

std::wstring WindowText(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

// The file's size and last-write time, or -1 when it is missing.
struct FileFacts {
  int64_t size = -1;
  FILETIME written{};
};

FileFacts Facts(const String& path) {
  FileFacts facts;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(Wide(path), GetFileExInfoStandard, &data)) return facts;
  facts.size = (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  facts.written = data.ftLastWriteTime;
  return facts;
}

uint64_t FileTimeOf(int64_t unix_seconds) {
  return static_cast<uint64_t>(unix_seconds) * 10000000ull + 116444736000000000ull;
}

class FileTransferPageWinTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
  }
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ApplicationCore::Get().Description().name = u"Vorn Transfer Test";
    ASSERT_EQ(RegisterInstallerControls(), kOk);
    SetUiPlatform(nullptr);
    root_ = test::TemporaryFolder() +
            FromAscii("vorn-transfer-" + std::to_string(GetCurrentProcessId())) + u"\\";
    GetSpecialFolder(kProgramsMenuFolder, programs_);
    RemoveEverything();
    ASSERT_EQ(Folder::Create(root_.Text()), kOk);
    Preferences::Instance().SetBool(u"/User/Global/InstallOptions/CreateDesktopShortcut", false);
    Preferences::Instance().SetBool(u"/User/Global/InstallOptions/CreateQuickLaunchShortcut",
                                    false);
    SetUserPrompt(&prompt_);
  }
  void TearDown() override {
    if (page_) page_->Destroy();
    host_.Destroy();
    page_.reset();
    SetUserPrompt(nullptr);
    SetUiResources(nullptr);
    if (product_) {
      for (uint32_t i = 0; i < product_->settings.created_shortcuts.Count(); ++i) {
        DeleteFileW(Wide(product_->settings.created_shortcuts[i]));
      }
    }
    RemoveEverything();
    product_.reset();
    CoUninitialize();
  }
  void RemoveEverything() {
    // A read-only file left by a test must not keep its folder.
    SetFileAttributesW(Wide(InstallFolder() + u"\\bin\\locked.dll"), FILE_ATTRIBUTE_NORMAL);
    Folder::Remove(root_.Text(), Folder::kRemoveWithShell);
    Folder::Remove(String(programs_ + FromAscii(kCompany) + u"\\").Text(),
                   Folder::kRemoveWithShell);
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, kEntry);
  }

  String InstallFolder() const { return root_ + FromAscii(kCompany) + u"\\Product"; }
  String Installed(const char* relative) const {
    return InstallFolder() + u"\\" + FromAscii(relative);
  }

  test::TransferPackage& Package() {
    if (!product_) product_ = std::make_unique<test::InstallableProduct>();
    return product_->package;
  }

  // The settings from the package, the toolkit reading the installer's own
  // descriptions and texts from it.
  InstallationSettings& Prepare() {
    test::TransferPackage& package = Package();
    package.AddDocument(u"Data/Xml/Dialogs.xml", SourceFile("Dialogs.xml"));
    package.AddDocument(u"Data/Xml/VornSetup-Strings-en.xml",
                        SourceFile("VornSetup-Strings-en.xml"));
    package.AddDocument(u"Data/Xml/VornLib-Strings-en.xml", SourceFile("VornLib-Strings-en.xml"));
    package.AddDocument(u"Data/Xml/Host.xml",
                        std::vector<uint8_t>(kHostXml, kHostXml + sizeof kHostXml - 1));
    test::SettingsText text;
    text.uuid = kUuid;
    text.company = kCompany;
    text.tag = "";
    package.AddSettings(text);
    EXPECT_EQ(product_->Prepare({u"Data/Xml/Dialogs.xml", u"Data/Xml/VornSetup-Strings-en.xml",
                                 u"Data/Xml/VornLib-Strings-en.xml", u"Data/Xml/Host.xml"}),
              kOk);
    SetUiResources(product_->resources.get());
    InstallationSettings& settings = product_->settings;
    settings.install_folder = InstallFolder();
    settings.program_group = FromAscii(std::string(kCompany) + "\\Product");
    return settings;
  }

  // The host with the page in it, as the main window switches to it: the
  // worker starts at once.
  void ShowPage() {
    ASSERT_EQ(host_.LoadDescription(u"TransferHost"), kOk);
    ASSERT_EQ(host_.Create(nullptr), kOk);
    ShowWindow(Handle(host_), SW_SHOW);
    page_ = std::make_unique<FileTransferPage>(product_->settings, product_->files);
    page_->SetOwnedByParent(false);
    page_->Attach(&host_);
    ASSERT_EQ(page_->LoadDescription(u"FileTransferPage"), kOk);
    ASSERT_EQ(page_->Create(nullptr), kOk);
    ShowWindow(Handle(*page_), SW_SHOW);
    test::PumpWindowMessages();
  }

  // Pumps the host's messages until the worker has posted its outcome.
  uint32_t WaitForOutcome() {
    for (int i = 0; i < 6000 && !host_.HasOutcome(); ++i) {
      test::PumpWindowMessages();
      Sleep(10);
    }
    for (int i = 0; i < 500 && page_->WorkerRunning(); ++i) Sleep(10);
    test::PumpWindowMessages();
    for (uint32_t action : host_.actions) {
      if (action <= static_cast<uint32_t>(SetupAction::ShowSuccess)) return action;
    }
    return 99;
  }
  // Pumps until `done` holds (ten seconds at most).
  bool PumpUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 1000; ++i) {
      test::PumpWindowMessages();
      if (done()) return true;
      Sleep(10);
    }
    return false;
  }

  static HWND Handle(const Window& window) { return static_cast<HWND>(window.Handle()); }
  HWND Control(const char16_t* name) const {
    Window* control = page_->FindChild(WindowIdOf(name));
    return control != nullptr ? Handle(*control) : nullptr;
  }
  void ClickCancel() {
    SendMessageW(Control(u"CancelCmd"), BM_CLICK, 0, 0);
    test::PumpWindowMessages();
  }

  bool EntryExists() const { return test::RegistryKeyExists(HKEY_LOCAL_MACHINE, FromWide(kEntry)); }
  // Nothing of the product: no install folder, no company folder, no entry.
  void ExpectNothingLeft() {
    EXPECT_FALSE(test::FolderExists(InstallFolder()));
    EXPECT_FALSE(test::FolderExists(root_ + FromAscii(kCompany)));
    EXPECT_FALSE(EntryExists());
    EXPECT_TRUE(test::FolderExists(root_));
  }

  String root_;
  String programs_;
  std::unique_ptr<test::InstallableProduct> product_;
  AnsweringPrompt prompt_;
  HostWindow host_;
  std::unique_ptr<FileTransferPage> page_;
};

TEST_F(FileTransferPageWinTest, FullInstallationCopiesEveryFileAndEndsOnSuccess) {
  Package().AddProductFile("Product.exe", 1000);
  Package().AddProductFile("bin/big.bin", 10 * kMiB);
  Package().AddProductFile("bin/docs/readme.txt", 500);
  Prepare();
  // An older file in the way is replaced.
  ASSERT_EQ(Folder::Create(InstallFolder().Text()), kOk);
  ASSERT_TRUE(test::WriteSmallFile(Installed("Product.exe"), "an older, different product"));
  ShowPage();

  EXPECT_EQ(WaitForOutcome(), static_cast<uint32_t>(SetupAction::ShowSuccess));
  EXPECT_EQ(page_->WorkerResult(), kOk);
  EXPECT_EQ(page_->Transfer().State(), TransferState::kClosed);
  const uint64_t date = FileTimeOf(test::kProductFileUnixTime);
  for (const auto& [name, size] : {std::pair<const char*, uint64_t>{"Product.exe", 1000},
                                   {"bin/big.bin", 10 * kMiB},
                                   {"bin/docs/readme.txt", 500}}) {
    const FileFacts facts = Facts(Installed(name));
    EXPECT_EQ(facts.size, static_cast<int64_t>(size)) << name;
    const uint64_t written =
        (static_cast<uint64_t>(facts.written.dwHighDateTime) << 32) | facts.written.dwLowDateTime;
    EXPECT_EQ(written, date) << name;
  }
  std::string content = test::ReadWholeFile(Installed("Product.exe"));
  EXPECT_EQ(std::vector<uint8_t>(content.begin(), content.end()),
            test::ProductFileContent("Product.exe", 1000));
  // The page's last figures; the installation recorded.
  EXPECT_EQ(WindowText(Control(u"ProgressionLabel")), L"100% complete");
  EXPECT_EQ(WindowText(Control(u"ProgressionTime")).rfind(L"Time remaining: ", 0), 0u);
  EXPECT_EQ(SendMessageW(Control(u"ProgressBar"), PBM_GETPOS, 0, 0), 16384);
  EXPECT_EQ(
      test::ReadRegistryValue(HKEY_LOCAL_MACHINE, FromWide(kEntry) + u"\\FilesList", L"2").text,
      L"bin/docs/readme.txt");
  // Once the worker has ended the page lets the window close.
  EXPECT_TRUE(page_->MayClose());
  EXPECT_TRUE(prompt_.asked.empty());
}

TEST_F(FileTransferPageWinTest, WorkerReportsATenMebibyteFileInThreeChunks) {
  Package().AddProductFile("big.bin", 10 * kMiB);
  InstallationSettings& settings = Prepare();
  struct Counter : TransferObserver {
    void TransferStarted(uint64_t total) noexcept override { started = total; }
    void TransferProgressed(uint64_t done) noexcept override { reports.push_back(done); }
    uint64_t started = 0;
    std::vector<uint64_t> reports;
  } counter;
  FileTransfer transfer(settings, product_->files);
  transfer.SetObserver(&counter);
  EXPECT_EQ(transfer.RunJob(), kOk);
  EXPECT_EQ(counter.started, 10 * kMiB);
  EXPECT_EQ(counter.reports, (std::vector<uint64_t>{4 * kMiB, 8 * kMiB, 10 * kMiB}));
  EXPECT_EQ(Facts(Installed("big.bin")).size, static_cast<int64_t>(10 * kMiB));
}

TEST_F(FileTransferPageWinTest, NothingToCopyShowsNoPercentageAndAnUnknownTime) {
  Package().AddProductFile("empty.txt", 0);
  Prepare();
  ShowPage();
  EXPECT_EQ(WaitForOutcome(), static_cast<uint32_t>(SetupAction::ShowSuccess));
  EXPECT_EQ(WindowText(Control(u"ProgressionLabel")), L"");
  EXPECT_EQ(WindowText(Control(u"ProgressionTime")), L"Time remaining: ?");
  EXPECT_EQ(SendMessageW(Control(u"ProgressBar"), PBM_GETPOS, 0, 0), 0);
  EXPECT_EQ(Facts(Installed("empty.txt")).size, 0);
}

TEST_F(FileTransferPageWinTest, CancelAnsweredNoLetsTheCopyGoOnAndSucceed) {
  Package().AddProductFile("Product.exe", 2 * kMiB);
  Package().AddProductFile("bin/big.bin", 12 * kMiB);
  Package().AddProductFile("bin/last.txt", 100);
  Prepare();
  // The copy stops after the first file and one chunk of the second.
  Package().Gate().SetBudget(6 * kMiB + 65536);
  ShowPage();
  ASSERT_TRUE(PumpUntil([&] { return Package().Gate().IsWaiting(); }));
  PumpUntil([&] { return WindowText(Control(u"ProgressionLabel")) == L"43% complete"; });
  EXPECT_EQ(WindowText(Control(u"ProgressionLabel")), L"43% complete");
  const std::wstring time_text = WindowText(Control(u"ProgressionTime"));
  EXPECT_EQ(time_text.rfind(L"Time remaining: ", 0), 0u);
  EXPECT_NE(time_text, L"Time remaining: ?");
  const LRESULT position = SendMessageW(Control(u"ProgressBar"), PBM_GETPOS, 0, 0);
  EXPECT_NEAR(position, 6 * 16384 / 14, 2);
  UpdateWindow(Handle(host_));
  Sleep(200);
  test::PumpWindowMessages();
  test::SaveScreenshot(Handle(host_), "transfer-page-midway.png");

  // While the question is open the copy runs to its end, then waits for
  // the answer.
  bool held = false;
  prompt_.answer = [&] {
    EXPECT_EQ(page_->Transfer().State(), TransferState::kConfirmingCancel);
    Package().Gate().SetBudget(test::GatedStream::kUnlimited);
    for (int i = 0; i < 1000 && Facts(Installed("bin/last.txt")).size != 100; ++i) Sleep(10);
    Sleep(200);
    held = page_->Transfer().State() == TransferState::kConfirmingCancel && !host_.HasOutcome();
    return PromptAnswer::kNo;
  };
  ClickCancel();
  EXPECT_EQ(prompt_.asked, (std::vector<std::string>{"CancelConfirmation|Vorn Test Product"}));
  EXPECT_TRUE(held);
  ASSERT_TRUE(host_.Exists());
  EXPECT_EQ(WaitForOutcome(), static_cast<uint32_t>(SetupAction::ShowSuccess));
  EXPECT_EQ(host_.actions.front(), static_cast<uint32_t>(SetupAction::QuitSetup));
  EXPECT_EQ(Facts(Installed("bin/big.bin")).size, static_cast<int64_t>(12 * kMiB));
  EXPECT_EQ(Facts(Installed("bin/last.txt")).size, 100);
  EXPECT_TRUE(EntryExists());
}

TEST_F(FileTransferPageWinTest, CancelAnsweredYesRemovesEverythingWritten) {
  Package().AddProductFile("Product.exe", 2 * kMiB);
  Package().AddProductFile("bin/big.bin", 12 * kMiB);
  Prepare();
  Package().Gate().SetBudget(6 * kMiB + 65536);
  ShowPage();
  ASSERT_TRUE(PumpUntil([&] { return Package().Gate().IsWaiting(); }));
  EXPECT_TRUE(test::FileExists(Installed("Product.exe")));
  prompt_.answer = [] { return PromptAnswer::kYes; };
  ClickCancel();
  // The close was refused; the copy stops after the chunk it is on.
  EXPECT_TRUE(host_.Exists());
  EXPECT_EQ(page_->Transfer().State(), TransferState::kCancelRequested);
  Package().Gate().SetBudget(test::GatedStream::kUnlimited);
  EXPECT_EQ(WaitForOutcome(), static_cast<uint32_t>(SetupAction::ShowCanceled));
  EXPECT_EQ(page_->WorkerResult(), kCancelled);
  ExpectNothingLeft();
}

TEST_F(FileTransferPageWinTest, TargetThatCannotBeReplacedFailsAndLeavesNothingOfTheProduct) {
  Package().AddProductFile("Product.exe", 3000);
  Package().AddProductFile("bin/locked.dll", 100);
  Prepare();
  ASSERT_EQ(Folder::Create(String(InstallFolder() + u"\\bin").Text()), kOk);
  ASSERT_TRUE(test::WriteSmallFile(Installed("bin/locked.dll"), "someone else's"));
  // Read-only, and held open by another program. Windows refuses to replace
  // either; Wine run by root writes through the read-only attribute, but
  // honours the open file.
  ASSERT_TRUE(SetFileAttributesW(Wide(Installed("bin/locked.dll")), FILE_ATTRIBUTE_READONLY));
  HANDLE holder = CreateFileW(Wide(Installed("bin/locked.dll")), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  ShowPage();
  const uint32_t outcome = WaitForOutcome();
  CloseHandle(holder);
  EXPECT_EQ(outcome, static_cast<uint32_t>(SetupAction::ShowFailure));
  EXPECT_TRUE(page_->WorkerResult() == kAccessDenied || page_->WorkerResult() == kInUse)
      << page_->WorkerResult();
  EXPECT_FALSE(test::FileExists(Installed("Product.exe")));
  EXPECT_EQ(test::ReadWholeFile(Installed("bin/locked.dll")), "someone else's");
  EXPECT_FALSE(EntryExists());
}

TEST_F(FileTransferPageWinTest, ListEntryOutsideTheInstallFolderIsRefusedBeforeAnyCopy) {
  Package().AddProductFile("Product.exe", 100);
  Package().AddProductFile("..\\..\\escape.txt", 10, /*in_archive=*/false);
  Prepare();
  ShowPage();
  EXPECT_EQ(WaitForOutcome(), static_cast<uint32_t>(SetupAction::ShowFailure));
  EXPECT_EQ(page_->WorkerResult(), kInvalidContent);
  ExpectNothingLeft();
  EXPECT_FALSE(test::FileExists(root_ + u"escape.txt"));
  // Nothing started: no percentage, no time.
  EXPECT_EQ(WindowText(Control(u"ProgressionLabel")), L"");
}

TEST_F(FileTransferPageWinTest, PreviousInstallationIsRemovedQuietlyFirst) {
  Package().AddProductFile("Product.exe", 100);
  InstallationSettings& settings = Prepare();
  // An older version elsewhere, with its data archive and a folder left empty.
  const String old_folder = root_ + u"Old Place\\";
  ASSERT_EQ(Folder::Create(String(old_folder + u"Empty").Text()), kOk);
  wchar_t module[MAX_PATH];
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  String recorder = FromWide(module);
  recorder = recorder.Left(static_cast<uint32_t>(recorder.Find(u"setup_win_tests.exe"))) +
             u"argument_recorder.exe";
  ASSERT_TRUE(CopyFileW(Wide(recorder), Wide(old_folder + u"Old.exe"), FALSE));
  ASSERT_TRUE(test::WriteSmallFile(old_folder + u"Levels.dat", "data"));
  ASSERT_TRUE(test::WriteSmallFile(old_folder + u"Levels.DAT.txt", "kept"));
  ASSERT_TRUE(test::WriteSmallFile(old_folder + u"Upper.DAT", "kept: case counts"));
  HKEY key = nullptr;
  ASSERT_EQ(
      RegCreateKeyExW(HKEY_LOCAL_MACHINE, kEntry, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
      ERROR_SUCCESS);
  const std::wstring program = std::wstring(Wide(old_folder)) + L"Old.exe";
  RegSetValueExW(key, L"VornLib.UninstallProgram", 0, REG_SZ,
                 reinterpret_cast<const BYTE*>(program.c_str()),
                 static_cast<DWORD>((program.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  const String log = root_ + u"arguments.txt";
  SetEnvironmentVariableW(L"VORN_RECORDER_LOG", Wide(log));

  FileTransfer transfer(settings, product_->files);
  EXPECT_EQ(transfer.RunJob(), kOk);
  SetEnvironmentVariableW(L"VORN_RECORDER_LOG", nullptr);

  const std::string recorded = test::ReadWholeFile(log);
  std::wstring line(reinterpret_cast<const wchar_t*>(recorded.data()),
                    recorded.size() / sizeof(wchar_t));
  EXPECT_NE(line.find(L"/Quiet /Update"), std::wstring::npos) << Utf8(FromWide(line.c_str()));
  EXPECT_FALSE(test::FileExists(old_folder + u"Old.exe"));
  EXPECT_FALSE(test::FileExists(old_folder + u"Levels.dat"));
  EXPECT_TRUE(test::FileExists(old_folder + u"Levels.DAT.txt"));
  EXPECT_TRUE(test::FileExists(old_folder + u"Upper.DAT"));
  EXPECT_FALSE(test::FolderExists(old_folder + u"Empty"));
  EXPECT_TRUE(test::FileExists(Installed("Product.exe")));
  // The new installation's entry replaces the old one's.
  EXPECT_EQ(
      test::ReadRegistryValue(HKEY_LOCAL_MACHINE, FromWide(kEntry), L"VornLib.UninstallProgram")
          .text,
      std::wstring(Wide(Installed("Product.exe"))));
}

}  // namespace
}  // namespace vorn
