// A vendor's way from a folder of product files to Setup.exe: `init` writes
// the package folder, the product's files are copied in, `build` checks and
// packs it with its file list, `setup` writes it into the installer that the
// tool carries. Bad options and folders that hold something are refused
// before anything is written.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>

#include "archive_file.h"
#include "tool_text.h"
#include "vornpack/support/test_pe.h"
#include "vornpack/support/tool_fixture.h"
#include "xml/xml_document.h"
#include "xml/xml_element.h"

namespace vornpack_test {
namespace {

const std::regex kUuid("[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}");

std::string Text(const fs::path& path) {
  const Bytes bytes = ReadFile(path);
  return std::string(bytes.begin(), bytes.end());
}

// An attribute of the element at `path` below the document's root, as the
// installer reads it.
std::string AttributeAt(const fs::path& file, const char16_t* path, const char16_t* name) {
  const std::string text = Text(file);
  vorn::XmlDocument document;
  if (document.Parse(text.data(), text.size()) != vorn::kOk) return "<no parse>";
  const vorn::XmlElement* element = document.RootElement()->Find(path);
  if (element == nullptr) return "<no element>";
  const vorn::XmlAttribute* attribute = element->FindAttribute(name);
  return attribute == nullptr ? "<no attribute>"
                              : vornpack::ToUtf8(std::u16string(attribute->Value()));
}

class VendorWorkflowTest : public testing::Test {
 protected:
  void SetUp() override {
    // Stand-ins for the two installers the build puts next to the tool.
    TestPeOptions x86;
    x86.pe32_plus = false;
    WriteFile(temp_.Path() / "stubs/vornpack-stub-x86.exe", BuildTestPe(x86));
    WriteFile(temp_.Path() / "stubs/vornpack-stub-x64.exe", BuildTestPe(TestPeOptions{}));
    SetEnvironment("VORNPACK_STUB_DIR", temp_("stubs").c_str());
  }
  void TearDown() override { SetEnvironment("VORNPACK_STUB_DIR", nullptr); }

  RunResult Init(const std::string& folder, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"init",         temp_(folder),   "--name",    "Acme Writer",
                                     "--company",    "Acme & Sons",   "--version", "2.1.3",
                                     "--executable", "Bin/Writer.exe"};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunTool(args);
  }
  TempFolder temp_;
};

TEST_F(VendorWorkflowTest, FromAFolderToSetupExeInThreeCommands) {
  RunResult run =
      Init("pkg", {"--tag", "Beta 2", "--uuid", "{0a1b2c3d-4e5f-4a6b-8c7d-9e0f1a2b3c4d}",
                   "--website", "https://acme.example/writer"});
  ASSERT_EQ(run.status, 0) << run.error;
  EXPECT_NE(run.out.find("vornpack build"), std::string::npos) << run.out;
  EXPECT_TRUE(fs::is_directory(temp_.Path() / "pkg/Product"));
  EXPECT_TRUE(fs::is_empty(temp_.Path() / "pkg/Product"));

  // The configuration, read as the installer reads it: the product as given
  // (the escaped company included), the UUID normalised, the installer's own
  // UUID a different one.
  const fs::path configuration = temp_.Path() / "pkg/Data/Xml/Configuration.xml";
  const char16_t* product = u"/InstallationSettings/Application";
  EXPECT_EQ(AttributeAt(configuration, product, u"Name"), "Acme Writer");
  EXPECT_EQ(AttributeAt(configuration, product, u"Company"), "Acme & Sons");
  EXPECT_EQ(AttributeAt(configuration, product, u"Version"), "2.1.3");
  EXPECT_EQ(AttributeAt(configuration, product, u"Tag"), "Beta 2");
  EXPECT_EQ(AttributeAt(configuration, product, u"UUID"), "0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D");
  const std::string installer = AttributeAt(configuration, u"/Application", u"UUID");
  EXPECT_TRUE(std::regex_match(installer, kUuid)) << installer;
  EXPECT_NE(installer, "0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D");
  EXPECT_NE(Text(configuration).find("<Executable>Bin\\Writer.exe</Executable>"),
            std::string::npos);
  EXPECT_NE(Text(configuration).find("<WebSite>https://acme.example/writer</WebSite>"),
            std::string::npos);
  // The product's texts and the licence placeholder, one per language, each
  // in its own language.
  const std::pair<const char*, const char*> languages[] = {{"en", "license agreement"},
                                                           {"fr", "contrat de licence"},
                                                           {"it", "contratto di licenza"},
                                                           {"zh", "许可协议"}};
  for (const auto& [language, words] : languages) {
    const fs::path licence =
        temp_.Path() / "pkg/Data/Xml" / (std::string("VornSetup-License-") + language + ".xml");
    EXPECT_EQ(AttributeAt(licence, u"/String", u"ID"), "LicenseText") << language;
    EXPECT_NE(Text(licence).find(words), std::string::npos) << language;
    EXPECT_NE(Text(licence).find("Acme Writer"), std::string::npos) << language;
    const fs::path strings = temp_.Path() / "pkg/Data/Xml" /
                             (std::string("VornSetup-Custom-Strings-") + language + ".xml");
    EXPECT_EQ(AttributeAt(strings, u"/String", u"ID"), "ProductDescription") << language;
  }

  // Until the product's files are there, the one problem is the executable.
  run = RunTool({"check", temp_("pkg")});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("Configuration.xml:"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"Bin/Writer.exe\" is not among the product files"), std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find(": 1 problem\n"), std::string::npos) << run.out;

  WriteFile(temp_.Path() / "pkg/Product/Bin/Writer.exe", NoiseBytes(30000, 1));
  WriteFile(temp_.Path() / "pkg/Product/Docs/Read Me.txt", TextBytes(4000, 2));
  run = RunTool({"check", temp_("pkg")});
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_NE(run.out.find("no problems"), std::string::npos) << run.out;

  run = RunTool({"build", temp_("pkg"), "-o", temp_("Writer.kelp"), "--quiet", "--file-list",
                 temp_("pkg/Product")});
  ASSERT_EQ(run.status, 0) << run.error;
  run = RunTool({"setup", "--package", temp_("Writer.kelp"), "-o", temp_("Setup.exe")});
  ASSERT_EQ(run.status, 0) << run.error;
  run = RunTool(
      {"setup", "--arch", "x64", "--package", temp_("Writer.kelp"), "-o", temp_("Setup64.exe")});
  ASSERT_EQ(run.status, 0) << run.error;

  // The default is the 32-bit installer; --arch x64 takes the other one.
  // Both carry the package, whose listing names the product's files.
  const Bytes x86 = ReadFile(temp_.Path() / "Setup.exe");
  const Bytes x64 = ReadFile(temp_.Path() / "Setup64.exe");
  ASSERT_GT(x86.size(), 0x200u);
  ASSERT_GT(x64.size(), 0x200u);
  const auto magic = [](const Bytes& pe) {
    const uint32_t header = pe[0x3C] | pe[0x3D] << 8;
    return pe[header + 24] | pe[header + 25] << 8;
  };
  EXPECT_EQ(magic(x86), 0x10B);
  EXPECT_EQ(magic(x64), 0x20B);
  for (const char* setup : {"Setup.exe", "Setup64.exe"}) {
    vornpack::ArchiveFile carried;
    std::string error;
    ASSERT_EQ(carried.Load(vornpack::FromUtf8(temp_(setup)), error), vorn::kOk) << error;
    EXPECT_EQ(Bytes(carried.Data(), carried.Data() + carried.Size()),
              ReadFile(temp_.Path() / "Writer.kelp"));
    run = RunTool({"list", temp_(setup)});
    ASSERT_EQ(run.status, 0) << run.error;
    for (const char* path :
         {"Product/Bin/Writer.exe", "Product/Docs/Read Me.txt", "Data/Xml/FileList.xml",
          "Data/Xml/Configuration.xml", "Data/Xml/VornSetup-License-zh.xml",
          "Data/Pictures/SetupHeader.png"}) {
      EXPECT_NE(run.out.find(path), std::string::npos) << path << "\n" << run.out;
    }
  }
}

TEST_F(VendorWorkflowTest, EachInitGivesTheProductAndTheInstallerTheirOwnUuids) {
  ASSERT_EQ(Init("one").status, 0);
  ASSERT_EQ(Init("two").status, 0);
  std::set<std::string> seen;
  for (const char* folder : {"one", "two"}) {
    const fs::path configuration = temp_.Path() / folder / "Data/Xml/Configuration.xml";
    for (const char16_t* path : {u"/Application", u"/InstallationSettings/Application"}) {
      const std::string uuid = AttributeAt(configuration, path, u"UUID");
      EXPECT_TRUE(std::regex_match(uuid, kUuid)) << uuid;
      EXPECT_EQ(uuid[14], '4') << uuid;  // random, not derived from anything
      seen.insert(uuid);
    }
  }
  EXPECT_EQ(seen.size(), 4u);
}

TEST_F(VendorWorkflowTest, InitRefusesBadOptionsAndFoldersThatHoldSomething) {
  // Each case changes or adds one option of a sound command line.
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"--name", ""},
      {"--name", "A/B"},
      {"--name", "N."},
      {"--company", "C:"},
      {"--tag", "x|y"},
      {"--version", "1.x"},
      {"--version", "1..2"},
      {"--version", "1.2.3.4.5"},
      {"--executable", ""},
      {"--executable", "../a.exe"},
      {"--executable", "Bin\\..\\a.exe"},
      {"--executable", "/usr/a.exe"},
      {"--executable", "C:\\a.exe"},
      {"--executable", "Bin//a.exe"},
      {"--executable", "a?.exe"},
      {"--uuid", "0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4"},
      {"--uuid", "00000000-0000-0000-0000-000000000000"},
      {"--website", "acme.example"},
      {"--colour", "red"},
  };
  for (const auto& [option, value] : cases) {
    std::vector<std::string> args = {"init",         temp_("new"), "--name",    "N",
                                     "--company",    "C",          "--version", "1",
                                     "--executable", "a.exe"};
    const auto given = std::find(args.begin(), args.end(), option);
    if (given != args.end()) {
      given[1] = value;
    } else {
      args.insert(args.end(), {option, value});
    }
    RunResult run = RunTool(args);
    EXPECT_EQ(run.status, 2) << option << " " << value;
    EXPECT_NE(run.error.find(option), std::string::npos) << run.error;
    EXPECT_FALSE(fs::exists(temp_.Path() / "new")) << option << " " << value;
  }

  // A folder with anything in it (even an empty folder) is refused, and
  // left as it was.
  fs::create_directories(temp_.Path() / "used/Old");
  RunResult run = Init("used");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.error.find("is not empty"), std::string::npos) << run.error;
  EXPECT_NE(run.error.find("--force"), std::string::npos) << run.error;
  EXPECT_EQ(FilesBelow(temp_.Path() / "used").size(), 0u);
  WriteFile(temp_.Path() / "file", std::string("mine"));
  run = Init("file");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.error.find("not a folder"), std::string::npos) << run.error;
  EXPECT_EQ(Text(temp_.Path() / "file"), "mine");

  // --force writes into it: the package files are replaced, the vendor's
  // own files stay.
  ASSERT_EQ(Init("pkg").status, 0);
  WriteFile(temp_.Path() / "pkg/Product/Bin/Writer.exe", std::string("the product"));
  WriteFile(temp_.Path() / "pkg/Data/Xml/Configuration.xml", std::string("<Resources/>"));
  run = Init("pkg");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Text(temp_.Path() / "pkg/Data/Xml/Configuration.xml"), "<Resources/>");
  ASSERT_EQ(Init("pkg", {"--force"}).status, 0);
  EXPECT_EQ(Text(temp_.Path() / "pkg/Product/Bin/Writer.exe"), "the product");
  EXPECT_EQ(AttributeAt(temp_.Path() / "pkg/Data/Xml/Configuration.xml",
                        u"/InstallationSettings/Application", u"Name"),
            "Acme Writer");
  EXPECT_EQ(RunTool({"check", temp_("pkg")}).status, 0);
}

TEST_F(VendorWorkflowTest, SetupWithoutACarriedInstallerAsksForStub) {
  ASSERT_EQ(Init("pkg").status, 0);
  WriteFile(temp_.Path() / "pkg/Product/Bin/Writer.exe", NoiseBytes(1000, 3));
  ASSERT_EQ(RunTool({"build", temp_("pkg"), "-o", temp_("p.kelp"), "--quiet", "--file-list",
                     temp_("pkg/Product")})
                .status,
            0);
  fs::remove(temp_.Path() / "stubs/vornpack-stub-x64.exe");
  RunResult run =
      RunTool({"setup", "--arch", "x64", "--package", temp_("p.kelp"), "-o", temp_("Setup.exe")});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.error.find("no x64 installer"), std::string::npos) << run.error;
  EXPECT_NE(run.error.find("--stub"), std::string::npos) << run.error;
  EXPECT_FALSE(fs::exists(temp_.Path() / "Setup.exe"));
  // An explicit stub still serves; --arch goes only without one.
  run = RunTool({"setup", "--stub", temp_("stubs/vornpack-stub-x86.exe"), "--package",
                 temp_("p.kelp"), "-o", temp_("Setup.exe")});
  EXPECT_EQ(run.status, 0) << run.error;
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"setup", "--arch", "arm64", "--package", temp_("p.kelp"), "-o",
                                 temp_("S.exe")},
        std::vector<std::string>{"setup", "--arch", "x86", "--stub", temp_("Setup.exe"),
                                 "--package", temp_("p.kelp"), "-o", temp_("S.exe")}}) {
    run = RunTool(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.error.find("--arch"), std::string::npos) << run.error;
    EXPECT_FALSE(fs::exists(temp_.Path() / "S.exe"));
  }
}

}  // namespace
}  // namespace vornpack_test
