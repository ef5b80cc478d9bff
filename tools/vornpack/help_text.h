// What `vornpack --help` and `vornpack COMMAND --help` print.
#pragma once

#include <string>

namespace vornpack {

std::string GeneralHelp();
// The help of one command; empty for an unknown name.
std::string CommandHelp(const std::string& command);

}  // namespace vornpack
