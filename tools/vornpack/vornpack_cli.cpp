#include "commands.h"
#include "help_text.h"

namespace vornpack {

int Failure(ToolOutput& out, const std::string& message, int status) {
  out.Error("vornpack: " + message + "\n");
  return status;
}

int UsageError(ToolOutput& out, const std::string& command, const std::string& message) {
  const std::string hint = command.empty() ? "vornpack --help" : "vornpack " + command + " --help";
  return Failure(out, message + " (see \"" + hint + "\")", kExitUsage);
}

void Warning(ToolOutput& out, const std::string& message) {
  out.Error("vornpack: warning: " + message + "\n");
}

int RunVornpack(const Arguments& args, ToolOutput& out) {
  if (args.empty()) {
    out.Error(GeneralHelp());
    return kExitUsage;
  }
  const std::string& command = args[0];
  if (command == "--help" || command == "-h" || command == "help") {
    if (args.size() > 1 && !CommandHelp(args[1]).empty()) {
      out.Out(CommandHelp(args[1]));
    } else {
      out.Out(GeneralHelp());
    }
    return kExitSuccess;
  }
  const Arguments rest(args.begin() + 1, args.end());
  if (command == "build") return RunBuildCommand(rest, out);
  if (command == "setup") return RunSetupCommand(rest, out);
  if (command == "list") return RunListCommand(rest, out);
  if (command == "verify") return RunVerifyCommand(rest, out);
  if (command == "extract") return RunExtractCommand(rest, out);
  if (command == "init") return RunInitCommand(rest, out);
  if (command == "check") return RunCheckCommand(rest, out);
  return UsageError(out, "", "unknown command \"" + command + "\"");
}

}  // namespace vornpack
