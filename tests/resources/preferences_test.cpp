#include "resources/preferences.h"

#include <gtest/gtest.h>

#include <memory>

#include "resources/languages.h"
#include "resources/preference_path.h"
#include "resources/support/memory_preference_store.h"
#include "resources/support/test_package.h"

namespace vorn {
namespace {

using Store = test::MemoryPreferenceStore;
constexpr char16_t kRoot[] = u"Software\\Kelp\\Demo\\2.1 Beta\\";

class PreferencesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    package_.AddXml(u"Data/Xml/Configuration.xml",
                    "<Resources><Application Company=\"Kelp\" Name=\"Demo\" Version=\"2.1\" "
                    "Tag=\"Beta\"/></Resources>");
    package_.AddXml(u"Data/Xml/Preferences.xml",
                    "<Resources>\n"
                    " <Preferences>\n"
                    "  <User>\n"
                    "   <Global>\n"
                    "    <InstallOptions>\n"
                    "     <CreateDesktopShortcut>true</CreateDesktopShortcut>\n"
                    "     <CreateQuickLaunchShortcut>false</CreateQuickLaunchShortcut>\n"
                    "    </InstallOptions>\n"
                    "    <Zoom>1.25</Zoom>\n"
                    "    <Columns>3</Columns>\n"
                    "    <Greeting>Hello</Greeting>\n"
                    "   </Global>\n"
                    "   <Local/>\n"
                    "  </User>\n"
                    "  <System><Global><Shared>machine</Shared></Global><Local/></System>\n"
                    " </Preferences>\n"
                    "</Resources>\n");
    package_.MountIn(files_);
    manager_ = std::make_unique<ResourceManager>(files_);
    ASSERT_EQ(manager_->RegisterDocument(u"Data/Xml/Configuration.xml"), kOk);
    ASSERT_EQ(manager_->RegisterDocument(u"Data/Xml/Preferences.xml"), kOk);
    preferences_ = std::make_unique<Preferences>(*manager_, store_);
  }

  void TearDown() override {
    preferences_.reset();
    manager_.reset();
  }

  static std::u16string Key(const char16_t* below) { return std::u16string(kRoot) + below; }

  test::TestPackage package_;
  PackageFileSystem files_;
  Store store_;
  std::unique_ptr<ResourceManager> manager_;
  std::unique_ptr<Preferences> preferences_;
};

constexpr char16_t kDesktop[] = u"/User/Global/InstallOptions/CreateDesktopShortcut";

TEST_F(PreferencesTest, RegistryRootComesFromTheApplicationElement) {
  EXPECT_EQ(preferences_->RegistryRoot(), kRoot);
  preferences_->SetApplicationIdentity(u"Kelp", u"Demo", u"3", nullptr);
  EXPECT_EQ(preferences_->RegistryRoot(), u"Software\\Kelp\\Demo\\3\\");
  preferences_->SetApplicationIdentity(u"", u"Demo", u"3", u"x");
  EXPECT_TRUE(preferences_->RegistryRoot().IsEmpty());
}

TEST_F(PreferencesTest, DefaultThenChangeThenSavedAsDword) {
  bool value = false;
  ASSERT_EQ(preferences_->GetBool(kDesktop, &value), kOk);
  EXPECT_TRUE(value);
  ASSERT_EQ(preferences_->SetBool(kDesktop, false), kOk);
  ASSERT_EQ(preferences_->GetBool(kDesktop, &value), kOk);
  EXPECT_FALSE(value);
  EXPECT_EQ(store_.ValueCount(), 0u);  // nothing before Save
  ASSERT_EQ(preferences_->Save(), kOk);
  const Store::Value* saved =
      store_.Get(kPreferenceUserRoot, Key(u"Global\\InstallOptions"), u"CreateDesktopShortcut");
  ASSERT_NE(saved, nullptr);
  EXPECT_EQ(saved->type, Store::Type::kDword);
  EXPECT_EQ(saved->number, 0u);
  EXPECT_EQ(store_.ValueCount(), 1u);
  // The changes stay and are written again.
  ASSERT_EQ(preferences_->Save(), kOk);
  EXPECT_EQ(store_.ValueCount(), 1u);
}

TEST_F(PreferencesTest, ReadOrderIsChangesCacheStoreDefaults) {
  int32_t columns = 0;
  store_.Put(kPreferenceUserRoot, Key(u"Global"), u"Columns", {Store::Type::kDword, 7, {}});
  ASSERT_EQ(preferences_->GetInt(u"/User/Global/Columns", &columns), kOk);
  EXPECT_EQ(columns, 7);
  // Read once, then answered from memory.
  store_.Put(kPreferenceUserRoot, Key(u"Global"), u"Columns", {Store::Type::kDword, 9, {}});
  ASSERT_EQ(preferences_->GetInt(u"/User/Global/Columns", &columns), kOk);
  EXPECT_EQ(columns, 7);
  ASSERT_EQ(preferences_->SetInt(u"/User/Global/Columns", -4), kOk);
  ASSERT_EQ(preferences_->GetInt(u"/User/Global/Columns", &columns), kOk);
  EXPECT_EQ(columns, -4);

  String text;
  ASSERT_EQ(preferences_->GetText(u"/User/Global/Greeting", &text), kOk);
  EXPECT_EQ(text, u"Hello");
  ASSERT_EQ(preferences_->GetText(u"/System/Global/Shared", &text), kOk);
  EXPECT_EQ(text, u"machine");
  float zoom = 0;
  ASSERT_EQ(preferences_->GetFloat(u"/User/Global/Zoom", &zoom), kOk);
  EXPECT_FLOAT_EQ(zoom, 1.25f);
}

TEST_F(PreferencesTest, StoredValuesOfTheWrongTypeFallBackToTheDefaults) {
  store_.Put(kPreferenceUserRoot, Key(u"Global\\InstallOptions"), u"CreateDesktopShortcut",
             {Store::Type::kText, 0, u"0"});
  bool value = false;
  ASSERT_EQ(preferences_->GetBool(kDesktop, &value), kOk);
  EXPECT_TRUE(value);
  store_.Put(kPreferenceUserRoot, Key(u"Global"), u"Greeting", {Store::Type::kDword, 1, {}});
  String text;
  ASSERT_EQ(preferences_->GetText(u"/User/Global/Greeting", &text), kOk);
  EXPECT_EQ(text, u"Hello");
  store_.Put(kPreferenceUserRoot, Key(u"Global"), u"Zoom", {Store::Type::kText, 0, u"wide"});
  float zoom = 0;
  ASSERT_EQ(preferences_->GetFloat(u"/User/Global/Zoom", &zoom), kOk);
  EXPECT_FLOAT_EQ(zoom, 1.25f);
  store_.Put(kPreferenceUserRoot, Key(u"Global"), u"Long",
             {Store::Type::kText, 0, std::u16string(9000, u'x')});
  EXPECT_EQ(preferences_->GetText(u"/User/Global/Long", &text), kNotFound);
  store_.Put(kPreferenceUserRoot, Key(u"Global"), u"Ratio", {Store::Type::kText, 0, u"0.75"});
  ASSERT_EQ(preferences_->GetFloat(u"/User/Global/Ratio", &zoom), kOk);
  EXPECT_FLOAT_EQ(zoom, 0.75f);
}

TEST_F(PreferencesTest, MissingValuesAndBadArguments) {
  bool flag = true;
  int32_t number = 5;
  float real = 1;
  String text = u"stale";
  EXPECT_EQ(preferences_->GetBool(u"/User/Global/Nothing", &flag), kNotFound);
  EXPECT_FALSE(flag);
  EXPECT_EQ(preferences_->GetInt(u"/User/Local/Nothing", &number), kNotFound);
  EXPECT_EQ(number, 0);
  EXPECT_EQ(preferences_->GetFloat(u"/System/Local/Nothing", &real), kNotFound);
  EXPECT_EQ(real, 0.0f);
  EXPECT_EQ(preferences_->GetText(u"/User/Global/InstallOptions", &text),
            kNotFound);  // a container
  EXPECT_TRUE(text.IsEmpty());
  for (const char16_t* bad : {u"/Other/Global/X", u"/User/Global", u"User/Global/X",
                              u"/User/Global/", u"/User/Global/A//B", u"/user/global/X"}) {
    EXPECT_EQ(preferences_->GetBool(bad, &flag), kInvalidPath) << test::Utf8(String(bad));
    EXPECT_EQ(preferences_->SetText(bad, u"x"), kInvalidPath);
    EXPECT_EQ(preferences_->Purge(bad), kInvalidPath);
    EXPECT_FALSE(preferences_->Exists(bad));
  }
  EXPECT_EQ(preferences_->GetText(nullptr, &text), kInvalidPath);
  EXPECT_EQ(preferences_->SetBool(nullptr, true), kInvalidPath);
  EXPECT_EQ(preferences_->GetBool(kDesktop, nullptr), kNullOutput);
  EXPECT_EQ(preferences_->GetText(kDesktop, nullptr), kNullOutput);
  ASSERT_EQ(preferences_->Save(), kOk);
  EXPECT_EQ(store_.ValueCount(), 0u);
}

TEST_F(PreferencesTest, FloatsAreSavedAsShortTexts) {
  ASSERT_EQ(preferences_->SetFloat(u"/User/Global/Half", 0.5f), kOk);
  ASSERT_EQ(preferences_->SetFloat(u"/User/Global/Two", 2.0f), kOk);
  ASSERT_EQ(preferences_->SetText(u"/User/Local/Window/Title", u"Démo"), kOk);
  ASSERT_EQ(preferences_->SetInt(u"/System/Local/Count", -1), kOk);
  ASSERT_EQ(preferences_->Save(), kOk);
  const Store::Value* half = store_.Get(kPreferenceUserRoot, Key(u"Global"), u"Half");
  ASSERT_NE(half, nullptr);
  EXPECT_EQ(half->type, Store::Type::kText);
  EXPECT_EQ(half->text, u"0.5");
  EXPECT_EQ(store_.Get(kPreferenceUserRoot, Key(u"Global"), u"Two")->text, u"2");
  EXPECT_EQ(store_.Get(kPreferenceUserRoot, Key(u"Local\\Window"), u"Title")->text, u"Démo");
  const Store::Value* count = store_.Get(kPreferenceMachineRoot, Key(u"Local"), u"Count");
  ASSERT_NE(count, nullptr);
  EXPECT_EQ(count->type, Store::Type::kDword);
  EXPECT_EQ(count->number, 0xFFFFFFFFu);
}

TEST_F(PreferencesTest, PurgeHidesStoredValuesAndReplacesThemAtSave) {
  const std::u16string recent = Key(u"Local\\Recent Files");
  store_.Put(kPreferenceUserRoot, recent + u"\\File1", u"Name", {Store::Type::kText, 0, u"a.txt"});
  store_.Put(kPreferenceUserRoot, recent + u"\\File2", u"Name", {Store::Type::kText, 0, u"b.txt"});
  store_.Put(kPreferenceUserRoot, recent, u"Count", {Store::Type::kDword, 2, {}});
  String name;
  ASSERT_EQ(preferences_->GetText(u"/User/Local/Recent Files/File2/Name", &name), kOk);

  ASSERT_EQ(preferences_->Purge(u"/User/Local/Recent Files"), kOk);
  EXPECT_EQ(preferences_->GetText(u"/User/Local/Recent Files/File2/Name", &name), kNotFound);
  EXPECT_EQ(preferences_->GetText(u"/User/Local/Recent Files/File1/Name", &name), kNotFound);
  int32_t count = 0;
  EXPECT_EQ(preferences_->GetInt(u"/User/Local/Recent Files/Count", &count), kNotFound);
  ASSERT_EQ(preferences_->SetText(u"/User/Local/Recent Files/File1/Name", u"c.txt"), kOk);
  ASSERT_EQ(preferences_->GetText(u"/User/Local/Recent Files/File1/Name", &name), kOk);
  EXPECT_EQ(name, u"c.txt");

  ASSERT_EQ(preferences_->Save(), kOk);
  EXPECT_EQ(store_.Get(kPreferenceUserRoot, recent + u"\\File2", u"Name"), nullptr);
  EXPECT_EQ(store_.Get(kPreferenceUserRoot, recent, u"Count"), nullptr);
  ASSERT_NE(store_.Get(kPreferenceUserRoot, recent + u"\\File1", u"Name"), nullptr);
  EXPECT_EQ(store_.Get(kPreferenceUserRoot, recent + u"\\File1", u"Name")->text, u"c.txt");
  EXPECT_EQ(store_.ValueCount(), 1u);
}

TEST_F(PreferencesTest, ExistsLooksEverywhere) {
  EXPECT_TRUE(preferences_->Exists(kDesktop));  // defaults
  EXPECT_FALSE(preferences_->Exists(u"/User/Global/Unknown"));
  ASSERT_EQ(preferences_->SetBool(u"/User/Global/Unknown", true), kOk);
  EXPECT_TRUE(preferences_->Exists(u"/User/Global/Unknown"));
  store_.Put(kPreferenceMachineRoot, Key(u"Local\\Deep"), u"V", {Store::Type::kDword, 1, {}});
  EXPECT_TRUE(preferences_->Exists(u"/System/Local/Deep/Anything"));
  EXPECT_FALSE(preferences_->Exists(u"/User/Local/Deep/Anything"));
}

TEST_F(PreferencesTest, RecentFiles) {
  const std::u16string recent = Key(u"Local\\Recent Files");
  store_.Put(kPreferenceUserRoot, recent + u"\\File1", u"Name", {Store::Type::kText, 0, u"a.txt"});
  store_.Put(kPreferenceUserRoot, recent + u"\\File1", u"MetaData", {Store::Type::kText, 0, u"m"});
  store_.Put(kPreferenceUserRoot, recent + u"\\File9", u"Name", {Store::Type::kText, 0, u"i.txt"});
  store_.Put(kPreferenceUserRoot, recent + u"\\File2", u"Name", {Store::Type::kText, 0, u""});
  String name, metadata;
  ASSERT_EQ(preferences_->GetRecentFile(0, &name, &metadata), kOk);
  EXPECT_EQ(name, u"a.txt");
  EXPECT_EQ(metadata, u"m");
  ASSERT_EQ(preferences_->GetRecentFile(8, &name, &metadata), kOk);
  EXPECT_EQ(name, u"i.txt");
  EXPECT_TRUE(metadata.IsEmpty());
  EXPECT_EQ(preferences_->GetRecentFile(1, &name, &metadata), kIndexOutOfRange);  // empty name
  EXPECT_EQ(preferences_->GetRecentFile(2, &name, nullptr), kIndexOutOfRange);
  EXPECT_EQ(preferences_->GetRecentFile(9, &name, &metadata), kIndexOutOfRange);
  EXPECT_TRUE(name.IsEmpty());
  EXPECT_EQ(preferences_->GetRecentFile(0, nullptr, &metadata), kNullOutput);
}

TEST_F(PreferencesTest, RefusedWritesAreSkippedAndNoRootWritesNothing) {
  ASSERT_EQ(preferences_->SetBool(kDesktop, false), kOk);
  store_.RefuseWrites(true);
  EXPECT_EQ(preferences_->Save(), kOk);
  store_.RefuseWrites(false);
  preferences_->SetApplicationIdentity(nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(preferences_->Save(), kNotOpen);
  bool value = true;
  store_.Put(kPreferenceUserRoot, u"Global\\InstallOptions", u"CreateDesktopShortcut",
             {Store::Type::kDword, 0, {}});
  ASSERT_EQ(preferences_->GetBool(u"/User/Global/InstallOptions/CreateQuickLaunchShortcut", &value),
            kOk);
  EXPECT_FALSE(value);
  EXPECT_EQ(store_.ValueCount(), 1u);
}

TEST_F(PreferencesTest, ChosenLanguagePersistsThroughTheSaveAtExit) {
  EXPECT_EQ(preferences_->ChosenLanguage(), kAnyLanguage);
  EXPECT_EQ(preferences_->SetChosenLanguage(u"*"), kInvalidArgument);
  EXPECT_EQ(preferences_->SetChosenLanguage(u"klingon"), kInvalidArgument);
  EXPECT_EQ(preferences_->SetChosenLanguage(nullptr), kInvalidArgument);
  EXPECT_EQ(preferences_->ChosenLanguage(), kAnyLanguage);
  ASSERT_EQ(preferences_->SetChosenLanguage(u"IT"), kOk);
  EXPECT_EQ(preferences_->ChosenLanguage(), LanguageIndex(u"it"));
  String stored;
  ASSERT_EQ(preferences_->GetText(u"/User/Global/Language", &stored), kOk);
  EXPECT_EQ(stored, u"it");

  preferences_.reset();  // the process ends: the preferences save themselves
  const Store::Value* language = store_.Get(kPreferenceUserRoot, Key(u"Global"), u"Language");
  ASSERT_NE(language, nullptr);
  EXPECT_EQ(language->text, u"it");
  // The next run reads it back.
  preferences_ = std::make_unique<Preferences>(*manager_, store_);
  EXPECT_EQ(preferences_->ChosenLanguage(), LanguageIndex(u"it"));
}

TEST_F(PreferencesTest, ChosenLanguageIsReadOnce) {
  store_.Put(kPreferenceUserRoot, Key(u"Global"), u"Language", {Store::Type::kText, 0, u"zh"});
  EXPECT_EQ(preferences_->ChosenLanguage(), LanguageIndex(u"zh"));
  store_.Put(kPreferenceUserRoot, Key(u"Global"), u"Language", {Store::Type::kText, 0, u"fr"});
  EXPECT_EQ(preferences_->ChosenLanguage(), LanguageIndex(u"zh"));
}

TEST(PreferencePathTest, MapsPrefixesKeysAndValueNames) {
  PreferenceLocation at;
  const String root = u"R\\";
  ASSERT_EQ(MapPreferencePath(root, u"/User/Global/InstallOptions/CreateDesktopShortcut", at), kOk);
  EXPECT_EQ(at.root, kPreferenceUserRoot);
  EXPECT_EQ(at.key, u"R\\Global\\InstallOptions");
  EXPECT_EQ(at.name, u"CreateDesktopShortcut");
  ASSERT_EQ(MapPreferencePath(root, u"/System/Local/A/B/C", at), kOk);
  EXPECT_EQ(at.root, kPreferenceMachineRoot);
  EXPECT_EQ(at.key, u"R\\Local\\A\\B");
  EXPECT_EQ(at.name, u"C");
  ASSERT_EQ(MapPreferencePath(root, u"/User/Local/Language", at), kOk);
  EXPECT_EQ(at.key, u"R\\Local");
  ASSERT_EQ(MapPreferenceContainer(root, String(u"/User/Global"), at), kOk);
  EXPECT_EQ(at.key, u"R\\Global");
  ASSERT_EQ(MapPreferenceContainer(root, String(u"/System/Global/A/B"), at), kOk);
  EXPECT_EQ(at.key, u"R\\Global\\A\\B");
  EXPECT_EQ(MapPreferenceContainer(root, String(u"/User"), at), kInvalidPath);
  EXPECT_EQ(MapPreferencePath(root, u"/User/Globalx/A", at), kInvalidPath);
  EXPECT_TRUE(at.key.IsEmpty());
}

}  // namespace
}  // namespace vorn
