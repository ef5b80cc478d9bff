#include "setup/setup_switches.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "application/command_line.h"
#include "setup/setup_module.h"

namespace vorn {
namespace {

std::string Narrow(const String& text) {
  std::string out;
  for (uint32_t i = 0; i < text.Length(); ++i) out += static_cast<char>(text[i]);
  return out;
}

// Records what the switches do, in order; the framework switches give the
// results a test sets.
class Recorder : public SetupSwitchActions {
 public:
  void SetQuiet() noexcept override { events.push_back("quiet"); }
  bool RunFrameworkSwitch(const String& name, Result& result) noexcept override {
    const std::string narrow = Narrow(name);
    for (const auto& [switch_name, code] : results) {
      if (String(name).EqualsIgnoringCase(switch_name)) {
        events.push_back("run " + narrow);
        result = code;
        return true;
      }
    }
    return false;
  }
  void ApplyLanguage(const String& value) noexcept override {
    events.push_back("language " + Narrow(value));
  }
  void RequestQuit(int32_t exit_code) noexcept override {
    events.push_back("quit " + std::to_string(exit_code));
    last_quit = exit_code;
  }

  std::vector<std::pair<const char16_t*, Result>> results = {
      {u"Uninstall", kNotOpen},      {u"Update", kOk},
      {u"Install", kOk},             {u"RegisterFileTypes", kOk},
      {u"UnregisterFileTypes", kOk},
  };
  std::vector<std::string> events;
  int32_t last_quit = -1;
};

uint32_t Handle(const char16_t* command_line, Recorder& recorder) {
  CommandLine line;
  line.Parse(command_line);
  return HandleSetupSwitches(line, recorder);
}

TEST(SetupSwitchesTest, SwitchesRunInCommandLineOrder) {
  Recorder recorder;
  EXPECT_EQ(Handle(u"setup.exe /Language=fr -Uninstall", recorder), 1u);
  EXPECT_EQ(recorder.events,
            (std::vector<std::string>{"language fr", "run Uninstall", "quit 4"}));

  Recorder reversed;
  Handle(u"setup.exe -Uninstall /Language:it", reversed);
  EXPECT_EQ(reversed.events,
            (std::vector<std::string>{"run Uninstall", "quit 4", "language it"}));
}

// "Quiet" is looked up before everything else, wherever it stands, so that
// the uninstallation written before it already asks nothing.
TEST(SetupSwitchesTest, QuietComesFirstWhereverItIsWritten) {
  Recorder recorder;
  Handle(u"setup.exe -uninstall /quiet", recorder);
  ASSERT_FALSE(recorder.events.empty());
  EXPECT_EQ(recorder.events.front(), "quiet");
  EXPECT_EQ(recorder.events[1], "run uninstall");
}

TEST(SetupSwitchesTest, EveryQuittingSwitchRunsAndTheLastCodeWins) {
  Recorder recorder;
  EXPECT_EQ(Handle(u"setup.exe /Uninstall /Update", recorder), 2u);
  EXPECT_EQ(recorder.events,
            (std::vector<std::string>{"run Uninstall", "quit 4", "run Update", "quit 0"}));
  EXPECT_EQ(recorder.last_quit, 0);

  Recorder other_order;
  Handle(u"setup.exe -UPDATE -uninstall", other_order);
  EXPECT_EQ(other_order.last_quit, 4);
}

// The switches the installer reads elsewhere, unknown ones and files do
// nothing here.
TEST(SetupSwitchesTest, OtherSwitchesAndFilesAreLeftAlone) {
  Recorder recorder;
  EXPECT_EQ(Handle(u"setup.exe -LaunchedAsAdministrator -AllowMultipleInstances /Bogus=1 "
                   u"readme.txt",
                   recorder),
            0u);
  EXPECT_TRUE(recorder.events.empty());
}

TEST(SetupSwitchesTest, LanguageWithoutValueIsPassedOnEmpty) {
  Recorder recorder;
  Handle(u"setup.exe /Language", recorder);
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"language "}));
}

// Windows before Vista has no elevation to ask for: the first process shows
// the pages; later systems show them only in the relaunched child.
TEST(SetupSwitchesTest, RoleFollowsTheSystemAndTheChildSwitch) {
  EXPECT_TRUE(ShowsPagesItself(3, false));   // XP
  EXPECT_FALSE(ShowsPagesItself(4, false));  // Vista, first process
  EXPECT_FALSE(ShowsPagesItself(8, false));  // 10, first process
  EXPECT_TRUE(ShowsPagesItself(4, true));
  EXPECT_TRUE(ShowsPagesItself(8, true));
}

}  // namespace
}  // namespace vorn
