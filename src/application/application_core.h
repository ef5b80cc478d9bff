// ApplicationCore: the process-wide application object. It holds the
// Application description, the modules, the quit request and the exit code,
// the main window, and runs the frame loop on the main thread.
#pragma once

#include <cstdint>

#include "application/application_description.h"
#include "application/frame_timer.h"
#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

class AppModule;
class ApplicationWindow;
class UsageReporter;

class ApplicationCore {
 public:
  ApplicationCore() noexcept = default;
  ApplicationCore(const ApplicationCore&) = delete;
  ApplicationCore& operator=(const ApplicationCore&) = delete;

  // The process's instance, created on first use.
  static ApplicationCore& Get() noexcept;

  // Without `deferred`, destroys the main window's system window and ends
  // the loop at the end of the current frame; with it, the current frame
  // runs to its end for every module first. Either way the exit code is set.
  void RequestQuit(int32_t exit_code, bool deferred) noexcept;
  // Either kind of request.
  bool QuitRequested() const noexcept { return quit_requested_ || deferred_quit_; }
  int32_t ExitCode() const noexcept { return exit_code_; }

  // Initializes the module and puts it at the front of the list; does
  // nothing (0) once quit is requested. A failing initialize requests quit
  // with exit code 0 and gives its result.
  Result RegisterModule(AppModule& module) noexcept;
  // Shows the main window, runs the frame loop until quit and shuts the
  // modules down; gives the loop's error, else the exit code. The run ends
  // with no system window of the main window left and the main window
  // forgotten: what windows save when they close (their placement, among
  // the preferences) is saved before the process-wide services end.
  int32_t Run() noexcept;

  // The main window is owned by whoever made it (for the installer, its
  // module, which destroys it at shutdown); the core only borrows it, from
  // SetMainWindow until ForgetMainWindow or the end of Run, whichever comes
  // first. An owner that destroys the window object before then calls
  // ForgetMainWindow.
  ApplicationWindow* MainWindow() const noexcept { return main_window_; }
  void SetMainWindow(ApplicationWindow* window) noexcept;
  // Forgets the window if it is the main window (a window object that goes
  // away calls it, so that no dangling pointer stays behind).
  void ForgetMainWindow(ApplicationWindow* window) noexcept;
  // The main window tells the core when its system window has been created
  // and when it has been destroyed. The core keeps the handle for the crash
  // report, which must not call into the window object to find it. The core
  // calls these itself for the system window it creates and destroys; a
  // window that makes or loses its system window on its own calls them too.
  void MainWindowCreated(void* handle) noexcept;
  void MainWindowDestroyed() noexcept;
  bool Quiet() const noexcept { return quiet_; }
  void SetQuiet(bool quiet) noexcept { quiet_ = quiet; }
  const String& ProgramPath() const noexcept { return program_path_; }
  void SetProgramPath(const String& path) noexcept;
  ApplicationDescription& Description() noexcept { return description_; }
  const ApplicationDescription& Description() const noexcept { return description_; }
  // True when every module reported idle in the last frame.
  bool AllIdle() const noexcept { return all_idle_; }

  UsageReporter* Reporter() const noexcept { return reporter_; }
  void SetReporter(UsageReporter* reporter) noexcept { reporter_ = reporter; }

  // Hands the command-line files to the main window, when the description
  // asks for it and there is a main window with files to take.
  void HandOverCommandLineFiles() noexcept;

 private:
  void ShowMainWindow() noexcept;
  void StartRun() noexcept;
  Result RunFrameLoop() noexcept;
  Result RunOneFrame() noexcept;
  void ShutDownModules() noexcept;
  void SetScreenName(const char16_t* name) noexcept;

  String program_path_;
  ApplicationDescription description_;
  AppModule* modules_ = nullptr;
  bool quit_requested_ = false;
  bool deferred_quit_ = false;
  int32_t exit_code_ = 0;
  ApplicationWindow* main_window_ = nullptr;
  bool quiet_ = false;
  bool all_idle_ = false;
  FrameTimer frame_timer_;
  UsageReporter* reporter_ = nullptr;
};

}  // namespace vorn
