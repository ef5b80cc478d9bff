// `vornpack check` on the package a vendor would ship: the standard package
// as `init` writes it with the demo product's part. The sound folder passes;
// each kind of fault, made in a copy of it, is reported once, at the file,
// line and column of the element it is about. `build` runs the same checks
// and packs nothing while a problem is left.
#include <gtest/gtest.h>

#include "vornpack/support/tool_fixture.h"

namespace vornpack_test {
namespace {

std::string Text(const fs::path& path) {
  const Bytes bytes = ReadFile(path);
  return std::string(bytes.begin(), bytes.end());
}

// "LINE:COLUMN" of the first occurrence of `locator` in `text`, counted as
// the messages count: lines from 1, columns from 1 with TAB stops every 4.
std::string PlaceOf(const std::string& text, const std::string& locator) {
  const size_t at = text.find(locator);
  if (at == std::string::npos) return "<" + locator + " not found>";
  const size_t line_start =
      text.rfind('\n', at) == std::string::npos ? 0 : text.rfind('\n', at) + 1;
  uint32_t column = 0;
  for (size_t i = line_start; i < at; ++i) {
    // Count characters, not the bytes of UTF-8 sequences (or the BOM).
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (i == 0 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) continue;
    column = text[i] == '\t' ? (column + 4) & ~3u : column + 1;
  }
  const size_t line = 1 + std::count(text.begin(), text.begin() + static_cast<ptrdiff_t>(at), '\n');
  return std::to_string(line) + ":" + std::to_string(column + 1);
}

class PackageCheckTest : public testing::Test {
 protected:
  // The standard package from `init`, then the demo product's own part in
  // place of the one `init` wrote, and its program.
  void MakePackage(const std::string& name) {
    RunResult run = RunTool({"init", temp_(name), "--name", "Vorn Demo", "--company", "Vorn",
                             "--version", "1.0", "--executable", "VornDemo.exe"});
    ASSERT_EQ(run.status, 0) << run.error;
    const fs::path xml = temp_.Path() / name / "Data/Xml";
    for (const auto& entry : fs::directory_iterator(xml)) {
      const std::string file = entry.path().filename().string();
      if (file == "Configuration.xml" || file.rfind("VornSetup-Custom-", 0) == 0 ||
          file.rfind("VornSetup-License-", 0) == 0) {
        fs::remove(entry.path());
      }
    }
    fs::copy(VORN_DEMO_PACKAGE, temp_.Path() / name, fs::copy_options::recursive);
    WriteFile(temp_.Path() / name / "Product/VornDemo.exe", NoiseBytes(5000, 7));
  }
  TempFolder temp_;
};

TEST_F(PackageCheckTest, TheDemoPackageAndAFreshInitPassClean) {
  MakePackage("demo");
  RunResult run = RunTool({"check", temp_("demo")});
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(run.out, temp_("demo") + ": no problems\n");
  // With the product folder named as build takes it.
  run = RunTool({"check", temp_("demo"), "--file-list", temp_("demo/Product")});
  EXPECT_EQ(run.status, 0) << run.out;

  ASSERT_EQ(RunTool({"init", temp_("fresh"), "--name", "N", "--company", "C", "--version", "1",
                     "--executable", "Bin/n.exe"})
                .status,
            0);
  // Spelt in another case, as Windows finds it once installed.
  WriteFile(temp_.Path() / "fresh/Product/BIN/N.exe", NoiseBytes(100, 8));
  run = RunTool({"check", temp_("fresh")});
  EXPECT_EQ(run.status, 0) << run.out;
}

TEST_F(PackageCheckTest, EachProblemIsReportedOnceWhereItIs) {
  enum Action { kReplace, kRemove, kGarbage };
  struct Case {
    Action action;
    std::string file;  // below the package folder
    std::string find, replace;
    std::string reported_file;  // the message's file; its line holds `locator`
    std::string locator;
    std::string says;
  };
  const std::string dialogs = "Data/Xml/Dialogs.xml";
  const std::string configuration = "Data/Xml/Configuration.xml";
  const std::string product_uuid = "A3F7E25B-8DDD-4295-AABA-AA8422105818";
  const std::vector<Case> cases = {
      // XML that does not parse.
      {kReplace, "Data/Xml/Windows.xml", "</Resources>", "</Resource>", "Data/Xml/Windows.xml", "",
       "not an XML document the installer can read"},
      // Texts: a key nobody defines, and one missing in a language.
      {kReplace, dialogs, "Title=\"#WelcomePageTitle\"", "Title=\"#WelcomePageTitel\"", dialogs,
       "<DialogBox ID=\"WelcomePage\"", "the text #WelcomePageTitel is missing in en, fr, it, zh"},
      {kReplace, "Data/Xml/VornSetup-Custom-Strings-fr.xml", "<String ID=\"DemoDescription\">",
       "<String ID=\"DemoDescriptions\">", configuration, "<Description>",
       "the text #DemoDescription is missing in fr ("},
      // The configuration.
      {kReplace, configuration, "\n               Company=\"Vorn Software\"", "", configuration,
       "<Application UUID=\"E68B2541", "the installer's <Application> needs the attribute Company"},
      {kReplace, configuration, "<Contact>support@vorn-software.example</Contact>", "",
       configuration, "<InstallationSettings>", "has no <Contact>, which the installer requires"},
      {kReplace, configuration, "<Distribution>Public", "<Distribution>Beta", configuration,
       "<Distribution>", "\"Beta\" is none of \"Public\", \"OpenBeta\" or \"ClosedBeta\""},
      {kReplace, configuration, product_uuid, product_uuid.substr(1), configuration,
       "<Application UUID=\"3F7E25B", "is not 32 hexadecimal digits"},
      {kReplace, configuration, product_uuid, "E68B2541-2F4C-4D1C-A029-3DC9E288D3E8", configuration,
       "<Application UUID=\"E68B2541-2F4C-4D1C-A029-3DC9E288D3E8\"\n                 Name=\"Vorn "
       "Demo\"",
       "the product's UUID is the installer's own"},
      // The product's files.
      {kReplace, configuration, "<Executable>VornDemo.exe", "<Executable>Bin\\VornDemo.exe",
       configuration, "<Executable>", "\"Bin/VornDemo.exe\" is not among the product files"},
      {kReplace, configuration, ">Documentation\\Guide.html<", ">Documentation\\Guides.html<",
       configuration, "<Shortcut Text=\"#DemoGuideShortcut\"",
       "the shortcut's target \"Documentation/Guides.html\" is not among the product files"},
      {kReplace, configuration, " Help=\"#DemoReadMeShortcutHelp\"", "", configuration,
       "<Shortcut Text=\"#DemoReadMeShortcut\"",
       "a <Shortcut> without Help is left out by the installer"},
      // Pictures.
      {kRemove, "Data/Pictures/SetupHeader.png", "", "", "Data/Xml/Windows.xml", "<Picture",
       "the picture \"Data/Pictures/SetupHeader.png\" is not in the package folder"},
      {kGarbage, "Data/Pictures/StepInstall.png", "", "", dialogs, "<Picture ID=\"StepInstall\"",
       "the picture \"Data/Pictures/StepInstall.png\" does not decode"},
      // Window descriptions: element names and values.
      {kReplace, dialogs, "<Picture ID=\"StepInstall\"", "<Pictur ID=\"StepInstall\"", dialogs,
       "<Pictur ID=\"StepInstall\"", "<Pictur> is not a window type"},
      {kReplace, dialogs, "<Button ID=\"CancelCmd\" Type=\"DefaultButton\"",
       "<Button ID=\"CancelCmd\" Type=\"DefaultButon\"", dialogs, "<Button ID=\"CancelCmd\"",
       "<Button> Type=\"DefaultButon\" is none of \"PushCheckButton\" or \"DefaultButton\""},
      {kReplace, dialogs, "<Picture ID=\"StepInstall\"",
       "<Picture ID=\"StepInstall\" BackgroundColor=\"Purple\"", dialogs,
       "<Picture ID=\"StepInstall\"", "BackgroundColor=\"Purple\" is not a colour"},
      {kReplace, "Data/Xml/VornLib-Resources.xml",
       "<MessageBox ID=\"NotInstalled\" Type=\"Simple\"",
       "<MessageBox ID=\"NotInstalled\" Type=\"Simpel\"", "Data/Xml/VornLib-Resources.xml",
       "<MessageBox ID=\"NotInstalled\"", "<MessageBox> Type=\"Simpel\" is none of"},
      {kRemove, configuration, "", "", configuration, "",
       "missing: the installer learns what it installs from this file"},
  };
  int index = 0;
  for (const Case& c : cases) {
    const std::string name = "case" + std::to_string(index++);
    MakePackage(name);
    const fs::path target = temp_.Path() / name / c.file;
    if (c.action == kReplace) {
      std::string text = Text(target);
      const size_t at = text.find(c.find);
      ASSERT_NE(at, std::string::npos) << c.find;
      text.replace(at, c.find.size(), c.replace);
      WriteFile(target, text);
    } else if (c.action == kRemove) {
      fs::remove(target);
    } else {
      WriteFile(target, std::string("\x89PNG\r\n\x1A\nnot really a picture"));
    }
    RunResult run = RunTool({"check", temp_(name)});
    EXPECT_EQ(run.status, 1) << c.says;
    EXPECT_NE(run.out.find(": 1 problem\n"), std::string::npos) << c.says << "\n" << run.out;
    std::string where = temp_(name + "/" + c.reported_file) + ":";
    if (!c.locator.empty()) {
      where += PlaceOf(Text(temp_.Path() / name / c.reported_file), c.locator) + ":";
    } else if (c.action == kRemove) {
      where += "1:1:";
    }
    const size_t line = run.out.find(where);
    ASSERT_NE(line, std::string::npos) << where << "\n" << run.out;
    const std::string message = run.out.substr(line, run.out.find('\n', line) - line);
    EXPECT_NE(message.find(c.says), std::string::npos) << message;
  }
}

TEST_F(PackageCheckTest, BuildChecksFirstAndBuildsNothingWhileAProblemIsLeft) {
  MakePackage("pkg");
  std::string text = Text(temp_.Path() / "pkg/Data/Xml/Configuration.xml");
  text.replace(text.find("<Executable>VornDemo.exe"), 24, "<Executable>Missing.exe");
  WriteFile(temp_.Path() / "pkg/Data/Xml/Configuration.xml", text);
  RunResult run = RunTool(
      {"build", temp_("pkg"), "-o", temp_("out.kelp"), "--file-list", temp_("pkg/Product")});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.error.find("Configuration.xml:"), std::string::npos) << run.error;
  EXPECT_NE(run.error.find("\"Missing.exe\" is not among the product files"), std::string::npos)
      << run.error;
  EXPECT_NE(run.error.find("1 problem, nothing built (--no-check builds anyway)"),
            std::string::npos)
      << run.error;
  EXPECT_FALSE(fs::exists(temp_.Path() / "out.kelp"));
  // The product folder build is given is the one checked: the file is there.
  WriteFile(temp_.Path() / "pkg/Product/Missing.exe", NoiseBytes(10, 1));
  run = RunTool({"build", temp_("pkg"), "-o", temp_("out.kelp"), "--quiet", "--file-list",
                 temp_("pkg/Product")});
  EXPECT_EQ(run.status, 0) << run.error;
  fs::remove(temp_.Path() / "pkg/Product/Missing.exe");
  fs::remove(temp_.Path() / "out.kelp");
  run = RunTool({"build", temp_("pkg"), "-o", temp_("out.kelp"), "--quiet", "--no-check"});
  EXPECT_EQ(run.status, 0) << run.error;
  EXPECT_TRUE(fs::exists(temp_.Path() / "out.kelp"));
  // A folder that is not there is no package to check.
  run = RunTool({"check", temp_("nothing")});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.error.find("is not a folder"), std::string::npos) << run.error;
}

}  // namespace
}  // namespace vornpack_test
