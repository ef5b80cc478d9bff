#include "resources/startup_documents.h"

#include <gtest/gtest.h>

#include "resources/languages.h"
#include "resources/localized_text.h"
#include "resources/resource_manager.h"
#include "resources/support/test_package.h"

namespace vorn {
namespace {

class FixedLanguage : public ChosenLanguageSource {
 public:
  uint32_t ChosenLanguage() noexcept override { return index; }
  uint32_t index = kAnyLanguage;
};

TEST(StartupDocumentsTest, MissingAndBrokenFilesAreSkippedAndLaterDocumentsOverride) {
  test::TestPackage package;
  package.AddXml(u"Data/Xml/Configuration.xml",
                 "<Resources><Application Company=\"Kelp\" Name=\"Demo\" Version=\"1\"/>"
                 "</Resources>");
  package.AddXml(u"Data/Xml/VornSetup-Strings-en.xml",
                 test::StringFile("en", {{"Welcome", "Welcome"}, {"NextButton", "Next"}}));
  // The French installer strings do not parse: their entries are absent.
  package.AddXml(u"Data/Xml/VornSetup-Strings-fr.xml",
                 "<Resources Language=\"fr\"><String ID=\"NextButton\">Suivant</Resources>");
  package.AddXml(u"Data/Xml/VornSetup-Custom-Strings-en.xml",
                 test::StringFile("en", {{"Welcome", "Welcome to Demo"}}));
  package.AddXml(u"Data/Xml/VornLib-Strings-en.xml", test::StringFile("en", {{"OKButton", "OK"}}));
  package.AddXml(u"Data/Xml/VornLib-Strings-fr.xml",
                 test::StringFile("fr", {{"OKButton", "Valider"}}));
  PackageFileSystem files;
  package.MountIn(files);
  ResourceManager manager(files);
  FixedLanguage language;
  language.index = LanguageIndex(u"fr");
  manager.SetChosenLanguageSource(&language);
  manager.SetLocaleLanguage(kAnyLanguage);

  EXPECT_EQ(RegisterInstallerDocuments(manager), 3u);
  EXPECT_EQ(RegisterFrameworkStrings(manager), 2u);
  EXPECT_EQ(RegisterDocuments(manager, nullptr, 4), 0u);

  XmlElement* application = nullptr;
  ASSERT_EQ(manager.FindElement(u"Application", application), kOk);
  EXPECT_EQ(manager.Release(application), kOk);
  String text;
  EXPECT_EQ(LocalizeText(manager, u"#Welcome", text), kOk);
  EXPECT_EQ(text, u"Welcome to Demo");
  EXPECT_EQ(LocalizeText(manager, u"#NextButton", text), kOk);
  EXPECT_EQ(text, u"Next");
  EXPECT_EQ(LocalizeText(manager, u"#OKButton", text), kOk);
  EXPECT_EQ(text, u"Valider");
}

}  // namespace
}  // namespace vorn
