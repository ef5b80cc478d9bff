#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "application/support/windows_helpers.h"
#include "foundation/folder.h"
#include "foundation/special_folder.h"
#include "package/package_file_system.h"
#include "resources/preferences.h"
#include "resources/resource_manager.h"
#include "setup/installation_settings.h"
#include "setup/support/settings_documents.h"
#include "setup/support/xml_package.h"
#include "setup/system_registration.h"

namespace vorn {
namespace {

using test::FromWide;
using test::ReadRegistryValue;
using test::RegistryValue;
using test::Utf8;
using test::Wide;

constexpr const char16_t* kUuid = u"6B1D2F38-0C4E-4A72-9D3F-8E5C0B1A2F47";
constexpr const wchar_t* kEntry =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    L"{6B1D2F38-0C4E-4A72-9D3F-8E5C0B1A2F47}";

struct ShortcutRead {
  std::wstring path;
  std::wstring description;
};

ShortcutRead ReadShortcut(const String& link_path) {
  ShortcutRead read;
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link)))) {
    return read;
  }
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(Wide(link_path), STGM_READ))) {
    wchar_t buffer[MAX_PATH] = {};
    if (SUCCEEDED(link->GetPath(buffer, MAX_PATH, nullptr, 0))) read.path = buffer;
    wchar_t description[INFOTIPSIZE] = {};
    if (SUCCEEDED(link->GetDescription(description, INFOTIPSIZE))) read.description = description;
  }
  if (file != nullptr) file->Release();
  link->Release();
  return read;
}

// An installation made from test documents into a folder of the
// temporary folder; everything it records is removed afterwards.
class SystemRegistrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    root_ = test::TemporaryFolder() +
            test::FromAscii("vorn-registration-" + std::to_string(GetCurrentProcessId()));
    GetSpecialFolder(kProgramsMenuFolder, programs_);
    GetSpecialFolder(kUserDesktopFolder, desktop_);
    GetSpecialFolder(kQuickLaunchFolder, quick_launch_);
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, kEntry);
  }

  void TearDown() override {
    if (settings_ != nullptr) {
      for (uint32_t i = 0; i < settings_->created_shortcuts.Count(); ++i) {
        DeleteFileW(Wide(settings_->created_shortcuts[i]));
      }
    }
    Folder::Remove(String(programs_ + u"Vorn Registration Co\\").Text(), Folder::kRemoveWithShell);
    Folder::Remove(String(root_ + u"\\").Text(), Folder::kRemoveWithShell);
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, kEntry);
    settings_.reset();
    resources_.reset();
    files_.reset();
    CoUninitialize();
  }

  InstallationSettings& Build(test::SettingsText text, const std::string& file_list) {
    text.uuid = Utf8(kUuid);
    text.company = "Vorn Registration Co";
    package_.Add(u"Data/Xml/Configuration.xml", test::ConfigurationXml(text));
    package_.Add(u"Data/Xml/FileList.xml", file_list);
    package_.Add(u"Data/Xml/Strings-en.xml",
                 test::EnglishStrings("<String ID=\"ProductDescription\">Registered product"
                                      "</String><String ID=\"ReadMe\">Read me first</String>"
                                      "<String ID=\"ReadMeHelp\">The notes</String>"));
    files_ = std::make_unique<PackageFileSystem>();
    EXPECT_EQ(package_.MountIn(*files_), kOk);
    resources_ = std::make_unique<ResourceManager>(*files_);
    for (const char16_t* document :
         {u"Data/Xml/Configuration.xml", u"Data/Xml/FileList.xml", u"Data/Xml/Strings-en.xml"}) {
      EXPECT_EQ(resources_->RegisterDocument(document), kOk);
    }
    settings_ = std::make_unique<InstallationSettings>();
    settings_->Build(*resources_);
    settings_->install_folder = root_ + u"\\Product";
    settings_->program_group = u"Vorn Registration Co\\Registered";
    return *settings_;
  }

  static void SetShortcutOptions(bool desktop, bool quick_launch) {
    Preferences::Instance().SetBool(u"/User/Global/InstallOptions/CreateDesktopShortcut", desktop);
    Preferences::Instance().SetBool(u"/User/Global/InstallOptions/CreateQuickLaunchShortcut",
                                    quick_launch);
  }

  static std::vector<std::wstring> ListValues(const wchar_t* list) {
    std::vector<std::wstring> values;
    const String key = FromWide(kEntry) + u"\\" + FromWide(list);
    for (int i = 0;; ++i) {
      const RegistryValue value =
          ReadRegistryValue(HKEY_LOCAL_MACHINE, key, std::to_wstring(i).c_str());
      if (value.type != REG_SZ) break;
      values.push_back(value.text);
    }
    return values;
  }

  String root_;
  String programs_;
  String desktop_;
  String quick_launch_;
  test::XmlPackage package_;
  std::unique_ptr<PackageFileSystem> files_;
  std::unique_ptr<ResourceManager> resources_;
  std::unique_ptr<InstallationSettings> settings_;
};

const std::string kThreeFiles =
    test::FileListXml("Product/", test::FileXml("Product.exe", 1048576) + "<Files Path=\"Data/\">" +
                                      test::FileXml("notes.txt", 1000) + "</Files>" +
                                      test::FileXml("ReadMe.txt", 24));

TEST_F(SystemRegistrationTest, TheUninstallEntryHoldsEveryValueWithItsType) {
  test::SettingsText text;
  text.tag.clear();
  text.shortcuts = "<Shortcut Text=\"#ReadMe\" Help=\"#ReadMeHelp\">ReadMe.txt</Shortcut>";
  InstallationSettings& settings = Build(text, kThreeFiles);
  SetShortcutOptions(false, false);
  ASSERT_EQ(RegisterInstallation(settings), kOk);

  const std::wstring folder = Wide(settings.install_folder);
  SYSTEMTIME today;
  GetLocalTime(&today);
  wchar_t date[16];
  swprintf(date, 16, L"%04u%02u%02u", today.wYear, today.wMonth, today.wDay);
  struct Expected {
    const wchar_t* name;
    DWORD type;
    std::wstring text;
    DWORD number;
  };
  const std::vector<Expected> expected = {
      {L"UninstallString", REG_SZ, L"\"" + folder + L"\\Product.exe\" /Uninstall", 0},
      {L"DisplayName", REG_SZ, L"Vorn Test Product", 0},
      {L"Contact", REG_SZ, L"contact@vorn.example", 0},
      {L"Comments", REG_SZ, L"Registered product", 0},
      {L"DisplayIcon", REG_SZ, folder + L"\\Product.exe", 0},
      {L"DisplayVersion", REG_SZ, L"2.5 ", 0},  // the blank stays without a Tag
      {L"Publisher", REG_SZ, L"Vorn Registration Co", 0},
      {L"HelpLink", REG_SZ, L"https://vorn.example/", 0},
      {L"URLInfoAbout", REG_SZ, L"https://vorn.example/support", 0},
      {L"URLUpdateInfo", REG_SZ, L"https://vorn.example/updates", 0},
      {L"Size", REG_SZ, L"", 0},
      {L"InstallDate", REG_SZ, date, 0},
      {L"InstallLocation", REG_SZ, folder + L"\\", 0},
      {L"EstimatedSize", REG_DWORD, L"", 1025},  // 1,049,600 bytes
      {L"NoModify", REG_DWORD, L"", 1},
      {L"NoRepair", REG_DWORD, L"", 1},
      {L"VornLib.InstallFolder", REG_SZ, folder, 0},
      {L"VornLib.ProgramGroup", REG_SZ, L"Vorn Registration Co\\Registered", 0},
      {L"VornLib.UninstallProgram", REG_SZ, folder + L"\\Product.exe", 0},
      // For deployment tools: the removal that asks nothing.
      {L"QuietUninstallString", REG_SZ, L"\"" + folder + L"\\Product.exe\" /Uninstall /Quiet", 0},
  };
  HKEY entry = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kEntry, 0, KEY_READ, &entry), ERROR_SUCCESS);
  std::vector<std::wstring> names;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD length = 256;
    if (RegEnumValueW(entry, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    names.push_back(name);
  }
  RegCloseKey(entry);
  // The registry enumerates values in its own order (Wine sorts them by
  // name): the entry holds exactly these values, each with its type.
  std::vector<std::wstring> expected_names;
  for (const Expected& value : expected) expected_names.push_back(value.name);
  std::sort(names.begin(), names.end());
  std::sort(expected_names.begin(), expected_names.end());
  EXPECT_EQ(names, expected_names);
  for (const Expected& wanted : expected) {
    const RegistryValue value =
        ReadRegistryValue(HKEY_LOCAL_MACHINE, FromWide(kEntry), wanted.name);
    EXPECT_EQ(value.type, wanted.type) << Utf8(FromWide(wanted.name));
    if (wanted.type == REG_SZ) {
      EXPECT_EQ(value.text, wanted.text);
    } else {
      EXPECT_EQ(value.number, wanted.number);
    }
  }

  EXPECT_EQ(ListValues(L"FilesList"),
            (std::vector<std::wstring>{L"Product.exe", L"Data/notes.txt", L"ReadMe.txt"}));

  // Both options cleared: the program group's two shortcuts only.
  const String group = programs_ + u"Vorn Registration Co\\Registered\\";
  const std::wstring main_link = Wide(String(group + u"Vorn Test Product.lnk"));
  const std::wstring read_me_link = Wide(String(group + u"Read me first.lnk"));
  EXPECT_EQ(ListValues(L"ShortcutsList"), (std::vector<std::wstring>{main_link, read_me_link}));
  const ShortcutRead main = ReadShortcut(FromWide(main_link.c_str()));
  EXPECT_EQ(main.path, folder + L"\\Product.exe");
  EXPECT_EQ(main.description, L"Registered product");
  const ShortcutRead read_me = ReadShortcut(FromWide(read_me_link.c_str()));
  EXPECT_EQ(read_me.path, folder + L"\\ReadMe.txt");
  EXPECT_EQ(read_me.description, L"The notes");
}

TEST_F(SystemRegistrationTest, DesktopAndQuickLaunchShortcutsFollowTheInstallOptions) {
  InstallationSettings& settings = Build(test::SettingsText(), kThreeFiles);
  ASSERT_EQ(Folder::Create(quick_launch_.Text()), kOk);
  SetShortcutOptions(true, true);
  ASSERT_EQ(RegisterInstallation(settings), kOk);
  const std::wstring name = L"Vorn Test Product (Beta).lnk";
  const std::vector<std::wstring> list = ListValues(L"ShortcutsList");
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[1], Wide(desktop_) + name);
  EXPECT_EQ(list[2], Wide(quick_launch_) + name);
  for (const std::wstring& link : list) {
    const ShortcutRead read = ReadShortcut(FromWide(link.c_str()));
    EXPECT_EQ(read.path, std::wstring(Wide(settings.install_folder)) + L"\\Product.exe");
    EXPECT_EQ(read.description, L"Registered product");
  }

  // Only the desktop one asked for this time.
  for (const std::wstring& link : list) DeleteFileW(link.c_str());
  settings.created_shortcuts.Clear();
  SHDeleteKeyW(HKEY_LOCAL_MACHINE, kEntry);
  SetShortcutOptions(true, false);
  ASSERT_EQ(RegisterInstallation(settings), kOk);
  const std::vector<std::wstring> desktop_only = ListValues(L"ShortcutsList");
  ASSERT_EQ(desktop_only.size(), 2u);
  EXPECT_EQ(desktop_only[1], Wide(desktop_) + name);
  EXPECT_FALSE(test::FileExists(quick_launch_ + u"Vorn Test Product (Beta).lnk"));
}

TEST_F(SystemRegistrationTest, AShortcutWithoutNameFailsTheProgramGroupStep) {
  test::SettingsText text;
  text.shortcuts = "<Shortcut Text=\"\" Help=\"Nameless\">ReadMe.txt</Shortcut>";
  InstallationSettings& settings = Build(text, kThreeFiles);
  SetShortcutOptions(true, false);
  EXPECT_EQ(RegisterInstallation(settings), kInvalidName);
  // The entry and the file list stay; no later step ran.
  EXPECT_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, FromWide(kEntry), L"DisplayName").text,
            L"Vorn Test Product (Beta)");
  EXPECT_EQ(ListValues(L"FilesList").size(), 3u);
  EXPECT_TRUE(ListValues(L"ShortcutsList").empty());
  EXPECT_FALSE(test::FileExists(desktop_ + u"Vorn Test Product (Beta).lnk"));
}

TEST_F(SystemRegistrationTest, CreateShortcutChecksItsArgumentsAndReplacesReadOnlyLinks) {
  InstallationSettings& settings = Build(test::SettingsText(), kThreeFiles);
  ASSERT_EQ(Folder::Create(String(root_ + u"\\Links").Text()), kOk);
  const String links = root_ + u"\\Links";
  EXPECT_EQ(CreateShortcut(settings, String(), u"A", u"C:\\a.exe", nullptr), kInvalidPath);
  EXPECT_EQ(CreateShortcut(settings, links, String(), u"C:\\a.exe", nullptr), kInvalidName);
  EXPECT_EQ(CreateShortcut(settings, links, u"A", String(), nullptr), kInvalidPath);
  EXPECT_EQ(settings.created_shortcuts.Count(), 0u);

  ASSERT_EQ(CreateShortcut(settings, links, u"A", u"C:\\first.exe", nullptr), kOk);
  const String link = links + u"\\A.lnk";
  SetFileAttributesW(Wide(link), FILE_ATTRIBUTE_READONLY);
  ASSERT_EQ(CreateShortcut(settings, links, u"A", u"C:\\second.exe", u"Second"), kOk);
  EXPECT_EQ(ReadShortcut(link).path, L"C:\\second.exe");
  EXPECT_EQ(ReadShortcut(link).description, L"Second");
  ASSERT_EQ(settings.created_shortcuts.Count(), 2u);
  EXPECT_EQ(Utf8(settings.created_shortcuts[1]), Utf8(link));
  // A folder that does not exist cannot take the link.
  EXPECT_EQ(CreateShortcut(settings, root_ + u"\\Missing", u"A", u"C:\\a.exe", nullptr), kFailed);
}

TEST_F(SystemRegistrationTest, ANewInstallerFindsTheRecordedFolderAndGroup) {
  InstallationSettings& settings = Build(test::SettingsText(), kThreeFiles);
  settings.install_folder = root_ + u"\\Chosen Elsewhere";
  settings.program_group = u"Vorn Registration Co\\Chosen Group";
  SetShortcutOptions(false, false);
  ASSERT_EQ(RegisterInstallation(settings), kOk);

  InstallationSettings later;
  later.Build(*resources_);
  EXPECT_EQ(Utf8(later.install_folder), Utf8(settings.install_folder));
  EXPECT_EQ(Utf8(later.program_group), "Vorn Registration Co\\Chosen Group");
}

TEST(InstallDate, IsEightDigits) {
  EXPECT_EQ(Utf8(InstallDateText(2016, 3, 10)), "20160310");
  EXPECT_EQ(Utf8(InstallDateText(987, 12, 1)), "09871201");
}

}  // namespace
}  // namespace vorn
