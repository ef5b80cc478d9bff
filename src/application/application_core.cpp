#include "application/application_core.h"

#include "application/app_module.h"
#include "application/application_window.h"
#include "application/command_line.h"
#include "application/crash_handler.h"
#include "application/frame_platform.h"
#include "application/usage_reporter.h"
#include "foundation/zero_filled.h"

namespace vorn {

ApplicationCore& ApplicationCore::Get() noexcept {
  static ApplicationCore core VORN_ZERO_FILLED;
  return core;
}

void ApplicationCore::SetMainWindow(ApplicationWindow* window) noexcept {
  main_window_ = window;
  // A window made before (to own a prompt) already has its handle.
  MainWindowCreated(window != nullptr && window->HasSystemWindow() ? window->SystemHandle()
                                                                   : nullptr);
}

void ApplicationCore::ForgetMainWindow(ApplicationWindow* window) noexcept {
  if (window == nullptr || window != main_window_) return;
  main_window_ = nullptr;
  MainWindowDestroyed();
}

void ApplicationCore::MainWindowCreated(void* handle) noexcept {
  CrashHandler::SetOwnerWindow(handle);
}

void ApplicationCore::MainWindowDestroyed() noexcept {
  CrashHandler::SetOwnerWindow(nullptr);
}

void ApplicationCore::SetProgramPath(const String& path) noexcept {
  program_path_ = path;
  program_path_.Trim();
}

void ApplicationCore::RequestQuit(int32_t exit_code, bool deferred) noexcept {
  exit_code_ = exit_code;
  if (deferred) {
    deferred_quit_ = true;
    return;
  }
  if (main_window_ != nullptr && main_window_->HasSystemWindow()) {
    main_window_->DestroySystemWindow();
    MainWindowDestroyed();
  }
  quit_requested_ = true;
}

Result ApplicationCore::RegisterModule(AppModule& module) noexcept {
  if (QuitRequested()) return kOk;
  const Result result = module.Initialize();
  if (result != kOk) {
    RequestQuit(0, false);
    return result;
  }
  module.next_module = modules_;
  modules_ = &module;
  return kOk;
}

void ApplicationCore::SetScreenName(const char16_t* name) noexcept {
  if (reporter_ != nullptr) reporter_->SetScreenName(name);
}

void ApplicationCore::ShowMainWindow() noexcept {
  WindowShowMode mode =
      main_window_->IsMaximized() ? WindowShowMode::kMaximize : WindowShowMode::kShow;
  if (!description_.activate) mode = WindowShowMode::kShowWithoutActivating;
  ShowSystemWindow(main_window_->SystemHandle(), mode);
}

void ApplicationCore::HandOverCommandLineFiles() noexcept {
  if (!description_.open_command_line_files || main_window_ == nullptr) return;
  String files[CommandLine::kMaxTokens];
  const uint32_t count = CommandLine::Get().TakeFiles(files);
  if (count > 0) main_window_->OpenFiles(files, count);
}

void ApplicationCore::StartRun() noexcept {
  if (main_window_ == nullptr && quiet_) SetScreenName(u"Command-line");
  if (main_window_ != nullptr) {
    if (reporter_ != nullptr) reporter_->StartScreenView();
    main_window_->ApplicationStarted();
  }
  HandOverCommandLineFiles();
  if (quiet_) RequestQuit(0, false);
}

Result ApplicationCore::RunOneFrame() noexcept {
  const FrameWait wait = frame_timer_.PlanWait(all_idle_, description_.max_frame_rate,
                                               FrameCounterNow(), FrameCounterFrequency());
  if (wait.kind != FrameWait::kNone) WaitBeforeFrame(wait);
  const float frame_time = frame_timer_.StartFrame(FrameCounterNow(), FrameCounterFrequency());
  for (AppModule* module = modules_; module != nullptr; module = module->next_module) {
    const Result result = module->Update(frame_time);
    if (result != kOk) {
      RequestQuit(0, false);
      return result;
    }
    if (quit_requested_) break;
  }
  bool all_idle = true;
  for (AppModule* module = modules_; module != nullptr; module = module->next_module) {
    all_idle = module->IsIdle() && all_idle;
  }
  all_idle_ = all_idle;
  if (deferred_quit_) RequestQuit(exit_code_, false);
  return kOk;
}

Result ApplicationCore::RunFrameLoop() noexcept {
  // A deferred quit asked for before the first frame (while the run
  // started) has no frame to wait for.
  if (deferred_quit_ && !quit_requested_) RequestQuit(exit_code_, false);
  while (modules_ != nullptr && !QuitRequested()) {
    const Result result = RunOneFrame();
    if (result != kOk) return result;
  }
  return kOk;
}

// What is left of the main window's system window goes first, while the
// window object surely exists; then the modules, newest first, whose
// shutdown destroys the windows they own. The main window is forgotten, as
// its owner may have destroyed it.
void ApplicationCore::ShutDownModules() noexcept {
  if (main_window_ != nullptr && main_window_->HasSystemWindow()) {
    main_window_->DestroySystemWindow();
  }
  MainWindowDestroyed();
  while (modules_ != nullptr) {
    AppModule* module = modules_;
    module->Shutdown();
    modules_ = module->next_module;
    module->next_module = nullptr;
  }
  main_window_ = nullptr;
}

int32_t ApplicationCore::Run() noexcept {
  if (QuitRequested()) {
    ShutDownModules();
    return exit_code_;
  }
  if (main_window_ != nullptr) {
    // A window made before the run (to own a prompt) is kept as it is.
    const Result created =
        main_window_->HasSystemWindow() ? kOk : main_window_->CreateSystemWindow();
    if (created != kOk) {
      ShutDownModules();
      return static_cast<int32_t>(created);
    }
    MainWindowCreated(main_window_->SystemHandle());
    if (!quiet_) {
      ShowMainWindow();
    } else {
      SetScreenName(u"Command-line");
    }
  }
  StartRun();
  const Result loop_error = RunFrameLoop();
  ShutDownModules();
  return loop_error != kOk ? static_cast<int32_t>(loop_error) : exit_code_;
}

}  // namespace vorn
