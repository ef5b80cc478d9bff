// The preferences against the real registry.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "foundation/format.h"
#include "foundation/registry_key.h"
#include "resources/languages.h"
#include "resources/preferences.h"
#include "resources/support/test_package.h"

namespace vorn {
namespace {

class RegistryPreferencesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    product_ = Format(u"Prefs{0}", FormatArg(static_cast<uint32_t>(GetCurrentProcessId())));
    package_.AddXml(u"Data/Xml/Configuration.xml",
                    "<Resources><Application Company=\"VornLibTests\" Name=\"" +
                        test::Utf8(product_) + "\" Version=\"1.0\"/></Resources>");
    package_.AddXml(u"Data/Xml/Preferences.xml",
                    "<Resources><Preferences><User><Global><InstallOptions>"
                    "<CreateDesktopShortcut>true</CreateDesktopShortcut>"
                    "<CreateQuickLaunchShortcut>false</CreateQuickLaunchShortcut>"
                    "</InstallOptions></Global><Local/></User></Preferences></Resources>");
    package_.MountIn(files_);
    manager_ = std::make_unique<ResourceManager>(files_);
    ASSERT_EQ(manager_->RegisterDocument(u"Data/Xml/Configuration.xml"), kOk);
    ASSERT_EQ(manager_->RegisterDocument(u"Data/Xml/Preferences.xml"), kOk);
    preferences_ = std::make_unique<Preferences>(*manager_, SystemPreferenceStore());
  }

  void TearDown() override {
    preferences_.reset();
    manager_.reset();
    RegistryKey company;
    ASSERT_EQ(company.SetRoot(RegistryKey::kCurrentUser, u"Software\\VornLibTests"), kOk);
    company.DeleteSubkey(product_.Text());
  }

  // A value below the product's root, read with the plain registry API.
  DWORD RawValue(const std::wstring& below, const wchar_t* name, std::wstring* text,
                 DWORD* number) {
    const std::wstring path = L"Software\\VornLibTests\\" +
                              std::wstring(reinterpret_cast<const wchar_t*>(product_.Text())) +
                              L"\\1.0\\" + below;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
      return REG_NONE;
    }
    wchar_t data[256] = {};
    DWORD type = REG_NONE;
    DWORD size = sizeof(data);
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
        ERROR_SUCCESS) {
      type = REG_NONE;
    }
    RegCloseKey(key);
    if (type == REG_DWORD && number) *number = *reinterpret_cast<DWORD*>(data);
    if (type == REG_SZ && text) *text = data;
    return type;
  }

  void PutRaw(const std::wstring& below, const wchar_t* name, DWORD type, const void* data,
              DWORD size) {
    const std::wstring path = L"Software\\VornLibTests\\" +
                              std::wstring(reinterpret_cast<const wchar_t*>(product_.Text())) +
                              L"\\1.0\\" + below;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }

  String product_;
  test::TestPackage package_;
  PackageFileSystem files_;
  std::unique_ptr<ResourceManager> manager_;
  std::unique_ptr<Preferences> preferences_;
};

constexpr char16_t kDesktop[] = u"/User/Global/InstallOptions/CreateDesktopShortcut";

TEST_F(RegistryPreferencesTest, DefaultChangedAndSavedAsDword) {
  bool value = false;
  ASSERT_EQ(preferences_->GetBool(kDesktop, &value), kOk);
  EXPECT_TRUE(value);
  ASSERT_EQ(preferences_->SetBool(kDesktop, false), kOk);
  ASSERT_EQ(preferences_->GetBool(kDesktop, &value), kOk);
  EXPECT_FALSE(value);
  EXPECT_EQ(RawValue(L"Global\\InstallOptions", L"CreateDesktopShortcut", nullptr, nullptr),
            static_cast<DWORD>(REG_NONE));
  ASSERT_EQ(preferences_->Save(), kOk);
  DWORD number = 99;
  EXPECT_EQ(RawValue(L"Global\\InstallOptions", L"CreateDesktopShortcut", nullptr, &number),
            static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(number, 0u);
}

TEST_F(RegistryPreferencesTest, TextWhereABooleanIsExpectedIsSkipped) {
  const wchar_t text[] = L"0";
  PutRaw(L"Global\\InstallOptions", L"CreateDesktopShortcut", REG_SZ, text, sizeof(text));
  bool value = false;
  ASSERT_EQ(preferences_->GetBool(kDesktop, &value), kOk);
  EXPECT_TRUE(value);
  const DWORD one = 1;
  PutRaw(L"Global\\InstallOptions", L"CreateQuickLaunchShortcut", REG_DWORD, &one, sizeof(one));
  ASSERT_EQ(preferences_->GetBool(u"/User/Global/InstallOptions/CreateQuickLaunchShortcut", &value),
            kOk);
  EXPECT_TRUE(value);
}

TEST_F(RegistryPreferencesTest, FloatsTextsAndIntegersTakeTheirRegistryForms) {
  ASSERT_EQ(preferences_->SetFloat(u"/User/Global/Half", 0.5f), kOk);
  ASSERT_EQ(preferences_->SetFloat(u"/User/Global/Two", 2.0f), kOk);
  ASSERT_EQ(preferences_->SetText(u"/User/Local/Window/Title", u"Démo"), kOk);
  ASSERT_EQ(preferences_->SetInt(u"/User/Local/Window/Width", 640), kOk);
  ASSERT_EQ(preferences_->Save(), kOk);
  std::wstring text;
  DWORD number = 0;
  EXPECT_EQ(RawValue(L"Global", L"Half", &text, nullptr), static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(text, L"0.5");
  EXPECT_EQ(RawValue(L"Global", L"Two", &text, nullptr), static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(text, L"2");
  EXPECT_EQ(RawValue(L"Local\\Window", L"Title", &text, nullptr), static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(text, L"D\u00e9mo");
  EXPECT_EQ(RawValue(L"Local\\Window", L"Width", nullptr, &number), static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(number, 640u);

  // A fresh object reads them back from the registry.
  preferences_ = std::make_unique<Preferences>(*manager_, SystemPreferenceStore());
  float half = 0;
  ASSERT_EQ(preferences_->GetFloat(u"/User/Global/Half", &half), kOk);
  EXPECT_FLOAT_EQ(half, 0.5f);
  String title;
  ASSERT_EQ(preferences_->GetText(u"/User/Local/Window/Title", &title), kOk);
  EXPECT_EQ(title, u"Démo");
  EXPECT_TRUE(preferences_->Exists(u"/User/Local/Window/Anything"));
}

TEST_F(RegistryPreferencesTest, PurgeDeletesTheStoredSubtreeAtSave) {
  const wchar_t a[] = L"a.txt";
  PutRaw(L"Local\\Recent Files\\File1", L"Name", REG_SZ, a, sizeof(a));
  PutRaw(L"Local\\Recent Files\\File2", L"Name", REG_SZ, a, sizeof(a));
  ASSERT_EQ(preferences_->Purge(u"/User/Local/Recent Files"), kOk);
  String name;
  EXPECT_EQ(preferences_->GetText(u"/User/Local/Recent Files/File1/Name", &name), kNotFound);
  ASSERT_EQ(preferences_->SetText(u"/User/Local/Recent Files/File1/Name", u"new.txt"), kOk);
  ASSERT_EQ(preferences_->Save(), kOk);
  std::wstring text;
  EXPECT_EQ(RawValue(L"Local\\Recent Files\\File1", L"Name", &text, nullptr),
            static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(text, L"new.txt");
  EXPECT_EQ(RawValue(L"Local\\Recent Files\\File2", L"Name", nullptr, nullptr),
            static_cast<DWORD>(REG_NONE));
}

TEST_F(RegistryPreferencesTest, LanguageSetForThisRunIsInTheRegistryAfterExit) {
  ASSERT_EQ(preferences_->SetChosenLanguage(u"it"), kOk);
  preferences_.reset();
  std::wstring text;
  EXPECT_EQ(RawValue(L"Global", L"Language", &text, nullptr), static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(text, L"it");
  preferences_ = std::make_unique<Preferences>(*manager_, SystemPreferenceStore());
  EXPECT_EQ(preferences_->ChosenLanguage(), LanguageIndex(u"it"));
}

TEST(UserLocaleTest, LanguageOfTheDefaultLocale) {
  // The locale's primary language, through the other API that reports it.
  const uint32_t expected = LanguageFromPrimaryId(PRIMARYLANGID(GetUserDefaultLangID()));
  EXPECT_EQ(UserLocaleLanguage(), expected);
}

}  // namespace
}  // namespace vorn
