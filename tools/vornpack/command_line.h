// The tool's command line: a command name, then its operands and options.
// Options take their value as the next argument or after '='
// ("--threads 4", "--threads=4"); an option may repeat (--method).
#pragma once

#include <string>
#include <vector>

namespace vornpack {

struct OptionSpec {
  const char* name;        // "--output"
  const char* short_name;  // "-o", or null
  bool takes_value;
};

struct ParsedCommand {
  std::vector<std::string> operands;
  std::vector<std::pair<std::string, std::string>> options;  // long name, value
  bool help = false;

  bool Has(const std::string& name) const;
  // The last value given for the option, or "".
  std::string Value(const std::string& name) const;
  std::vector<std::string> Values(const std::string& name) const;
};

// Parses `args` (after the command name) against the command's options;
// false with the reason in `error` for an unknown option or a missing value.
bool ParseCommand(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs,
                  ParsedCommand& parsed, std::string& error);

}  // namespace vornpack
