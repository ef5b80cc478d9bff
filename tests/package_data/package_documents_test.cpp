// The installer's real package data read the way the installer reads it:
// packed into an archive, registered with the resource manager in start-up
// order, looked up by the keys the code uses, localized in each of the four
// languages, and its pictures decoded. The file-level check
// (check_package_data.py) cannot see what only the framework's own parser
// and lookup would do with the files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "package/package_file_system.h"
#include "resources/languages.h"
#include "resources/localized_text.h"
#include "resources/picture.h"
#include "resources/resource_manager.h"
#include "resources/startup_documents.h"
#include "resources/support/test_package.h"
#include "xml/xml_document.h"
#include "xml/xml_element.h"

namespace vorn {
namespace {

namespace fs = std::filesystem;

class FixedLanguage : public ChosenLanguageSource {
 public:
  uint32_t ChosenLanguage() noexcept override { return index; }
  uint32_t index = kAnyLanguage;
};

// Texts the framework's own string files provide; they are not part of the
// folders this test packs.
const std::set<std::u16string> kFrameworkKeys = {u"OKButton", u"CancelButton", u"YesButton",
                                                 u"NoButton",  u"CloseButton",  u"QuitButton"};

std::u16string U16(const std::string& utf8) {
  std::u16string out;
  for (size_t i = 0; i < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    uint32_t code = c;
    size_t extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (extra) code = c & (0x3F >> extra);
    for (size_t k = 1; k <= extra && i + k < utf8.size(); ++k) code = (code << 6) | (utf8[i + k] & 0x3F);
    i += extra + 1;
    if (code >= 0x10000) {
      code -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (code >> 10));
      out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
      out += static_cast<char16_t>(code);
    }
  }
  return out;
}

test::Bytes ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return test::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Adds every file under `root` with its path relative to `root` as package
// path; returns the package paths.
std::vector<std::u16string> AddTree(test::TestPackage& package, const fs::path& root) {
  std::vector<std::u16string> paths;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    const std::string relative = fs::relative(entry.path(), root).generic_string();
    if (relative.rfind("Data/", 0) != 0) continue;  // the package root's data only
    paths.push_back(U16(relative));
    package.Add(paths.back(), ReadBytes(entry.path()));
  }
  return paths;
}

class PackageDocumentsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(fs::path(VORN_STANDARD_PACKAGE) / "Data/Pictures")) {
      GTEST_SKIP() << "the standard package was not built (target setup_package)";
    }
    standard_ = AddTree(package_, VORN_STANDARD_PACKAGE);
    product_ = AddTree(package_, VORN_DEMO_PACKAGE);
    package_.MountIn(files_);
    manager_.SetChosenLanguageSource(&language_);
    manager_.SetLocaleLanguage(kAnyLanguage);
  }

  std::string Localized(const std::u16string& text) {
    String result;
    last_ = LocalizeText(manager_, text.c_str(), result);
    return test::Utf8(result);
  }

  test::TestPackage package_;
  std::vector<std::u16string> standard_;
  std::vector<std::u16string> product_;
  PackageFileSystem files_;
  ResourceManager manager_{files_};
  FixedLanguage language_;
  Result last_ = kOk;
};

// Every "#Key" named by an attribute or a text of the element's subtree.
void CollectKey(const char16_t* text, std::set<std::u16string>& keys) {
  const std::u16string value = text ? text : u"";
  if (value.size() > 1 && value[0] == u'#' && value[1] != u'#') keys.insert(value.substr(1));
}

void CollectKeys(const XmlElement* element, std::set<std::u16string>& keys) {
  for (const XmlAttribute* a = element->FirstAttribute(); a; a = a->Next()) CollectKey(a->Value(), keys);
  // An element's own text, or the text nodes among its children.
  CollectKey(element->ValueText(), keys);
  for (const XmlElement* child = element->FirstChild(); child; child = child->NextSibling()) {
    if (child->Name()) {
      CollectKeys(child, keys);
    } else {
      CollectKey(child->ValueText(), keys);
    }
  }
}

TEST_F(PackageDocumentsTest, EveryStartUpDocumentRegistersAndTheCodesLookupsFindTheirElements) {
  // Each document on its own first, so that a failure names the file. The
  // file list is generated when a product is packed, so it is not here.
  for (const char16_t* path : kInstallerDocuments) {
    if (std::u16string(path) == u"Data/Xml/FileList.xml") continue;
    EXPECT_EQ(manager_.RegisterDocument(path), kOk) << test::Utf8(String(path));
  }

  XmlElement* element = nullptr;
  for (const char16_t* name : {u"Application", u"InstallationSettings", u"Preferences"}) {
    ASSERT_EQ(manager_.FindElement(name, element), kOk) << test::Utf8(String(name));
    manager_.Release(element);
  }
  const std::pair<const char16_t*, const char16_t*> described[] = {
      {u"Window", u"MainWindow"},           {u"DialogBox", u"MainPage"},
      {u"DialogBox", u"WelcomePage"},       {u"DialogBox", u"LicensePage"},
      {u"DialogBox", u"OptionsPage"},       {u"DialogBox", u"FileTransferPage"},
      {u"DialogBox", u"CanceledPage"},      {u"DialogBox", u"FailurePage"},
      {u"DialogBox", u"SuccessPage"},       {u"BrowseFolderDialog", u"BrowseInstallFolderDialog"},
      {u"MessageBox", u"CancelConfirmation"},
  };
  for (const auto& [name, id] : described) {
    ASSERT_EQ(manager_.GetElement(name, id, element), kOk) << test::Utf8(String(id));
    manager_.Release(element);
  }
  // The defaults the options page starts from.
  ASSERT_EQ(manager_.FindElement(u"Preferences", element), kOk);
  const XmlElement* desktop = element->Find(u"/User/Global/InstallOptions/CreateDesktopShortcut");
  const XmlElement* quick = element->Find(u"/User/Global/InstallOptions/CreateQuickLaunchShortcut");
  ASSERT_NE(desktop, nullptr);
  ASSERT_NE(quick, nullptr);
  String text;
  EXPECT_EQ(desktop->ReadText(&text), kOk);
  EXPECT_EQ(test::Utf8(text), "true");
  EXPECT_EQ(quick->ReadText(&text), kOk);
  EXPECT_EQ(test::Utf8(text), "false");
  manager_.Release(element);
}

TEST_F(PackageDocumentsTest, EveryKeyOfTheDescriptionsAndTheConfigurationResolvesInEachLanguage) {
  RegisterInstallerDocuments(manager_);
  std::set<std::u16string> keys;
  for (const char16_t* path : {u"Data/Xml/Windows.xml", u"Data/Xml/Dialogs.xml", u"Data/Xml/Configuration.xml"}) {
    XmlDocument* document = nullptr;
    ASSERT_EQ(manager_.GetDocument(path, document), kOk);
    CollectKeys(document->RootElement(), keys);
    manager_.Release(document);
  }
  ASSERT_GT(keys.size(), 30u);

  const struct {
    const char16_t* language;
    const char* welcome_tab;
  } languages[] = {{u"en", "Welcome"}, {u"fr", "Bienvenue"}, {u"it", "Benvenuto"}, {u"zh", "欢迎"}};
  for (const auto& [name, welcome_tab] : languages) {
    language_.index = LanguageIndex(name);
    for (const std::u16string& key : keys) {
      if (kFrameworkKeys.count(key)) continue;
      const std::string text = Localized(u"#" + key);
      EXPECT_EQ(last_, kOk) << test::Utf8(String(name)) << ": " << text;
      EXPECT_FALSE(text.empty()) << test::Utf8(String(key.c_str()));
    }
    // The language's own file answers, not the English fallback.
    EXPECT_EQ(Localized(u"#WelcomePageTitle"), welcome_tab);
    // The product's custom text, registered later, replaces the standard one.
    EXPECT_EQ(Localized(u"#WelcomeText").rfind("Vorn Demo", 0), 0u) << test::Utf8(String(name));
  }
}

TEST_F(PackageDocumentsTest, TheLicenceIsFormattedTextThatParsesAndKeepsItsWordsApart) {
  RegisterInstallerDocuments(manager_);
  const std::pair<const char16_t*, const char*> samples[] = {
      {u"en", "</b> (the"}, {u"fr", "</b> (le"}, {u"it", "</b> (il"}, {u"zh", "<b>Vorn Demo</b>"}};
  for (const auto& [name, sample] : samples) {
    language_.index = LanguageIndex(name);
    const std::string markup = Localized(u"#LicenseText");
    ASSERT_EQ(last_, kOk);
    // What the rich edit does with it: wrap it and parse it again.
    const std::string wrapped = "<XmlText>" + markup + "</XmlText>";
    XmlDocument document;
    ASSERT_EQ(document.Parse(wrapped.data(), wrapped.size()), kOk) << markup;
    ASSERT_NE(document.RootElement(), nullptr);
    EXPECT_NE(markup.find(sample), std::string::npos) << markup;
    EXPECT_NE(markup.find("<a href=\""), std::string::npos);
    EXPECT_NE(markup.find("<li>"), std::string::npos);
    EXPECT_EQ(markup.find('\n'), std::string::npos) << "line feeds would show inside paragraphs";
  }
}

TEST_F(PackageDocumentsTest, EveryPictureDecodesWithAnAlphaChannelInWholeSquareImages) {
  int pictures = 0;
  for (const std::u16string& path : standard_) {
    if (path.rfind(u"Data/Pictures/", 0) != 0) continue;
    ++pictures;
    Picture* picture = nullptr;
    ASSERT_EQ(manager_.GetPicture(path.c_str(), picture), kOk) << test::Utf8(String(path.c_str()));
    EXPECT_EQ(picture->Format(), kPictureFormatRgba);
    EXPECT_TRUE(picture->Height() == 16 || picture->Height() == 32 || picture->Height() == 48);
    EXPECT_EQ(picture->Width() % picture->Height(), 0u);
    manager_.Release(picture);
  }
  EXPECT_GE(pictures, 10);
}

}  // namespace
}  // namespace vorn
