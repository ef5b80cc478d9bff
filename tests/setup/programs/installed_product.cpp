// A product built on the framework, as the installer installs it: its
// description, one file type and one protocol come from a package of its
// own; the framework's switches are handled during its start; while it runs
// it holds its single-instance marker. A run without switches keeps running
// until the event "Local\VornTestProductStop" is set (at most 60 seconds).
//
// The messages the framework shows are answered from the environment:
// VORN_PRODUCT_ANSWER "yes" or "no" (absent: no prompt is installed, as in a
// program without the window toolkit); each message's name and argument are
// appended as one UTF-8 line "Name|Argument" to the file VORN_PRODUCT_LOG.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "application/app_module.h"
#include "application/application_core.h"
#include "application/framework_switches.h"
#include "application/program_entry.h"
#include "application/support/console_window.h"
#include "application/user_prompt.h"
#include "package/package_file_system.h"
#include "resources/resource_manager.h"
#include "setup/support/product_identity.h"
#include "setup/support/xml_package.h"

namespace {

using vorn::ApplicationCore;
using vorn::PromptAnswer;
using vorn::Result;

class EnvironmentPrompt : public vorn::UserPrompt {
 public:
  PromptAnswer Show(const char16_t* message, const vorn::String& argument) noexcept override {
    wchar_t log_path[MAX_PATH];
    if (GetEnvironmentVariableW(L"VORN_PRODUCT_LOG", log_path, MAX_PATH) > 0) {
      if (FILE* log = _wfopen(log_path, L"ab")) {
        const std::string line = vorn::test::Utf8(vorn::String(message) + u"|" + argument) + "\n";
        std::fwrite(line.data(), 1, line.size(), log);
        std::fclose(log);
      }
    }
    if (std::strcmp(answer_, "yes") == 0) return PromptAnswer::kYes;
    if (std::strcmp(answer_, "no") == 0) return PromptAnswer::kNo;
    return PromptAnswer::kOk;
  }
  void SetAnswer(const char* answer) { std::strncpy(answer_, answer, sizeof answer_ - 1); }

 private:
  char answer_[8] = {};
};

// Runs until the test says stop.
class WaitingModule : public vorn::AppModule {
 public:
  Result Initialize() noexcept override {
    stop_ = CreateEventW(nullptr, TRUE, FALSE, L"Local\\VornTestProductStop");
    started_ = GetTickCount();
    return vorn::kOk;
  }
  bool IsIdle() noexcept override { return false; }
  Result Update(float) noexcept override {
    if (WaitForSingleObject(stop_, 10) == WAIT_OBJECT_0 || GetTickCount() - started_ > 60000) {
      ApplicationCore::Get().RequestQuit(0, false);
    }
    return vorn::kOk;
  }
  void Shutdown() noexcept override {
    if (stop_ != nullptr) CloseHandle(stop_);
    stop_ = nullptr;
  }

 private:
  HANDLE stop_ = nullptr;
  DWORD started_ = 0;
};

ConsoleWindow window;
EnvironmentPrompt prompt;
WaitingModule waiting;
vorn::test::XmlPackage package;

void ApplicationStart() {
  ApplicationCore& core = ApplicationCore::Get();
  core.SetMainWindow(&window);
  package.Add(u"Data/Xml/Product.xml", vorn::test::ProductResourcesXml());
  if (package.MountIn(vorn::PackageFileSystem::Instance()) != vorn::kOk ||
      vorn::ResourceManager::Instance().RegisterDocument(u"Data/Xml/Product.xml") != vorn::kOk ||
      core.Description().ReadFromResources(vorn::ResourceManager::Instance()) != vorn::kOk) {
    core.RequestQuit(97, false);
    return;
  }
  char answer[8] = {};
  if (GetEnvironmentVariableA("VORN_PRODUCT_ANSWER", answer, sizeof answer) > 0) {
    prompt.SetAnswer(answer);
    vorn::SetUserPrompt(&prompt);
  }
  vorn::HandleFrameworkSwitches();
}

void RegisterModules() {
  ApplicationCore::Get().RegisterModule(waiting);
}

}  // namespace

int main() {
  vorn::ProgramHooks hooks;
  hooks.application_start = &ApplicationStart;
  hooks.register_modules = &RegisterModules;
  return vorn::RunProgram(hooks);
}
