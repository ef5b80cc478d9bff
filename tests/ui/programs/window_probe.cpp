// A whole program on the framework entry with a toolkit main window, for
// the tests that need a process of their own. The first argument picks the
// scenario:
//   place L T      the main window is moved to (L, T) and closed; its
//                  placement is saved to the registry
//   report         the main window is created and closed; the exit code is
//                  its restored position as L * 10000 + T
//   close-code N   closing the main window sets exit code N; its
//                  destruction ends the frame loop
//   hold           the main window stays until something closes it
// Scenario failures end with 98.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "application/application_core.h"
#include "application/program_entry.h"
#include "foundation/guid.h"
#include "resources/preferences.h"
#include "ui/main_window.h"
#include "xml/xml_document.h"
#include "xml/xml_element.h"

namespace {

using vorn::ApplicationCore;

const char* scenario = "";
int first_value = 0;
int second_value = 0;

const char kDescription[] =
    "<Window ID='ProbeMain' Type='MainWindow' Title='Window probe' Position='ProbeWindow'"
    " ClientWidth='320' ClientHeight='200'>"
    "<Static ID='Panel' Left='8' Top='8' Right='Parent.Width-9' Bottom='Parent.Height-9'"
    " BackgroundColor='#4A8'/>"
    "</Window>";

class ProbeWindow : public vorn::MainWindow {
 public:
  void ApplicationStarted() noexcept override {
    vorn::MainWindow::ApplicationStarted();
    HWND window = static_cast<HWND>(Handle());
    if (std::strcmp(scenario, "place") == 0) {
      SetWindowPos(window, nullptr, first_value, second_value, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (std::strcmp(scenario, "report") == 0) {
      RECT rect{};
      GetWindowRect(window, &rect);
      reported = rect.left * 10000 + rect.top;
    }
    if (std::strcmp(scenario, "hold") != 0) PostMessageW(window, WM_CLOSE, 0, 0);
  }

 protected:
  void OnClose() noexcept override {
    if (std::strcmp(scenario, "close-code") == 0) {
      // Sets the exit code and lets the frame finish; the window's end is
      // what stops the loop.
      ApplicationCore::Get().RequestQuit(first_value, true);
    }
    vorn::MainWindow::OnClose();
  }

 public:
  int reported = -1;
};

vorn::XmlDocument description;
ProbeWindow* probe_window = nullptr;

void StartApplication() {
  ApplicationCore& core = ApplicationCore::Get();
  core.Description().name = u"VornWindowProbe";
  // Its own identity: other framework programs that the tests run at the
  // same time must never look like a first instance of this one.
  vorn::TextToGuid(u"5E1F0C2A-7B3D-4E8F-9A6B-0C1D2E3F4A5B", core.Description().uuid);
  vorn::Preferences::Instance().SetApplicationIdentity(u"VornTests", u"WindowProbe", u"1", nullptr);
  if (description.Parse(kDescription, sizeof kDescription - 1) != vorn::kOk) {
    core.RequestQuit(98, false);
    return;
  }
  probe_window = new ProbeWindow();
  if (probe_window->ReadDescription(description.RootElement()) != vorn::kOk) {
    core.RequestQuit(98, false);
    return;
  }
  probe_window->MakeApplicationMainWindow();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) scenario = argv[1];
  if (argc > 2) first_value = std::atoi(argv[2]);
  if (argc > 3) second_value = std::atoi(argv[3]);
  vorn::ProgramHooks hooks;
  hooks.application_start = &StartApplication;
  int32_t exit_code = vorn::RunProgram(hooks);
  if (probe_window != nullptr && std::strcmp(scenario, "report") == 0) {
    exit_code = probe_window->reported;
  }
  vorn::Preferences::Instance().Save();
  delete probe_window;
  return exit_code;
}
