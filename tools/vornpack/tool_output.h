// Where a command's results, messages and progress go: the console in the
// program, a recorder in tests that run commands in-process.
#pragma once

#include <memory>
#include <string>

#include "progress.h"

namespace vornpack {

class ToolOutput {
 public:
  virtual ~ToolOutput() = default;
  virtual void Out(const std::string& text) = 0;    // results (standard output)
  virtual void Error(const std::string& text) = 0;  // messages (standard error)
  virtual std::unique_ptr<ProgressReporter> NewProgress() = 0;
};

// Standard output and error, with a progress bar on a terminal.
ToolOutput& ConsoleOutput();

}  // namespace vornpack
