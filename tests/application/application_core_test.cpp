#include "application/application_core.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "application/command_line.h"
#include "application/crash_handler.h"
#include "application/support/fake_modules.h"

namespace vorn {
namespace {

using testing::FakeWindow;
using testing::RecordingReporter;
using testing::ScriptedModule;
using Journal = std::vector<std::string>;

TEST(ApplicationCoreTest, QuitDuringStartInitializesNoModule) {
  Journal journal;
  ApplicationCore core;
  ScriptedModule platform("platform", journal), app("app", journal);
  core.RequestQuit(41, false);
  EXPECT_EQ(core.RegisterModule(platform), kOk);
  EXPECT_EQ(core.RegisterModule(app), kOk);
  EXPECT_EQ(core.Run(), 41);
  EXPECT_TRUE(journal.empty());
}

TEST(ApplicationCoreTest, DeferredQuitDuringStartCountsAsQuit) {
  Journal journal;
  ApplicationCore core;
  ScriptedModule app("app", journal);
  core.RequestQuit(3, true);
  EXPECT_EQ(core.RegisterModule(app), kOk);
  EXPECT_EQ(core.Run(), 3);
  EXPECT_TRUE(journal.empty());
}

TEST(ApplicationCoreTest, FailingInitializeQuitsWithZeroAndStopsRegistration) {
  Journal journal;
  ApplicationCore core;
  ScriptedModule first("first", journal), failing("failing", journal), later("later", journal);
  failing.initialize_result = kOutOfMemory;
  EXPECT_EQ(core.RegisterModule(first), kOk);
  EXPECT_EQ(core.RegisterModule(failing), kOutOfMemory);
  EXPECT_EQ(core.RegisterModule(later), kOk);
  EXPECT_EQ(core.ExitCode(), 0);
  EXPECT_EQ(core.Run(), 0);
  EXPECT_EQ(journal, (Journal{"first.initialize", "failing.initialize", "first.shutdown"}));
}

TEST(ApplicationCoreTest, DeferredQuitLetsTheFrameFinishForEveryModule) {
  Journal journal;
  ApplicationCore core;
  ScriptedModule older("older", journal), newer("newer", journal);
  newer.on_update = [&](int frame) {
    if (frame == 1) core.RequestQuit(9, true);
    return kOk;
  };
  core.RegisterModule(older);
  core.RegisterModule(newer);
  journal.clear();
  EXPECT_EQ(core.Run(), 9);
  EXPECT_EQ(journal, (Journal{"newer.update", "older.update", "newer.update", "older.update",
                              "newer.shutdown", "older.shutdown"}));
}

TEST(ApplicationCoreTest, DeferredQuitAskedWhileTheRunStartsRunsNoFrame) {
  Journal journal;
  ApplicationCore core;
  FakeWindow window(journal);
  window.on_started = [&] { core.RequestQuit(5, true); };
  core.SetMainWindow(&window);
  ScriptedModule app("app", journal);
  core.RegisterModule(app);
  journal.clear();
  EXPECT_EQ(core.Run(), 5);
  EXPECT_EQ(journal, (Journal{"window.create", "window.started", "window.destroy",
                              "app.shutdown"}));
}

// The crash report finds its owner through the handle the core keeps, which
// lives exactly as long as the main window's system window; after the run
// the core holds no pointer to a window its owner may destroy.
TEST(ApplicationCoreTest, MainWindowHandleIsKeptWhileItsSystemWindowLives) {
  Journal journal;
  ApplicationCore core;
  FakeWindow window(journal);
  int system_window = 0;
  window.handle = &system_window;
  core.SetMainWindow(&window);
  EXPECT_EQ(CrashHandler::OwnerWindow(), nullptr);
  ScriptedModule app("app", journal);
  void* owner_during_frame = nullptr;
  app.on_update = [&](int) {
    owner_during_frame = CrashHandler::OwnerWindow();
    core.RequestQuit(0, false);
    EXPECT_EQ(CrashHandler::OwnerWindow(), nullptr);
    return kOk;
  };
  core.RegisterModule(app);
  EXPECT_EQ(core.Run(), 0);
  EXPECT_EQ(owner_during_frame, &system_window);
  EXPECT_EQ(core.MainWindow(), nullptr);
  EXPECT_EQ(CrashHandler::OwnerWindow(), nullptr);

  // A window destroyed by its owner before the run ends is forgotten; any
  // other window leaves the main window as it is.
  FakeWindow other(journal);
  window.has_window = true;
  core.SetMainWindow(&window);
  EXPECT_EQ(CrashHandler::OwnerWindow(), &system_window);
  core.ForgetMainWindow(&other);
  EXPECT_EQ(core.MainWindow(), &window);
  core.ForgetMainWindow(&window);
  EXPECT_EQ(core.MainWindow(), nullptr);
  EXPECT_EQ(CrashHandler::OwnerWindow(), nullptr);
}

TEST(ApplicationCoreTest, ImmediateQuitStopsTheRemainingUpdates) {
  Journal journal;
  ApplicationCore core;
  ScriptedModule older("older", journal), newer("newer", journal);
  newer.on_update = [&](int) {
    core.RequestQuit(5, false);
    return kOk;
  };
  core.RegisterModule(older);
  core.RegisterModule(newer);
  journal.clear();
  EXPECT_EQ(core.Run(), 5);
  EXPECT_EQ(journal, (Journal{"newer.update", "newer.shutdown", "older.shutdown"}));
}

TEST(ApplicationCoreTest, FailingUpdateEndsTheRunWithItsResult) {
  Journal journal;
  ApplicationCore core;
  ScriptedModule app("app", journal);
  app.on_update = [](int frame) { return frame == 2 ? kCorruptData : kOk; };
  core.RegisterModule(app);
  EXPECT_EQ(core.Run(), static_cast<int32_t>(kCorruptData));
  EXPECT_EQ(core.ExitCode(), 0);
  EXPECT_EQ(app.frame_times.size(), 3u);
  EXPECT_EQ(journal.back(), "app.shutdown");
}

TEST(ApplicationCoreTest, FrameTimesStartAtZeroAndStayWithinTheClamp) {
  Journal journal;
  ApplicationCore core;
  core.Description().max_frame_rate = 1000;
  ScriptedModule app("app", journal);
  app.idle = false;
  app.on_update = [&](int frame) {
    if (frame == 4) core.RequestQuit(0, false);
    return kOk;
  };
  core.RegisterModule(app);
  EXPECT_EQ(core.Run(), 0);
  ASSERT_EQ(app.frame_times.size(), 5u);
  EXPECT_EQ(app.frame_times[0], 0.0f);
  for (size_t i = 1; i < app.frame_times.size(); ++i) {
    EXPECT_GT(app.frame_times[i], 0.0f);
    EXPECT_LE(app.frame_times[i], 0.2f);
  }
}

TEST(ApplicationCoreTest, IdleModulesGiveZeroFrameTimes) {
  Journal journal;
  ApplicationCore core;
  ScriptedModule app("app", journal);
  app.idle = true;
  app.on_update = [&](int frame) {
    if (frame == 3) core.RequestQuit(0, false);
    return kOk;
  };
  core.RegisterModule(app);
  core.Run();
  for (float frame_time : app.frame_times) EXPECT_EQ(frame_time, 0.0f);
}

TEST(ApplicationCoreTest, MainWindowIsCreatedAndStartedWithAScreenView) {
  Journal journal;
  ApplicationCore core;
  FakeWindow window(journal);
  RecordingReporter reporter(journal);
  core.SetMainWindow(&window);
  core.SetReporter(&reporter);
  ScriptedModule app("app", journal);
  app.on_update = [&](int) {
    core.RequestQuit(0, false);
    return kOk;
  };
  core.RegisterModule(app);
  journal.clear();
  EXPECT_EQ(core.Run(), 0);
  EXPECT_EQ(journal, (Journal{"window.create", "screenview", "window.started", "app.update",
                              "window.destroy", "app.shutdown"}));
}

TEST(ApplicationCoreTest, QuietRunNamesTheScreenAndEndsAtItsStart) {
  Journal journal;
  ApplicationCore core;
  FakeWindow window(journal);
  RecordingReporter reporter(journal);
  core.SetMainWindow(&window);
  core.SetReporter(&reporter);
  core.SetQuiet(true);
  ScriptedModule app("app", journal);
  core.RegisterModule(app);
  journal.clear();
  EXPECT_EQ(core.Run(), 0);
  EXPECT_EQ(journal, (Journal{"window.create", "screen=Command-line", "screenview",
                              "window.started", "window.destroy", "app.shutdown"}));
}

TEST(ApplicationCoreTest, QuietRunWithoutWindowNamesTheScreenOnly) {
  Journal journal;
  ApplicationCore core;
  RecordingReporter reporter(journal);
  core.SetReporter(&reporter);
  core.SetQuiet(true);
  EXPECT_EQ(core.Run(), 0);
  EXPECT_EQ(journal, (Journal{"screen=Command-line"}));
}

TEST(ApplicationCoreTest, WindowThatCannotBeCreatedEndsTheRunWithItsResult) {
  Journal journal;
  ApplicationCore core;
  FakeWindow window(journal);
  window.create_result = kAccessDenied;
  core.SetMainWindow(&window);
  ScriptedModule app("app", journal);
  core.RegisterModule(app);
  journal.clear();
  EXPECT_EQ(core.Run(), static_cast<int32_t>(kAccessDenied));
  EXPECT_EQ(journal, (Journal{"window.create", "app.shutdown"}));
}

TEST(ApplicationCoreTest, ProgramPathIsTrimmed) {
  ApplicationCore core;
  core.SetProgramPath(u"  C:\\Apps\\demo.exe \t");
  EXPECT_EQ(std::u16string(core.ProgramPath().Text()), u"C:\\Apps\\demo.exe");
}

TEST(ApplicationCoreTest, CommandLineFilesGoToTheMainWindowOnlyWhenAsked) {
  Journal journal;
  CommandLine::Get().Parse(u"demo.exe one.txt /Quiet \"two words.txt\"");
  ApplicationCore core;
  FakeWindow window(journal);
  core.SetMainWindow(&window);
  core.HandOverCommandLineFiles();
  EXPECT_TRUE(window.opened_files.empty());
  core.Description().open_command_line_files = true;
  core.HandOverCommandLineFiles();
  EXPECT_EQ(window.opened_files, (std::vector<std::u16string>{u"one.txt", u"two words.txt"}));
  EXPECT_TRUE(CommandLine::Get().Token(0).used);
  CommandLine::Get().Parse(nullptr);
}

}  // namespace
}  // namespace vorn
