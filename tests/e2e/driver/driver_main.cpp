// Entry of the end-to-end test driver: e2e_driver COMMAND ARGS... [--option value]...
#include "e2e/driver/driver.h"

#include <shellapi.h>

#include <cwchar>

namespace e2e {
namespace {

struct Command {
  const wchar_t* name;
  int (*run)(const Arguments&);
  const wchar_t* usage;
};

const Command kCommands[] = {
    {L"windows", &ListWindows, L"CLASS                 top-level windows of a class, hidden ones too"},
    {L"wait-window", &WaitWindow, L"CLASS [--timeout MS]  a visible top-level window"},
    {L"wait-no-window", &WaitNoWindow, L"CLASS [--timeout MS] until no visible window of the class is left"},
    {L"info", &WindowInfo, L"CLASS                    the visible window's state and whether it is in front"},
    {L"show", &ShowTopLevel, L"CLASS minimize|restore|maximize"},
    {L"close", &CloseWindow, L"CLASS                     posts WM_CLOSE, as the frame's close box does"},
    {L"wait-control", &WaitControl,
     L"CLASS PATH [--state exists|visible|hidden|enabled|disabled|checked|unchecked|gone] [--text T] [--timeout MS]"},
    {L"text", &ControlText, L"CLASS PATH"},
    {L"state", &ControlState, L"CLASS PATH               visible, enabled, checked, text"},
    {L"controls", &ListControls, L"CLASS                 every descendant: identifier, class, state, text"},
    {L"click", &Click, L"CLASS PATH [--wait-exit MS]  a push button's click (WM_COMMAND to its parent)"},
    {L"set-check", &SetCheck, L"CLASS PATH 0|1         clicks a check box when its state differs"},
    {L"set-text", &SetText,
     L"CLASS PATH TEXT [--notify none|CODE] an edit or combo text, with the change notification"},
    {L"select-item", &SelectItem, L"CLASS PATH TEXT|#INDEX  picks a combo box item (CBN_SELENDOK)"},
    {L"items", &ListItems, L"CLASS PATH                 a combo box's items"},
    {L"select-tab", &SelectTab, L"CLASS PATH INDEX       a tab, with the tab control's own notification"},
    {L"key", &PressKey, L"CLASS PATH escape|enter      posts a key press to a control"},
    {L"wait-dialog", &WaitDialog, L"[--owner CLASS] [--timeout MS]  a message box; prints its texts"},
    {L"press-dialog", &PressDialog,
     L"BUTTON [--owner CLASS] [--timeout MS]  Yes, No, OK, Cancel, an identifier or a button text"},
    {L"run", &Run, L"[--timeout MS] PROGRAM [ARGS...]  runs a program and prints its exit code"},
    {L"start", &Start, L"PROGRAM [ARGS...]          starts a program and prints its process id"},
    {L"processes", &Processes, L"[NAME]                 running processes (of that file name)"},
    {L"wait-process", &WaitProcess, L"NAME [--gone] [--timeout MS]"},
    {L"reg-dump", &RegistryDump, L"KEY OUTFILE             a registry sub-tree as UTF-8 text"},
};

int Usage() {
  Print(L"usage: e2e_driver COMMAND ARGS...");
  for (const Command& command : kCommands) Print(std::wstring(L"  ") + command.name + L" " + command.usage);
  Print(L"exit codes: 0 done, 1 timed out, 2 not found, 3 usage, 4 wrong state, 5 system failure");
  return kUsage;
}

}  // namespace

bool Arguments::Has(const wchar_t* name) const {
  for (const auto& option : options)
    if (option.first == name) return true;
  return false;
}

std::wstring Arguments::Option(const wchar_t* name, const wchar_t* fallback) const {
  for (const auto& option : options)
    if (option.first == name) return option.second;
  return fallback;
}

DWORD Arguments::Timeout(DWORD fallback) const {
  const std::wstring text = Option(L"timeout");
  return text.empty() ? fallback : static_cast<DWORD>(wcstoul(text.c_str(), nullptr, 10));
}

}  // namespace e2e

int main() {
  int count = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (argv == nullptr || count < 2) return e2e::Usage();
  const std::wstring name = argv[1];
  e2e::Arguments args;
  // Options that stand alone; every other "--name" takes the next argument.
  const auto is_flag = [](const std::wstring& option) {
    return option == L"gone" || option == L"hidden";
  };
  bool rest_positional = false;
  for (int i = 2; i < count; ++i) {
    const std::wstring arg = argv[i];
    // A program's own arguments (run, start) are never options of ours.
    if (!rest_positional && arg.size() > 2 && arg.compare(0, 2, L"--") == 0) {
      const std::wstring option = arg.substr(2);
      if (is_flag(option) || i + 1 >= count) {
        args.options.emplace_back(option, L"");
      } else {
        args.options.emplace_back(option, argv[++i]);
      }
      continue;
    }
    args.positional.push_back(arg);
    if (name == L"run" || name == L"start") rest_positional = true;
  }
  LocalFree(argv);
  for (const auto& command : e2e::kCommands) {
    if (name == command.name) return command.run(args);
  }
  return e2e::Usage();
}
