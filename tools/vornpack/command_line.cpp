#include "command_line.h"

namespace vornpack {

bool ParsedCommand::Has(const std::string& name) const {
  for (const auto& option : options) {
    if (option.first == name) return true;
  }
  return false;
}

std::string ParsedCommand::Value(const std::string& name) const {
  std::string value;
  for (const auto& option : options) {
    if (option.first == name) value = option.second;
  }
  return value;
}

std::vector<std::string> ParsedCommand::Values(const std::string& name) const {
  std::vector<std::string> values;
  for (const auto& option : options) {
    if (option.first == name) values.push_back(option.second);
  }
  return values;
}

bool ParseCommand(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs,
                  ParsedCommand& parsed, std::string& error) {
  parsed = ParsedCommand{};
  bool only_operands = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (only_operands || arg.size() < 2 || arg[0] != '-') {
      parsed.operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      only_operands = true;
      continue;
    }
    if (arg == "--help" || arg == "-h" || arg == "-?") {
      parsed.help = true;
      continue;
    }
    const size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const OptionSpec* spec = nullptr;
    for (const OptionSpec& s : specs) {
      if (name == s.name || (s.short_name != nullptr && name == s.short_name)) spec = &s;
    }
    if (spec == nullptr) {
      error = "unknown option " + name;
      return false;
    }
    std::string value;
    if (spec->takes_value) {
      if (equals != std::string::npos) {
        value = arg.substr(equals + 1);
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        error = "the option " + name + " needs a value";
        return false;
      }
    } else if (equals != std::string::npos) {
      error = "the option " + name + " takes no value";
      return false;
    }
    parsed.options.push_back({spec->name, value});
  }
  return true;
}

}  // namespace vornpack
