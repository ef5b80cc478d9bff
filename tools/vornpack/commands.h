// The tool's commands. Each takes the arguments after its name and returns
// the process exit status: 0 success, 1 the work failed (one message naming
// the file), 2 a wrong command line.
#pragma once

#include <string>
#include <vector>

#include "tool_output.h"

namespace vornpack {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

using Arguments = std::vector<std::string>;

int RunBuildCommand(const Arguments& args, ToolOutput& out);
int RunSetupCommand(const Arguments& args, ToolOutput& out);
int RunListCommand(const Arguments& args, ToolOutput& out);
int RunVerifyCommand(const Arguments& args, ToolOutput& out);
int RunExtractCommand(const Arguments& args, ToolOutput& out);
int RunInitCommand(const Arguments& args, ToolOutput& out);
int RunCheckCommand(const Arguments& args, ToolOutput& out);

// The whole tool: `args` without the program name.
int RunVornpack(const Arguments& args, ToolOutput& out);

// Shared by the commands: "vornpack: MESSAGE" on the error channel.
int Failure(ToolOutput& out, const std::string& message, int status = kExitFailure);
int UsageError(ToolOutput& out, const std::string& command, const std::string& message);
void Warning(ToolOutput& out, const std::string& message);

struct PackageProblem;
// One "FILE:LINE:COLUMN: message" line per problem, on standard output or
// (for `build`, whose results are elsewhere) standard error; their number.
int ReportPackageProblems(const std::vector<PackageProblem>& problems, ToolOutput& out,
                          bool to_error);

}  // namespace vornpack
