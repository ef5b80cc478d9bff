// The process-wide manager and preferences, wired together as the
// application uses them. This is the only test that touches them.
#include <gtest/gtest.h>

#include "package/package_file_system.h"
#include "resources/languages.h"
#include "resources/localized_text.h"
#include "resources/preferences.h"
#include "resources/resource_manager.h"
#include "resources/support/test_package.h"

namespace vorn {
namespace {

TEST(ResourceInstancesTest, LanguageSwitchReachesLocalizedTexts) {
  // Mounted in the process's file system, which borrows it until exit.
  static test::TestPackage package;
  package.AddXml(u"Data/Xml/VornLib-Resources.xml",
                 "<Resources><Menu ID=\"Edit\"/><String ID=\"Marker\">framework</String>"
                 "</Resources>");
  package.AddXml(u"Data/Xml/VornLib-Strings-en.xml",
                 test::StringFile("en", {{"OKButton", "OK"}, {"CloseButton", "Close"}}));
  package.AddXml(u"Data/Xml/VornLib-Strings-fr.xml",
                 test::StringFile("fr", {{"OKButton", "Valider"}}));
  package.MountIn(PackageFileSystem::Instance());

  ResourceManager& manager = ResourceManager::Instance();
  EXPECT_EQ(&manager, &ResourceManager::Instance());
  // Creating the manager registered the framework's own resources.
  XmlElement* menu = nullptr;
  ASSERT_EQ(manager.GetElement(u"Menu", u"Edit", menu), kOk);
  EXPECT_EQ(manager.Release(menu), kOk);
  ASSERT_EQ(manager.RegisterDocument(u"Data/Xml/VornLib-Strings-en.xml"), kOk);
  ASSERT_EQ(manager.RegisterDocument(u"Data/Xml/VornLib-Strings-fr.xml"), kOk);

  EXPECT_EQ(SetChosenLanguage(u"pirate"), kInvalidArgument);
  ASSERT_EQ(SetChosenLanguage(u"fr"), kOk);
  EXPECT_EQ(ChosenLanguage(), LanguageIndex(u"fr"));
  EXPECT_EQ(LocalizedString(u"#OKButton"), u"Valider");
  EXPECT_EQ(LocalizedString(u"#CloseButton"), u"Close");
  EXPECT_EQ(LocalizedString(u"#Marker"), u"framework");
  EXPECT_EQ(LocalizedString(u"#Nothing"), u"<Localized Text: Nothing>");
  String stored;
  ASSERT_EQ(Preferences::Instance().GetText(u"/User/Global/Language", &stored), kOk);
  EXPECT_EQ(stored, u"fr");
}

}  // namespace
}  // namespace vorn
