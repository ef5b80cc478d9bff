#include "setup/installation_settings.h"

#include <gtest/gtest.h>

#include <memory>

#include "foundation/path.h"
#include "foundation/special_folder.h"
#include "package/package_file_system.h"
#include "resources/resource_manager.h"
#include "setup/support/settings_documents.h"
#include "setup/support/xml_package.h"
#include "xml/xml_element.h"

namespace vorn {
namespace {

using test::ConfigurationXml;
using test::FileListXml;
using test::FileXml;
using test::SettingsText;
using test::Utf8;

// Settings built from a package with the two documents and an English
// string file, as the installer registers them.
class SettingsFromPackage {
 public:
  SettingsFromPackage(const SettingsText& text, const std::string& file_list) {
    package_.Add(u"Data/Xml/Configuration.xml", ConfigurationXml(text));
    package_.Add(u"Data/Xml/FileList.xml", file_list);
    package_.Add(u"Data/Xml/VornSetup-Strings-en.xml",
                 test::EnglishStrings("<String ID=\"ProductDescription\">A product for tests"
                                      "</String>\n<String ID=\"ReadMe\">Read me</String>\n"));
    EXPECT_EQ(package_.MountIn(files_), kOk);
    resources_ = std::make_unique<ResourceManager>(files_);
    for (const char16_t* document : {u"Data/Xml/Configuration.xml", u"Data/Xml/FileList.xml",
                                     u"Data/Xml/VornSetup-Strings-en.xml"}) {
      EXPECT_EQ(resources_->RegisterDocument(document), kOk);
    }
    settings.Build(*resources_);
  }

  InstallationSettings settings;

 private:
  test::XmlPackage package_;
  PackageFileSystem files_;
  std::unique_ptr<ResourceManager> resources_;
};

std::string OneFile(unsigned long long size) {
  return FileListXml("Product/", FileXml("Product.exe", size));
}

TEST(InstallationSettings, DerivedValuesFollowTheProductDescription) {
  SettingsText text;
  text.executable_x64 = "x64\\Product64.exe";
  text.distribution = "OpenBeta";
  SettingsFromPackage built(text, OneFile(10));
  const InstallationSettings& settings = built.settings;

  // A Tag of two words: only the first one goes into the display name.
  EXPECT_EQ(Utf8(settings.DisplayName()), "Vorn Test Product (Beta)");
  EXPECT_EQ(Utf8(settings.FullTitle()), "Vorn Test Product 2.5 Beta one");
  EXPECT_EQ(Utf8(settings.UuidText()), "5A0C1E27-9B3D-4F61-8C2E-7D4B9A0F1E36");
  EXPECT_EQ(Utf8(settings.UninstallKey()),
            "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
            "{5A0C1E27-9B3D-4F61-8C2E-7D4B9A0F1E36}");
  EXPECT_EQ(Utf8(settings.description), "A product for tests");
  EXPECT_EQ(settings.distribution, Distribution::kOpenBeta);
  EXPECT_EQ(Utf8(settings.contact), "contact@vorn.example");
  EXPECT_EQ(Utf8(settings.register_url), "https://vorn.example/register");

  // Without a recorded installation: Program Files, Company, display name.
  String program_files;
  GetSpecialFolder(kProgramFilesFolder, program_files);
  if (!path::EndsWithSeparator(program_files)) program_files += u'\\';
  EXPECT_EQ(Utf8(settings.install_folder),
            Utf8(program_files) + "Vorn Test Company\\Vorn Test Product (Beta)");
  EXPECT_EQ(Utf8(settings.program_group), "Vorn Test Product (Beta)");

  const std::string folder = Utf8(settings.install_folder) + "\\";
  EXPECT_EQ(Utf8(settings.InstallFolderPath()), folder);
  EXPECT_EQ(Utf8(settings.MainExecutablePath()), folder + "Product.exe");
  EXPECT_EQ(Utf8(settings.X64ExecutablePath()), folder + "x64\\Product64.exe");
  EXPECT_EQ(Utf8(settings.ProductExecutableFor(true)), folder + "x64\\Product64.exe");
  EXPECT_EQ(Utf8(settings.ProductExecutableFor(false)), folder + "Product.exe");
}

TEST(InstallationSettings, WithoutTagOrX64ExecutableTheNamesStayPlain) {
  SettingsText text;
  text.tag.clear();
  text.distribution = "Nightly";  // not a known kind: stays public
  SettingsFromPackage built(text, OneFile(10));
  const InstallationSettings& settings = built.settings;
  EXPECT_EQ(Utf8(settings.DisplayName()), "Vorn Test Product");
  EXPECT_EQ(Utf8(settings.FullTitle()), "Vorn Test Product 2.5");
  EXPECT_EQ(Utf8(settings.program_group), "Vorn Test Product");
  EXPECT_TRUE(settings.X64ExecutablePath().IsEmpty());
  EXPECT_EQ(Utf8(settings.ProductExecutableFor(true)), Utf8(settings.MainExecutablePath()));
  EXPECT_EQ(settings.distribution, Distribution::kPublic);
}

TEST(InstallationSettings, ShortcutsNeedATargetAndAHelpText) {
  SettingsText text;
  text.shortcuts =
      "<Shortcut Text=\"#ReadMe\" Help=\"#ReadMe\">ReadMe.txt</Shortcut>"
      "<Shortcut Text=\"Manual\">Manual.pdf</Shortcut>"                 // no Help: dropped
      "<Shortcut Text=\"Nothing\" Help=\"Starts nothing\"></Shortcut>"  // no target
      "<Link Text=\"Other\" Help=\"Other\">Other.txt</Link>"
      "<Shortcut Help=\"Untitled\">Untitled.txt</Shortcut>";
  SettingsFromPackage built(text, OneFile(10));
  const InstallationSettings& settings = built.settings;
  ASSERT_EQ(settings.shortcuts.Count(), 2u);
  EXPECT_EQ(Utf8(settings.shortcuts[0].target), "ReadMe.txt");
  EXPECT_EQ(Utf8(settings.shortcuts[0].text), "#ReadMe");
  EXPECT_EQ(Utf8(settings.shortcuts[0].help), "#ReadMe");
  EXPECT_EQ(Utf8(settings.shortcuts[1].target), "Untitled.txt");
  EXPECT_TRUE(settings.shortcuts[1].text.IsEmpty());
}

TEST(InstallationSettings, NestedFileListsPrefixTheirPaths) {
  const std::string list = FileListXml(
      "Product/", FileXml("Product.exe", 100) + "<Files Path=\"Data/\">" + FileXml("a.dat", 20) +
                      "<Files Path=\"Maps/\">" + FileXml("b.map", 3) + "</Files>" +
                      "<Files Path=\"Glued\">" + FileXml("c.txt", 4) + "</Files>" + "</Files>" +
                      FileXml("ReadMe.txt", 1));
  SettingsFromPackage built(SettingsText(), list);
  const InstallationSettings& settings = built.settings;
  EXPECT_EQ(Utf8(settings.source_folder), "Product/");
  ASSERT_EQ(settings.files.Count(), 5u);
  EXPECT_EQ(Utf8(settings.files[0].relative_path), "Product.exe");
  EXPECT_EQ(Utf8(settings.files[1].relative_path), "Data/a.dat");
  EXPECT_EQ(Utf8(settings.files[2].relative_path), "Data/Maps/b.map");
  EXPECT_EQ(Utf8(settings.files[3].relative_path), "Data/Gluedc.txt");
  EXPECT_EQ(Utf8(settings.files[4].relative_path), "ReadMe.txt");
  EXPECT_EQ(settings.total_size, 128u);
  EXPECT_EQ(settings.files[2].size, 3u);
  EXPECT_FALSE(settings.files[2].date.IsNoDate());
  EXPECT_FALSE(settings.files[2].installed);
}

TEST(InstallationSettings, SpaceRequiredRoundsUpToWholeMebibytes) {
  struct Case {
    unsigned long long bytes;
    float mebibytes;
  };
  for (const Case& c : {Case{0, 0.0f}, Case{1, 1.0f}, Case{1048576, 1.0f}, Case{1048577, 2.0f},
                        Case{5u * 1048576u + 7u, 6.0f}}) {
    SettingsFromPackage built(SettingsText(), OneFile(c.bytes));
    EXPECT_EQ(built.settings.SpaceRequiredMiB(), c.mebibytes) << c.bytes;
  }
}

TEST(InstallationSettings, BrokenDocumentsKeepWhatWasReadBeforeTheFault) {
  InstallationSettings settings;
  test::XmlPackage package;
  package.Add(u"Data/Xml/Settings.xml",
              "<Resources>"
              "<InstallationSettings><Application UUID=\"not a uuid\" Name=\"N\" Version=\"1\""
              " Company=\"C\"/><Description>D</Description></InstallationSettings>"
              "<NoPath><File Size=\"1\" Date=\"2016-03-10T00:00:00Z\">x</File></NoPath>"
              "<NoSize><File Date=\"2016-03-10T00:00:00Z\">x</File></NoSize>"
              "<BadDate><File Size=\"1\" Date=\"yesterday\">x</File></BadDate>"
              "<NoName><Application UUID=\"5A0C1E27-9B3D-4F61-8C2E-7D4B9A0F1E36\""
              " Version=\"1\" Company=\"C\"/></NoName>"
              "</Resources>");
  PackageFileSystem files;
  ASSERT_EQ(package.MountIn(files), kOk);
  ResourceManager resources(files);
  ASSERT_EQ(resources.RegisterDocument(u"Data/Xml/Settings.xml"), kOk);
  auto element = [&](const char16_t* name) {
    XmlElement* found = nullptr;
    EXPECT_EQ(resources.FindElement(name, found), kOk);
    return found;
  };

  // No Executable: 29, with everything before it kept; the bad UUID is null.
  EXPECT_EQ(settings.ParseSettings(*element(u"InstallationSettings")), kNotFound);
  EXPECT_EQ(Utf8(settings.name), "N");
  EXPECT_EQ(Utf8(settings.description), "D");
  EXPECT_EQ(Utf8(settings.UuidText()), "00000000-0000-0000-0000-000000000000");

  // Missing attributes: 6; a date that is no date: its own code, clearly.
  EXPECT_EQ(settings.ReadFileList(*element(u"NoPath")), kMissingData);
  EXPECT_EQ(settings.ReadFileList(*element(u"NoSize")), kMissingData);
  EXPECT_NE(settings.ReadFileList(*element(u"BadDate")), kOk);
  EXPECT_EQ(settings.files.Count(), 0u);
  InstallationSettings unnamed;
  EXPECT_EQ(unnamed.ParseSettings(*element(u"NoName")), kMissingData);

  // Building keeps what the broken element gave and goes on without a list.
  InstallationSettings partial;
  partial.Build(resources);
  EXPECT_EQ(Utf8(partial.name), "N");
  EXPECT_TRUE(partial.executable.IsEmpty());
  EXPECT_EQ(partial.files.Count(), 0u);
  EXPECT_EQ(Utf8(partial.program_group), "N");

  // Resources without either document leave the settings empty but usable.
  ResourceManager no_documents(files);
  InstallationSettings empty;
  empty.Build(no_documents);
  EXPECT_TRUE(empty.name.IsEmpty());
  EXPECT_EQ(empty.files.Count(), 0u);
  EXPECT_EQ(empty.SpaceRequiredMiB(), 0.0f);
}

TEST(GrowingList, DoublesFromSixteenEntries) {
  GrowingList<String> list;
  EXPECT_EQ(list.Capacity(), 0u);
  for (int i = 0; i < 17; ++i) ASSERT_EQ(list.Append(String(u"entry")), kOk);
  EXPECT_EQ(list.Count(), 17u);
  EXPECT_EQ(list.Capacity(), 32u);
  EXPECT_EQ(Utf8(list[16]), "entry");
}

}  // namespace
}  // namespace vorn
