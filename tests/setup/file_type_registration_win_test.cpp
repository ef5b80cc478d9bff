#include <gtest/gtest.h>
#include <shlwapi.h>

#include <memory>

#include "application/app_paths.h"
#include "application/file_type_registration.h"
#include "application/support/windows_helpers.h"
#include "package/package_file_system.h"
#include "resources/resource_manager.h"
#include "setup/support/settings_documents.h"
#include "setup/support/xml_package.h"

namespace vorn {
namespace {

using test::ReadRegistryValue;
using test::RegistryKeyExists;

constexpr const char16_t* kProgram = u"C:\\Program Files\\Vorn File Types\\vornft.exe";

const std::string kTwoTypesAndAProtocol =
    "<FileTypes>"
    "<FileType Extension=\".vftone\" Description=\"#DocumentType\" IconIndex=\"3\"/>"
    "<Comment Extension=\".vftnot\" Description=\"skipped\"/>"
    "<FileType Extension=\".vfttwo\" Description=\"Second type\"/>"
    "</FileTypes>"
    "<CustomProtocols>"
    "<Protocol Name=\"vornftlink\" Command=\"-url=\" Description=\"#LinkType\" IconIndex=\"2\"/>"
    "</CustomProtocols>";

class FileTypeRegistrationTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const wchar_t* key : {L".vftone", L".vfttwo", L".vftnot", L"VornFT.vftone",
                               L"VornFT.vfttwo", L"vornftlink", L"vftone_auto_file"}) {
      SHDeleteKeyW(HKEY_CLASSES_ROOT, key);
    }
    UnregisterAppPaths(kProgram);
  }

  // The owner's resources: one document with these elements and English
  // strings for the localized descriptions.
  FileTypeOwner Owner(const std::string& elements, bool elevated = true) {
    resources_.reset();
    files_.reset();
    package_ = std::make_unique<test::XmlPackage>();
    package_->Add(u"Data/Xml/Program.xml", "<Resources>" + elements + "</Resources>");
    package_->Add(u"Data/Xml/Strings-en.xml",
                  test::EnglishStrings("<String ID=\"DocumentType\">Vorn document</String>"
                                       "<String ID=\"LinkType\">Vorn link</String>"));
    files_ = std::make_unique<PackageFileSystem>();
    EXPECT_EQ(package_->MountIn(*files_), kOk);
    resources_ = std::make_unique<ResourceManager>(*files_);
    EXPECT_EQ(resources_->RegisterDocument(u"Data/Xml/Program.xml"), kOk);
    EXPECT_EQ(resources_->RegisterDocument(u"Data/Xml/Strings-en.xml"), kOk);
    FileTypeOwner owner;
    owner.resources = resources_.get();
    owner.program_path = kProgram;
    owner.name = u"VornFT";
    owner.elevated = elevated;
    return owner;
  }

  static std::wstring Default(const wchar_t* key) {
    return ReadRegistryValue(HKEY_CLASSES_ROOT, test::FromWide(key), nullptr).text;
  }

 private:
  std::unique_ptr<test::XmlPackage> package_;
  std::unique_ptr<PackageFileSystem> files_;
  std::unique_ptr<ResourceManager> resources_;
};

TEST_F(FileTypeRegistrationTest, RegisteringWritesExtensionsProgIdsProtocolsAndAppPaths) {
  // What the shell made of the extension by itself goes.
  HKEY auto_key = nullptr;
  ASSERT_EQ(RegCreateKeyW(HKEY_CLASSES_ROOT, L"vftone_auto_file", &auto_key), ERROR_SUCCESS);
  RegCloseKey(auto_key);

  ASSERT_EQ(RegisterFileTypes(Owner(kTwoTypesAndAProtocol), true, false), kOk);

  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, u"vftone_auto_file"));
  EXPECT_EQ(Default(L".vftone"), L"VornFT.vftone");
  EXPECT_EQ(Default(L"VornFT.vftone"), L"Vorn document");
  EXPECT_EQ(Default(L"VornFT.vftone\\DefaultIcon"),
            L"\"C:\\Program Files\\Vorn File Types\\vornft.exe\",3");
  EXPECT_EQ(Default(L"VornFT.vftone\\shell\\open\\command"),
            L"\"C:\\Program Files\\Vorn File Types\\vornft.exe\" \"%1\"");
  // No IconIndex: icon 0.
  EXPECT_EQ(Default(L".vfttwo"), L"VornFT.vfttwo");
  EXPECT_EQ(Default(L"VornFT.vfttwo"), L"Second type");
  EXPECT_EQ(Default(L"VornFT.vfttwo\\DefaultIcon"),
            L"\"C:\\Program Files\\Vorn File Types\\vornft.exe\",0");
  // Children of another name are no file types.
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, u".vftnot"));

  const test::RegistryValue url =
      ReadRegistryValue(HKEY_CLASSES_ROOT, u"vornftlink", L"URL Protocol");
  EXPECT_EQ(url.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(url.text, L"");
  EXPECT_EQ(Default(L"vornftlink"), L"URL:Vorn link");
  EXPECT_EQ(Default(L"vornftlink\\DefaultIcon"),
            L"\"C:\\Program Files\\Vorn File Types\\vornft.exe\",2");
  EXPECT_EQ(Default(L"vornftlink\\shell\\open\\command"),
            L"\"C:\\Program Files\\Vorn File Types\\vornft.exe\" -url=\"%1\"");

  const String app_paths = u"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\vornft.exe";
  EXPECT_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, app_paths, nullptr).text,
            L"C:\\Program Files\\Vorn File Types\\vornft.exe");
  EXPECT_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, app_paths, L"Path").text,
            L"C:\\Program Files\\Vorn File Types\\");
}

TEST_F(FileTypeRegistrationTest, UnregisteringLeavesAnotherProgramsExtensionAlone) {
  const FileTypeOwner owner = Owner(kTwoTypesAndAProtocol);
  ASSERT_EQ(RegisterFileTypes(owner, true, false), kOk);
  // Another program has taken the second extension over since.
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyW(HKEY_CLASSES_ROOT, L".vfttwo", &key), ERROR_SUCCESS);
  const wchar_t other[] = L"OtherProgram.vfttwo";
  RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(other), sizeof other);
  RegCloseKey(key);

  ASSERT_EQ(RegisterFileTypes(owner, false, false), kOk);
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, u".vftone"));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, u"VornFT.vftone"));
  EXPECT_EQ(Default(L".vfttwo"), L"OtherProgram.vfttwo");
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, u"VornFT.vfttwo"));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, u"vornftlink"));
  // Removing file types keeps the App Paths entry.
  EXPECT_TRUE(RegistryKeyExists(
      HKEY_LOCAL_MACHINE, u"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\vornft.exe"));

  // Nothing left to remove: the missing ProgID is reported.
  EXPECT_EQ(RegisterFileTypes(owner, false, false), kNotFound);
  EXPECT_EQ(Default(L".vfttwo"), L"OtherProgram.vfttwo");
}

TEST_F(FileTypeRegistrationTest, WithoutAdministratorRightsAndNoRelaunchNothingIsWritten) {
  const FileTypeOwner owner = Owner(kTwoTypesAndAProtocol, false);
  EXPECT_EQ(RegisterFileTypes(owner, true, false), kAccessDenied);
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, u".vftone"));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, u"VornFT.vftone"));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, u"vornftlink"));
  EXPECT_FALSE(RegistryKeyExists(
      HKEY_LOCAL_MACHINE, u"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\vornft.exe"));
  EXPECT_EQ(RegisterFileTypes(owner, false, false), kAccessDenied);
}

TEST_F(FileTypeRegistrationTest, AMissingAttributeStopsWithSixAfterTheEntriesBeforeIt) {
  const FileTypeOwner owner = Owner(
      "<FileTypes><FileType Extension=\".vftone\" Description=\"One\"/>"
      "<FileType Extension=\".vfttwo\"/></FileTypes>"
      "<CustomProtocols><Protocol Name=\"vornftlink\" Description=\"No command\"/>"
      "</CustomProtocols>");
  EXPECT_EQ(RegisterFileTypes(owner, true, false), kMissingData);
  EXPECT_EQ(Default(L".vftone"), L"VornFT.vftone");
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, u".vfttwo"));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, u"vornftlink"));

  const FileTypeOwner protocol_only = Owner(
      "<CustomProtocols><Protocol Name=\"vornftlink\" Description=\"No command\"/>"
      "</CustomProtocols>");
  EXPECT_EQ(RegisterFileTypes(protocol_only, true, false), kMissingData);
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, u"vornftlink"));
}

TEST_F(FileTypeRegistrationTest, WithoutTypesOrProtocolsOnlyTheAppPathsEntryChanges) {
  const FileTypeOwner owner = Owner("<Other/>");
  EXPECT_EQ(RegisterFileTypes(owner, true, false), kOk);
  EXPECT_TRUE(RegistryKeyExists(
      HKEY_LOCAL_MACHINE, u"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\vornft.exe"));
  EXPECT_EQ(RegisterFileTypes(owner, false, false), kOk);
}

TEST(FileTypeTexts, ProgIdAndAutoFileKeyFollowTheExtension) {
  EXPECT_EQ(FileTypeProgId(u"Vorn", u".abc"), String(u"Vorn.abc"));
  EXPECT_EQ(AutoFileKey(u".abc"), String(u"abc_auto_file"));
  EXPECT_EQ(OpenCommandText(u"C:\\a b\\p.exe", u""), String(u"\"C:\\a b\\p.exe\" \"%1\""));
}

}  // namespace
}  // namespace vorn
