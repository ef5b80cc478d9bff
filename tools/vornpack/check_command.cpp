// vornpack check DIR [--file-list PRODUCT_DIR]
#include "command_line.h"
#include "commands.h"
#include "file_ops.h"
#include "help_text.h"
#include "package_checker.h"
#include "tool_text.h"

namespace vornpack {
namespace {

const std::vector<OptionSpec> kCheckOptions = {{"--file-list", nullptr, true}};

}  // namespace

int ReportPackageProblems(const std::vector<PackageProblem>& problems, ToolOutput& out,
                          bool to_error) {
  for (const PackageProblem& problem : problems) {
    const std::string line = FormatProblem(problem) + "\n";
    to_error ? out.Error(line) : out.Out(line);
  }
  return static_cast<int>(problems.size());
}

int RunCheckCommand(const Arguments& args, ToolOutput& out) {
  ParsedCommand command;
  std::string error;
  if (!ParseCommand(args, kCheckOptions, command, error)) return UsageError(out, "check", error);
  if (command.help) {
    out.Out(CommandHelp("check"));
    return kExitSuccess;
  }
  if (command.operands.size() != 1) {
    return UsageError(out, "check", "check takes one package folder");
  }
  PackageCheck check;
  check.folder = FromUtf8(command.operands[0]);
  check.product_folder = FromUtf8(command.Value("--file-list"));
  if (command.Has("--file-list") && check.product_folder.empty()) {
    return UsageError(out, "check", "--file-list needs the product folder");
  }
  FileStatus status;
  QueryFileStatus(check.folder, status);
  if (!status.is_folder) return Failure(out, command.operands[0] + " is not a folder");
  std::vector<PackageProblem> problems;
  CheckPackageFolder(check, problems);
  ReportPackageProblems(problems, out, false);
  if (!problems.empty()) {
    out.Out(command.operands[0] + ": " + std::to_string(problems.size()) +
            (problems.size() == 1 ? " problem\n" : " problems\n"));
    return kExitFailure;
  }
  out.Out(command.operands[0] + ": no problems\n");
  return kExitSuccess;
}

}  // namespace vornpack
