// Temporary outputs to delete when the user interrupts the tool (Ctrl+C):
// the one thing a killed run could otherwise leave behind. The handler
// removes every registered file and ends the process.
#pragma once

#include <string>

namespace vornpack {

void RemoveOnInterrupt(const std::u16string& path);
void ForgetOnInterrupt(const std::u16string& path);

}  // namespace vornpack
