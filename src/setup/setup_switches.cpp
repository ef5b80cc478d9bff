#include "setup/setup_switches.h"

#include "application/application_core.h"
#include "application/command_line.h"
#include "application/framework_switches.h"
#include "resources/localized_text.h"

namespace vorn {

uint32_t HandleSetupSwitches(CommandLine& command_line, SetupSwitchActions& actions) noexcept {
  if (command_line.HasSwitch(u"Quiet")) actions.SetQuiet();
  uint32_t quits = 0;
  for (uint32_t i = 0; i < command_line.TokenCount(); ++i) {
    const CommandLineToken& token = command_line.Token(i);
    if (!token.is_switch) continue;
    if (token.switch_name.EqualsIgnoringCase(u"Language")) {
      actions.ApplyLanguage(token.switch_value);
      continue;
    }
    Result result = kOk;
    if (!actions.RunFrameworkSwitch(token.switch_name, result)) continue;
    actions.RequestQuit(static_cast<int32_t>(result));
    ++quits;
  }
  return quits;
}

namespace {

class ProgramActions : public SetupSwitchActions {
 public:
  void SetQuiet() noexcept override { ApplicationCore::Get().SetQuiet(true); }
  bool RunFrameworkSwitch(const String& name, Result& result) noexcept override {
    return vorn::RunFrameworkSwitch(name, result);
  }
  void ApplyLanguage(const String& value) noexcept override {
    // An unknown name gives 5 and leaves the language as it was.
    SetChosenLanguage(value.Text());
  }
  void RequestQuit(int32_t exit_code) noexcept override {
    ApplicationCore::Get().RequestQuit(exit_code, false);
  }
};

}  // namespace

SetupSwitchActions& ProgramSwitchActions() noexcept {
  static ProgramActions actions;
  return actions;
}

}  // namespace vorn
