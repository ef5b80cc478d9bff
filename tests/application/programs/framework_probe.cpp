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
//   terminate-main     std::terminate in the frame loop
//   pure-virtual-main  a call to a pure virtual function in the frame loop
//                      (through an object still under construction)
//   crash-shown-window  crash-main with a visible system window behind the main window
//   crash-hidden-window crash-main with that window hidden
//   single-instance    a single-instance program that quits with 31 once it runs
//   crash-in-report    an exception 0xE0564F01 whose report faults while it
//                      writes the dump (the dump writer is this program's own)
//   crash-freed-window crash-main with a shown main window whose object has
//                      become garbage: calling into it faults
//   crash-two-threads  an exception 0xE0564F02 on the main thread; a framework
//                      thread faults while its report box is up
//   placement-at-exit  the main window, owned by a module, stores its width
//                      among the preferences when its system window goes at
//                      the end of the run (HKCU\Software\VornTest\Placement
//                      Probe\1.0\Local\MainWindow, value Width)
// Scenario failures end with 98.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <exception>

#include "../support/console_window.h"
#include "application/app_module.h"
#include "application/application_core.h"
#include "application/application_window.h"
#include "application/crash_handler.h"
#include "application/program_entry.h"
#include "foundation/guid.h"
#include "foundation/thread_object.h"
#include "resources/preferences.h"

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

bool Is(const char* name) {
  return std::strcmp(scenario, name) == 0;
}

// A base whose constructor calls into the class being constructed: the call
// reaches the base's pure virtual function.
class Shape {
 public:
  Shape();
  virtual ~Shape() = default;
  virtual int Sides() const = 0;
};

__attribute__((noinline)) int SidesOf(const Shape* shape) {
  return shape->Sides();
}

Shape::Shape() {
  const Shape* volatile self = this;
  SidesOf(self);
}

class Square : public Shape {
 public:
  int Sides() const override { return 4; }
};

}  // namespace

// Stands in for the debugging help library's dump writer (the program makes
// itself that library), so that the report itself faults.
extern "C" __declspec(dllexport) BOOL WINAPI MiniDumpWriteDump(HANDLE, DWORD, HANDLE, int, void*,
                                                               void*, void*) {
  WriteNullPointer();
  return FALSE;
}

namespace {

// True once this process shows the crash report box.
bool ReportBoxShown() {
  HWND box = FindWindowW(nullptr, L"VornLib - Crash Report");
  DWORD process = 0;
  if (box != nullptr) GetWindowThreadProcessId(box, &process);
  return box != nullptr && process == GetCurrentProcessId();
}

// A main window with a real system window (the run shows it), so that the
// crash report's choice of owner can be seen.
class SystemBackedWindow : public vorn::ApplicationWindow {
 public:
  // From now on every call into the object faults, as one into a freed or
  // overwritten window would.
  bool freed = false;

  bool HasSystemWindow() const noexcept override {
    if (freed) WriteNullPointer();
    return handle_ != nullptr;
  }
  void* SystemHandle() const noexcept override {
    if (freed) WriteNullPointer();
    return handle_;
  }
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

// Saves its placement when its system window goes, as the toolkit's main
// window does; the preferences are the process-wide ones.
class PlacementWindow : public SystemBackedWindow {
 public:
  ~PlacementWindow() override { ApplicationCore::Get().ForgetMainWindow(this); }
  void DestroySystemWindow() noexcept override {
    RECT frame{};
    if (HWND handle = static_cast<HWND>(SystemHandle()); handle && GetWindowRect(handle, &frame)) {
      vorn::Preferences::Instance().SetInt(u"/User/Local/MainWindow/Width",
                                           frame.right - frame.left);
    }
    SystemBackedWindow::DestroySystemWindow();
  }
};

// Owns the main window, as an installer's module does: made at start,
// destroyed at shutdown.
class WindowOwnerModule : public vorn::AppModule {
 public:
  PlacementWindow* window = nullptr;
  Result Initialize() noexcept override { return vorn::kOk; }
  bool IsIdle() noexcept override { return false; }
  Result Update(float) noexcept override {
    if (++updates_ == 2) ApplicationCore::Get().RequestQuit(0, false);
    return vorn::kOk;
  }
  void Shutdown() noexcept override {
    delete window;
    window = nullptr;
  }

 private:
  int updates_ = 0;
};

WindowOwnerModule window_owner;

class CrashingThread : public vorn::ThreadObject {
 public:
  ~CrashingThread() override { Stop(true); }
  // Faults only once another thread's report box is up.
  bool after_report_box = false;

 protected:
  Result Run() noexcept override {
    while (after_report_box && !ReportBoxShown()) Sleep(20);
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
    if ((Is("crash-thread") || Is("crash-two-threads")) && std::strcmp(name_, "newer") == 0) {
      thread_.after_report_box = Is("crash-two-threads");
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
    if (Is("crash-in-report")) RaiseException(0xE0564F01, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    if (Is("terminate-main")) std::terminate();
    if (Is("pure-virtual-main")) {
      Square square;
    }
    if (Is("crash-two-threads")) RaiseException(0xE0564F02, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    if (Is("crash-freed-window")) {
      shown_window.freed = true;
      WriteNullPointer();
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
  if (Is("crash-shown-window") || Is("crash-freed-window")) core.SetMainWindow(&shown_window);
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
  if (Is("crash-in-report")) vorn::CrashHandler::SetDebugHelpModule(GetModuleHandleW(nullptr));
  if (Is("placement-at-exit")) {
    // Made here, after the core: the services end before it at exit, so
    // only a run that has ended its windows by then keeps the write.
    vorn::Preferences::Instance().SetApplicationIdentity(u"VornTest", u"Placement Probe", u"1.0",
                                                         nullptr);
    window_owner.window = new PlacementWindow;
    core.SetMainWindow(window_owner.window);
  }
}

void RegisterModules() {
  ApplicationCore& core = ApplicationCore::Get();
  if (Is("placement-at-exit")) {
    core.RegisterModule(window_owner);
    return;
  }
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
