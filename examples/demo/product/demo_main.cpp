// Vorn Demo: a small program on VornLib and what its installer installs.
// It carries everything it shows in its own package (the program's
// resource 4096): its description, texts in four languages, a picture, and
// the framework's message boxes and strings.
//
// Started by the installer or the shell with one of the framework's
// switches (/Install, /Uninstall, /Quiet /Update, /RegisterFileTypes,
// /UnregisterFileTypes) it does that work during its start and ends with
// the result as exit code; otherwise it shows its window, which opens a
// document given on the command line or a "vorndemo:" link given with
// /Link=. While the window is open the program holds its single-instance
// marker "VornLib.{UUID}": a second start hands its document or link to the
// first window, brings it forward and ends with 0, and an uninstallation
// refuses to run.
#include <windows.h>

#include <new>

#include "application/application_core.h"
#include "application/command_line.h"
#include "application/framework_switches.h"
#include "application/language_switch.h"
#include "application/program_entry.h"
#include "demo_handover.h"
#include "demo_window.h"
#include "package/package_file_system.h"
#include "resources/resource_manager.h"
#include "resources/startup_documents.h"
#include "ui/installer_controls.h"
#include "ui/message_box_prompt.h"

namespace {

using vorn::ApplicationCore;

// The program's own documents, after the framework's resources (registered
// with the resource manager itself) and before the framework's strings.
constexpr const char16_t* kDemoDocuments[] = {
    u"Data/Xml/VornDemo.xml",
    u"Data/Xml/VornDemo-Strings-en.xml",
    u"Data/Xml/VornDemo-Strings-fr.xml",
    u"Data/Xml/VornDemo-Strings-it.xml",
    u"Data/Xml/VornDemo-Strings-zh.xml",
};

demo::DemoWindow* main_window = nullptr;

void StartApplication() {
  ApplicationCore& core = ApplicationCore::Get();
  vorn::PackageFileSystem& files = vorn::PackageFileSystem::Instance();
  // A program written without its package (the bare linker output) has
  // nothing to show and no identity to act on.
  if (files.EmbeddedResult() != vorn::kOk) {
    core.RequestQuit(static_cast<int32_t>(files.EmbeddedResult()), false);
    return;
  }
  vorn::ResourceManager& resources = vorn::ResourceManager::Instance();
  vorn::RegisterDocuments(resources, kDemoDocuments,
                          static_cast<uint32_t>(sizeof kDemoDocuments / sizeof *kDemoDocuments));
  if (core.Description().ReadFromResources(resources) != vorn::kOk) {
    core.RequestQuit(0, false);
    return;
  }
  vorn::RegisterFrameworkStrings(resources);
  vorn::RegisterInstallerControls();
  // Before the switches, so that the uninstallation asks in that language.
  vorn::ApplyLanguageSwitch();
  vorn::UseMessageBoxesForUserPrompts();
  vorn::HandleFrameworkSwitches();
  if (core.QuitRequested()) return;
  // A document opened while the program runs goes to the window that is
  // open; this start then ends by the single-instance rule.
  demo::HandOverToRunningInstance(core.Description().name + u"::Window");

  main_window = new (std::nothrow) demo::DemoWindow();
  if (main_window == nullptr) {
    core.RequestQuit(static_cast<int32_t>(vorn::kOutOfMemory), false);
    return;
  }
  const vorn::Result loaded = main_window->Load();
  if (loaded != vorn::kOk) {
    core.RequestQuit(static_cast<int32_t>(loaded), false);
    return;
  }
  if (const vorn::CommandLineToken* link = vorn::CommandLine::Get().FindSwitch(u"Link")) {
    main_window->ShowLink(link->switch_value);
  }
  main_window->MakeApplicationMainWindow();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  vorn::ProgramHooks hooks;
  hooks.application_start = &StartApplication;
  const int32_t exit_code = vorn::RunProgram(hooks);
  delete main_window;
  return exit_code;
}
