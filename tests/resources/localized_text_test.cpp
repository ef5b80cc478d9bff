#include "resources/localized_text.h"

#include <gtest/gtest.h>

#include <memory>

#include "resources/languages.h"
#include "resources/resource_manager.h"
#include "resources/support/test_package.h"

namespace vorn {
namespace {

std::pair<Result, std::string> Expected(Result result, const char* text) {
  return {result, text};
}

class FixedLanguage : public ChosenLanguageSource {
 public:
  uint32_t ChosenLanguage() noexcept override { return index; }
  uint32_t index = kAnyLanguage;
};

class LocalizedTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    package_.AddXml(u"Data/Xml/VornLib-Strings-en.xml",
                    test::StringFile("en", {{"OKButton", "OK"},
                                            {"CancelButton", "&amp;Cancel"},
                                            {"Lines", "one&#10;two"},
                                            {"Spaced Key", "spaced"},
                                            {"Blank", ""},
                                            {"TimeRemainingAboutXMinutes", "About {0} minutes"}}));
    package_.AddXml(u"Data/Xml/VornLib-Strings-fr.xml",
                    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                    "<Resources Language=\"fr\">\n"
                    "  <String ID=\"OKButton\">Valider</String>\n"
                    "  <!-- <String ID=\"CancelButton\">Annuler</String> -->\n"
                    "</Resources>\n");
    package_.AddXml(u"Data/Xml/VornLib-Strings-it.xml",
                    test::StringFile("it", {{"OKButton", "Conferma"}}));
    package_.AddXml(u"Data/Xml/VornLib-Strings-zh.xml",
                    test::StringFile("zh", {{"OKButton", "确定"}}));
    package_.AddXml(
        u"Data/Xml/VornSetup-License-en.xml",
        test::StringFile("en", {{"License",
                                 "<Paragraph>Terms &amp; <Bold>conditions</Bold>"
                                 "</Paragraph><List><Item>one &lt; two</Item></List>"}}));
    package_.MountIn(files_);
    manager_ = std::make_unique<ResourceManager>(files_);
    manager_->SetChosenLanguageSource(&language_);
    manager_->SetLocaleLanguage(kAnyLanguage);
    for (const char16_t* path :
         {u"Data/Xml/VornLib-Strings-en.xml", u"Data/Xml/VornLib-Strings-fr.xml",
          u"Data/Xml/VornLib-Strings-it.xml", u"Data/Xml/VornLib-Strings-zh.xml",
          u"Data/Xml/VornSetup-License-en.xml"}) {
      ASSERT_EQ(manager_->RegisterDocument(path), kOk);
    }
  }

  std::pair<Result, std::string> Localize(const char16_t* text) {
    String result = u"stale";
    const Result r = LocalizeText(*manager_, text, result);
    return {r, test::Utf8(result)};
  }

  test::TestPackage package_;
  PackageFileSystem files_;
  FixedLanguage language_;
  std::unique_ptr<ResourceManager> manager_;
};

TEST_F(LocalizedTextTest, KeysResolveInTheChosenLanguageWithFallback) {
  language_.index = LanguageIndex(u"fr");
  EXPECT_EQ(Localize(u"#OKButton"), Expected(kOk, "Valider"));
  // Commented out in the French file: another language's entry answers.
  EXPECT_EQ(Localize(u"#CancelButton"), Expected(kOk, "&Cancel"));
  language_.index = LanguageIndex(u"zh");
  EXPECT_EQ(Localize(u"#OKButton").second, "确定");
  language_.index = LanguageIndex(u"it");
  EXPECT_EQ(Localize(u"#OKButton").second, "Conferma");
  EXPECT_EQ(Localize(u"#Lines").second, "one\ntwo");
  EXPECT_EQ(Localize(u"#Spaced Key").second, "spaced");  // the key is all of the rest
  EXPECT_EQ(Localize(u"#Blank"), Expected(kOk, ""));     // an entry may be empty on purpose
  EXPECT_EQ(Localize(u"#TimeRemainingAboutXMinutes").second, "About {0} minutes");
}

TEST_F(LocalizedTextTest, PlainAndEscapedTextsPassThrough) {
  EXPECT_EQ(Localize(u"OK"), Expected(kOk, "OK"));
  EXPECT_EQ(Localize(u""), Expected(kOk, ""));
  EXPECT_EQ(Localize(u"##OKButton"), Expected(kOk, "#OKButton"));
  EXPECT_EQ(Localize(u"##"), Expected(kOk, "#"));
  EXPECT_EQ(Localize(u"Press #OKButton"), Expected(kOk, "Press #OKButton"));
}

TEST_F(LocalizedTextTest, MissingKeysShowTheMarker) {
  EXPECT_EQ(Localize(u"#NoSuchKey"),
            Expected(kLocalizedTextMissing, "<Localized Text: NoSuchKey>"));
  EXPECT_EQ(Localize(u"#"), Expected(kLocalizedTextMissing, "<Localized Text: >"));
  EXPECT_EQ(Localize(nullptr), Expected(kLocalizedTextMissing, ""));
  // Lookups leave no user count behind.
  const uint32_t entries = manager_->CacheCount();
  for (int i = 0; i < 3; ++i) Localize(u"#OKButton");
  EXPECT_EQ(manager_->CacheCount(), entries);
}

TEST_F(LocalizedTextTest, LicenceEntryGivesItsMarkupReescaped) {
  const auto [result, text] = Localize(u"#License");
  ASSERT_EQ(result, kOk);
  EXPECT_NE(text.find("<Bold>conditions</Bold>"), std::string::npos) << text;
  EXPECT_NE(text.find("Terms &amp; "), std::string::npos) << text;
  EXPECT_NE(text.find("one &lt; two"), std::string::npos) << text;
  EXPECT_EQ(text.find("<String"), std::string::npos) << text;
}

}  // namespace
}  // namespace vorn
