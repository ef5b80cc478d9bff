#include "resources/resource_manager.h"

#include <gtest/gtest.h>

#include <memory>

#include "resources/languages.h"
#include "resources/picture.h"
#include "resources/support/test_package.h"
#include "xml/xml_document.h"
#include "xml/xml_element.h"

namespace vorn {
namespace {

using test::Bytes;

class FixedLanguage : public ChosenLanguageSource {
 public:
  uint32_t ChosenLanguage() noexcept override { return index; }
  uint32_t index = kAnyLanguage;
};

class ResourceManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::PngImage png;
    png.color_type = 6;
    png.width = 4;
    png.height = 2;
    png.rows = test::PatternBytes(32, 7);
    logo_ = png.rows;
    package_.Add(u"Data/Pictures/Logo.png", test::EncodePng(png));
    const Bytes full = test::EncodePng(png);
    package_.Add(u"Data/Pictures/Broken.png", Bytes(full.begin(), full.begin() + full.size() / 2));
    package_.Add(u"Data/Pictures/Text.png", Bytes{'h', 'e', 'l', 'l', 'o'});
    package_.Add(u"Data/Empty.bin", Bytes{});
    package_.AddXml(u"Data/Xml/Configuration.xml",
                    "<Resources>\n"
                    "  <!-- the product -->\n"
                    "  <Application Company=\"Kelp\" Name=\"Demo\" Version=\"1.0\"/>\n"
                    "  <InstallationSettings/>\n"
                    "  <Window ID=\"Main\" Language=\"fr\"/>\n"
                    "</Resources>\n");
    package_.AddXml(
        u"Data/Xml/Strings-en.xml",
        test::StringFile(
            "en", {{"OKButton", "OK"}, {"OnlyEnglish", "English only"}, {"Shared", "shared en"}}));
    package_.AddXml(u"Data/Xml/Strings-fr.xml",
                    test::StringFile("fr", {{"OKButton", "Valider"}, {"Shared", "partagé"}}));
    package_.AddXml(u"Data/Xml/Strings-ko.xml", test::StringFile("ko", {{"OnlyKorean", "한국어"}}));
    package_.AddXml(u"Data/Xml/Strings-any.xml",
                    test::StringFile("*", {{"Anywhere", "any"}, {"", "no id"}}));
    package_.AddXml(u"Data/Xml/Custom-Strings-en.xml",
                    test::StringFile("EN", {{"OKButton", "Okay"}}));
    package_.AddXml(u"Data/Xml/Broken.xml",
                    "<Resources Language=\"en\"><String ID=\"X\">x</Resources>");
    package_.AddXml(u"Data/Xml/NoRoot.xml", "<?xml version=\"1.0\"?>\n<!-- nothing -->\n");
    package_.AddXml(u"Data/Xml/TwoRoots.xml", "<Resources/><Resources/>");
    package_.AddXml(u"Data/Xml/French.xml",
                    "<Resources Language=\"fr\"><Setting>fr</Setting>"
                    "<Other Language=\"*\">any</Other></Resources>");
    package_.MountIn(files_);
    manager_ = std::make_unique<ResourceManager>(files_);
    manager_->SetChosenLanguageSource(&language_);
    manager_->SetLocaleLanguage(kAnyLanguage);
  }

  // The text of the best "String" element for the key, or "" when none.
  std::string StringText(const char16_t* id) {
    XmlElement* element = nullptr;
    if (manager_->GetElement(u"String", id, element) != kOk) return "";
    String text;
    EXPECT_EQ(element->ReadText(&text), kOk);
    EXPECT_EQ(manager_->Release(element), kOk);
    return test::Utf8(text);
  }

  void RegisterStrings() {
    for (const char16_t* path : {u"Data/Xml/Strings-en.xml", u"Data/Xml/Strings-fr.xml",
                                 u"Data/Xml/Strings-ko.xml", u"Data/Xml/Strings-any.xml"}) {
      ASSERT_EQ(manager_->RegisterDocument(path), kOk);
    }
  }

  Bytes logo_;
  test::TestPackage package_;
  PackageFileSystem files_;
  FixedLanguage language_;
  std::unique_ptr<ResourceManager> manager_;
};

TEST_F(ResourceManagerTest, FileIsSharedUntilItsLastRelease) {
  const uint8_t* first = nullptr;
  const uint8_t* second = nullptr;
  uint64_t size = 0;
  ASSERT_EQ(manager_->GetFile(u"Data/Pictures/Logo.png", first, size), kOk);
  ASSERT_EQ(manager_->GetFile(u"Data/Pictures/Logo.png", second, size), kOk);
  EXPECT_EQ(first, second);
  EXPECT_EQ(first[1], 'P');
  EXPECT_EQ(manager_->Release(first), kOk);
  EXPECT_EQ(manager_->Release(second), kOk);
  EXPECT_EQ(manager_->Release(first), kInvalidState);
  EXPECT_EQ(manager_->CacheCount(), 0u);
  // The next request loads it again.
  ASSERT_EQ(manager_->GetFile(u"Data/Pictures/Logo.png", first, size), kOk);
  EXPECT_EQ(manager_->CacheCount(), 1u);
  EXPECT_EQ(manager_->Release(first), kOk);
}

TEST_F(ResourceManagerTest, FileFailuresLeaveTheCacheAsItWas) {
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(1);
  uint64_t size = 7;
  EXPECT_EQ(manager_->GetFile(nullptr, bytes, size), kInvalidPath);
  EXPECT_EQ(bytes, nullptr);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(manager_->GetFile(u"", bytes, size), kInvalidPath);
  EXPECT_EQ(manager_->GetFile(u"Data/Missing.bin", bytes, size), kNotFound);
  // Package paths are case-sensitive.
  EXPECT_EQ(manager_->GetFile(u"data/pictures/Logo.png", bytes, size), kNotFound);
  EXPECT_EQ(manager_->CacheCount(), 0u);
}

TEST_F(ResourceManagerTest, EmptyFileStillHandsOutAReleasablePointer) {
  const uint8_t* bytes = nullptr;
  uint64_t size = 9;
  ASSERT_EQ(manager_->GetFile(u"Data/Empty.bin", bytes, size), kOk);
  EXPECT_NE(bytes, nullptr);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(manager_->Release(bytes), kOk);
  EXPECT_EQ(manager_->CacheCount(), 0u);
}

TEST_F(ResourceManagerTest, PictureIsDecodedOnceAndOnlyItStaysCached) {
  Picture* first = nullptr;
  Picture* second = nullptr;
  ASSERT_EQ(manager_->GetPicture(u"Data/Pictures/Logo.png", first), kOk);
  EXPECT_EQ(manager_->CacheCount(), 1u);  // the file bytes went at once
  ASSERT_EQ(manager_->GetPicture(u"Data/Pictures/Logo.png", second), kOk);
  EXPECT_EQ(first, second);
  EXPECT_EQ(first->Format(), kPictureFormatRgba);
  EXPECT_EQ(Bytes(first->Pixels(), first->Pixels() + 32), logo_);
  EXPECT_EQ(manager_->Release(first), kOk);
  EXPECT_EQ(manager_->Release(first), kOk);
  EXPECT_EQ(manager_->Release(first), kInvalidState);
}

TEST_F(ResourceManagerTest, PicturesNoDecoderTakesFailWithoutCaching) {
  Picture* picture = reinterpret_cast<Picture*>(1);
  EXPECT_EQ(manager_->GetPicture(u"Data/Pictures/Text.png", picture), kBadFormat);
  EXPECT_EQ(picture, nullptr);
  EXPECT_EQ(manager_->GetPicture(u"Data/Pictures/Broken.png", picture), kFailed);
  EXPECT_EQ(manager_->GetPicture(u"", picture), kInvalidPath);
  EXPECT_EQ(manager_->GetPicture(u"Data/Pictures/None.png", picture), kNotFound);
  EXPECT_EQ(manager_->CacheCount(), 0u);
}

TEST_F(ResourceManagerTest, DocumentsParseOnceAndBadOnesPassTheParserCode) {
  XmlDocument* first = nullptr;
  XmlDocument* second = nullptr;
  ASSERT_EQ(manager_->GetDocument(u"Data/Xml/Configuration.xml", first), kOk);
  ASSERT_EQ(manager_->GetDocument(u"Data/Xml/Configuration.xml", second), kOk);
  EXPECT_EQ(first, second);
  EXPECT_EQ(String(first->RootElement()->Name()), u"Resources");
  EXPECT_EQ(manager_->CacheCount(), 1u);
  EXPECT_EQ(manager_->Release(first), kOk);
  EXPECT_EQ(manager_->Release(second), kOk);

  XmlDocument* bad = reinterpret_cast<XmlDocument*>(1);
  const Result broken = manager_->GetDocument(u"Data/Xml/Broken.xml", bad);
  EXPECT_NE(broken, kOk);
  EXPECT_EQ(bad, nullptr);
  EXPECT_EQ(manager_->GetDocument(u"Data/Xml/NoRoot.xml", bad), kInvalidContent);
  EXPECT_EQ(manager_->GetDocument(u"Data/Xml/TwoRoots.xml", bad), kInvalidContent);
  EXPECT_EQ(manager_->GetDocument(u"Data/Empty.bin", bad), kInvalidSize);
  EXPECT_EQ(manager_->CacheCount(), 0u);
}

TEST_F(ResourceManagerTest, RegisteredElementsAreFoundByNameIdAndLanguage) {
  ASSERT_EQ(manager_->RegisterDocument(u"Data/Xml/Configuration.xml"), kOk);
  XmlElement* element = nullptr;
  ASSERT_EQ(manager_->FindElement(u"Application", element), kOk);
  EXPECT_EQ(String(element->FindAttribute(u"Company")->Value()), u"Kelp");
  EXPECT_EQ(manager_->Release(element), kOk);
  ASSERT_EQ(manager_->FindElement(u"InstallationSettings", element), kOk);
  EXPECT_EQ(manager_->Release(element), kOk);
  // The comment between the children registers nothing.
  EXPECT_EQ(manager_->FindElement(u"", element), kNotFound);
  ASSERT_EQ(manager_->GetElement(u"Window", u"Main", element), kOk);
  EXPECT_EQ(manager_->Release(element), kOk);
  // "Window" has an ID, so FindElement (empty ID) does not see it.
  EXPECT_EQ(manager_->FindElement(u"Window", element), kNotFound);
  EXPECT_EQ(manager_->GetElement(nullptr, u"Main", element), kInvalidName);
  EXPECT_EQ(manager_->FindElement(nullptr, element), kInvalidName);
  EXPECT_EQ(manager_->GetElement(u"FileTypes", nullptr, element), kNotFound);
  EXPECT_EQ(element, nullptr);
}

TEST_F(ResourceManagerTest, RegistrationFailuresRegisterNothing) {
  const uint32_t before = manager_->CacheCount();
  EXPECT_NE(manager_->RegisterDocument(u"Data/Xml/Broken.xml"), kOk);
  EXPECT_EQ(manager_->RegisterDocument(u"Data/Xml/NoRoot.xml"), kInvalidContent);
  EXPECT_EQ(manager_->RegisterDocument(u"Data/Xml/TwoRoots.xml"), kInvalidContent);
  EXPECT_EQ(manager_->RegisterDocument(u"Data/Xml/Missing.xml"), kNotFound);
  EXPECT_EQ(manager_->RegisterDocument(nullptr), kInvalidPath);
  EXPECT_EQ(manager_->CacheCount(), before);
  // The broken file's entry is simply absent.
  EXPECT_EQ(StringText(u"X"), "");
}

TEST_F(ResourceManagerTest, LanguageFallbackOrder) {
  RegisterStrings();
  language_.index = LanguageIndex(u"fr");
  manager_->SetLocaleLanguage(LanguageIndex(u"fr"));
  EXPECT_EQ(StringText(u"OKButton"), "Valider");
  EXPECT_EQ(StringText(u"OnlyEnglish"), "English only");  // through the default language
  EXPECT_EQ(StringText(u"OnlyKorean"), "한국어");         // through the final scan
  EXPECT_EQ(StringText(u"Anywhere"), "any");
  EXPECT_EQ(StringText(u"Missing"), "");

  // The locale's language comes second, before "*" and "en".
  language_.index = kAnyLanguage;
  EXPECT_EQ(StringText(u"Shared"), "partagé");
  manager_->SetLocaleLanguage(LanguageIndex(u"de"));
  EXPECT_EQ(StringText(u"Shared"), "shared en");
  language_.index = LanguageIndex(u"ko");
  EXPECT_EQ(StringText(u"OnlyKorean"), "한국어");
  EXPECT_EQ(StringText(u"OKButton"), "OK");
}

TEST_F(ResourceManagerTest, AnyLanguageElementAnswersEveryLanguageWithoutItsOwn) {
  RegisterStrings();
  for (uint32_t language = 0; language < kLanguageCount; ++language) {
    language_.index = language;
    EXPECT_EQ(StringText(u"Anywhere"), "any") << language;
  }
  // An element with an empty ID in "*" is what FindElement sees.
  XmlElement* element = nullptr;
  ASSERT_EQ(manager_->FindElement(u"String", element), kOk);
  EXPECT_EQ(manager_->Release(element), kOk);
}

TEST_F(ResourceManagerTest, FindElementSeesElementsWithoutIdOnlyInAnyLanguage) {
  ASSERT_EQ(manager_->RegisterDocument(u"Data/Xml/French.xml"), kOk);
  XmlElement* element = nullptr;
  // Keyed "Setting::fr" from the root's language: not the "Setting::*" key.
  EXPECT_EQ(manager_->FindElement(u"Setting", element), kNotFound);
  EXPECT_EQ(element, nullptr);
  // The language-aware lookup finds it, a null ID being the empty one.
  ASSERT_EQ(manager_->GetElement(u"Setting", nullptr, element), kOk);
  EXPECT_EQ(manager_->Release(element), kOk);
  // A child's own Language overrides the root's.
  ASSERT_EQ(manager_->FindElement(u"Other", element), kOk);
  EXPECT_EQ(manager_->Release(element), kOk);
}

TEST_F(ResourceManagerTest, LatestRegistrationOfAKeyWins) {
  RegisterStrings();
  EXPECT_EQ(StringText(u"OKButton"), "OK");
  // The custom file's root says "EN": language names match without case.
  ASSERT_EQ(manager_->RegisterDocument(u"Data/Xml/Custom-Strings-en.xml"), kOk);
  EXPECT_EQ(StringText(u"OKButton"), "Okay");
  EXPECT_EQ(StringText(u"OnlyEnglish"), "English only");
}

TEST_F(ResourceManagerTest, DocumentRegisteredTwiceStillAnswers) {
  ASSERT_EQ(manager_->RegisterDocument(u"Data/Xml/Strings-en.xml"), kOk);
  const uint32_t once = manager_->CacheCount();
  ASSERT_EQ(manager_->RegisterDocument(u"Data/Xml/Strings-en.xml"), kOk);
  EXPECT_EQ(manager_->CacheCount(), once + 3);
  EXPECT_EQ(StringText(u"OKButton"), "OK");
  EXPECT_EQ(StringText(u"Shared"), "shared en");
}

// Elements handed out on both sides of a second registration: each release
// succeeds exactly once, whichever entry counted its user.
TEST_F(ResourceManagerTest, ReleasesAcrossASecondRegistrationSucceedOnce) {
  ASSERT_EQ(manager_->RegisterDocument(u"Data/Xml/Strings-en.xml"), kOk);
  XmlElement* before = nullptr;
  ASSERT_EQ(manager_->GetElement(u"String", u"OKButton", before), kOk);
  ASSERT_EQ(manager_->RegisterDocument(u"Data/Xml/Strings-en.xml"), kOk);
  EXPECT_EQ(manager_->Release(before), kOk);
  EXPECT_EQ(manager_->Release(before), kInvalidState);

  XmlElement* first = nullptr;
  XmlElement* second = nullptr;
  ASSERT_EQ(manager_->GetElement(u"String", u"OKButton", first), kOk);
  ASSERT_EQ(manager_->RegisterDocument(u"Data/Xml/Strings-en.xml"), kOk);
  ASSERT_EQ(manager_->GetElement(u"String", u"OKButton", second), kOk);
  EXPECT_EQ(first, second);
  EXPECT_EQ(manager_->Release(second), kOk);
  EXPECT_EQ(manager_->Release(first), kOk);
  EXPECT_EQ(manager_->Release(first), kInvalidState);
  // The registrations' own references are still there.
  EXPECT_EQ(StringText(u"OKButton"), "OK");
}

TEST_F(ResourceManagerTest, ReleasesBeyondWhatWasHandedOutAreRefused) {
  ASSERT_EQ(manager_->RegisterDocument(u"Data/Xml/Strings-en.xml"), kOk);
  XmlElement* element = nullptr;
  ASSERT_EQ(manager_->GetElement(u"String", u"OKButton", element), kOk);
  EXPECT_EQ(manager_->Release(element), kOk);
  EXPECT_EQ(manager_->Release(element), kInvalidState);
  EXPECT_EQ(StringText(u"OKButton"), "OK");

  // The registered document itself: a user may borrow it, not free it.
  XmlDocument* document = nullptr;
  ASSERT_EQ(manager_->GetDocument(u"Data/Xml/Strings-en.xml", document), kOk);
  EXPECT_EQ(manager_->Release(document), kOk);
  EXPECT_EQ(manager_->Release(document), kInvalidState);
  EXPECT_EQ(StringText(u"OKButton"), "OK");

  int never_handed_out = 0;
  EXPECT_EQ(manager_->Release(&never_handed_out), kInvalidState);
  EXPECT_EQ(manager_->Release(nullptr), kInvalidState);
}

TEST_F(ResourceManagerTest, ResourcesStillHeldAtDestructionAreFreed) {
  // Left to the destructor on purpose: LeakSanitizer checks that it frees them.
  Picture* picture = nullptr;
  ASSERT_EQ(manager_->GetPicture(u"Data/Pictures/Logo.png", picture), kOk);
  const uint8_t* bytes = nullptr;
  uint64_t size = 0;
  ASSERT_EQ(manager_->GetFile(u"Data/Xml/Configuration.xml", bytes, size), kOk);
  ASSERT_EQ(manager_->RegisterDocument(u"Data/Xml/Configuration.xml"), kOk);
  manager_.reset();
}

}  // namespace
}  // namespace vorn
