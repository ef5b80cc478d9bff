// A program built on the framework's entry, for tests that need a whole
// process: its exit code tells how the run ended. The first argument picks
// the scenario:
//   quit-at-start N    the application start requests quit with N
//   wm-quit N          the first frame posts WM_QUIT with wParam N
//   failing-module     a module's initialize fails; later ones must not start
//   deferred-quit N    a deferred quit in frame 1; every module must finish it
//   crash-main         a null pointer write in the frame loop
//   crash-thread       a null pointer write on a framework thread
//   crash-no-dbghelp   crash-main as if the debugging help library were absent
//   crash-shown-window  crash-main with a visible system window behind the main window
//   crash-hidden-window crash-main with that window hidden
//   single-instance    a single-instance program that quits with 31 once it runs
// Scenario failures end with 98.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "../support/console_window.h"
#include "application/app_module.h"
#include "application/application_core.h"
#include "application/application_window.h"
#include "application/crash_handler.h"
#include "application/program_entry.h"
#include "foundation/guid.h"
#include "foundation/thread_object.h"

namespace {

using vorn::ApplicationCore;
using vorn::Result;

const char* scenario = "";
int scenario_value = 0;
bool scenario_failed = false;

void WriteNullPointer() {
  // Through a volatile pointer, so that the compiler emits the store.
  volatile int* volatile target = nullptr;
  *target = 1;
}

// A main window with a real system window (the run shows it), so that the
// crash report's choice of owner can be seen.
class SystemBackedWindow : public vorn::ApplicationWindow {
 public:
  bool HasSystemWindow() const noexcept override { return handle_ != nullptr; }
  void* SystemHandle() const noexcept override { return handle_; }
  Result CreateSystemWindow() noexcept override {
    handle_ = CreateWindowExW(0, L"STATIC", L"Vorn Probe", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    return handle_ != nullptr ? vorn::kOk : vorn::kFailed;
  }
  void DestroySystemWindow() noexcept override {
    if (handle_ != nullptr) DestroyWindow(handle_);
    handle_ = nullptr;
  }
  bool IsMaximized() const noexcept override { return false; }
  void UpdateFrame(float) noexcept override {}
  bool IsIdle() noexcept override { return false; }
  bool PreTranslateMessage(void*) noexcept override { return false; }
  void ApplicationStarted() noexcept override {}
  bool OpenFiles(const vorn::String*, uint32_t) noexcept override { return false; }

 private:
  HWND handle_ = nullptr;
};

SystemBackedWindow shown_window;
SystemBackedWindow hidden_window;

class CrashingThread : public vorn::ThreadObject {
 public:
  ~CrashingThread() override { Stop(true); }

 protected:
  Result Run() noexcept override {
    WriteNullPointer();
    return vorn::kOk;
  }
};

class ProbeModule : public vorn::AppModule {
 public:
  explicit ProbeModule(const char* name) : name_(name) {}
  int initialized = 0;
  int updates = 0;
  Result initialize_result = vorn::kOk;

  Result Initialize() noexcept override {
    ++initialized;
    if (std::strcmp(scenario, "crash-thread") == 0 && std::strcmp(name_, "newer") == 0) {
      thread_.Start();
    }
    return initialize_result;
  }
  bool IsIdle() noexcept override { return false; }
  Result Update(float) noexcept override {
    ++updates;
    if (std::strcmp(name_, "newer") != 0) return vorn::kOk;
    if (std::strcmp(scenario, "wm-quit") == 0 && updates == 1) PostQuitMessage(scenario_value);
    if (std::strcmp(scenario, "single-instance") == 0)
      ApplicationCore::Get().RequestQuit(31, false);
    if (std::strcmp(scenario, "deferred-quit") == 0 && updates == 2) {
      ApplicationCore::Get().RequestQuit(scenario_value, true);
    }
    if (std::strncmp(scenario, "crash-main", 10) == 0 ||
        std::strcmp(scenario, "crash-no-dbghelp") == 0 ||
        std::strcmp(scenario, "crash-shown-window") == 0 ||
        std::strcmp(scenario, "crash-hidden-window") == 0) {
      if (std::strcmp(scenario, "crash-hidden-window") == 0) {
        ShowWindow(static_cast<HWND>(hidden_window.SystemHandle()), SW_HIDE);
      }
      WriteNullPointer();
    }
    if (std::strcmp(scenario, "crash-thread") == 0 && updates > 3000) {
      // The crash should have ended the process long ago.
      scenario_failed = true;
      ApplicationCore::Get().RequestQuit(0, false);
    }
    if (std::strcmp(scenario, "crash-thread") == 0) Sleep(10);
    if (updates > 100000) ApplicationCore::Get().RequestQuit(0, false);  // never hang
    return vorn::kOk;
  }
  void Shutdown() noexcept override {}

 private:
  const char* name_;
  CrashingThread thread_;
};

ConsoleWindow window;
ProbeModule older("older");
ProbeModule newer("newer");

void ApplicationStart() {
  ApplicationCore& core = ApplicationCore::Get();
  core.SetMainWindow(&window);
  if (std::strcmp(scenario, "crash-shown-window") == 0) core.SetMainWindow(&shown_window);
  if (std::strcmp(scenario, "crash-hidden-window") == 0) core.SetMainWindow(&hidden_window);
  // Probes of other scenarios run side by side (the crash report test and
  // the exit code tests); only the single-instance scenario is exclusive.
  core.Description().multiple_instances_allowed = true;
  if (std::strcmp(scenario, "quit-at-start") == 0) core.RequestQuit(scenario_value, false);
  if (std::strcmp(scenario, "failing-module") == 0) older.initialize_result = vorn::kFailed;
  if (std::strcmp(scenario, "single-instance") == 0) {
    core.Description().name = u"Vorn Probe";
    core.Description().multiple_instances_allowed = false;
    vorn::TextToGuid(u"0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9", core.Description().uuid);
  }
  if (std::strcmp(scenario, "crash-no-dbghelp") == 0)
    vorn::CrashHandler::SetDebugHelpModule(nullptr);
}

void RegisterModules() {
  ApplicationCore& core = ApplicationCore::Get();
  core.RegisterModule(older);
  core.RegisterModule(newer);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) scenario = argv[1];
  if (argc > 2) scenario_value = std::atoi(argv[2]);
  vorn::ProgramHooks hooks;
  hooks.application_start = &ApplicationStart;
  hooks.register_modules = &RegisterModules;
  const int32_t exit_code = vorn::RunProgram(hooks);
  if (std::strcmp(scenario, "quit-at-start") == 0 && (older.initialized || newer.initialized)) {
    return 98;
  }
  if (std::strcmp(scenario, "failing-module") == 0 && newer.initialized) return 98;
  if (std::strcmp(scenario, "single-instance") == 0 && exit_code == 0 && older.initialized) {
    return 98;
  }
  if (std::strcmp(scenario, "deferred-quit") == 0 && older.updates != newer.updates) return 98;
  if (scenario_failed) return 98;
  return exit_code;
}
