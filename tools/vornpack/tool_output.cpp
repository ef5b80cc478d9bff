#include "tool_output.h"

#include "console.h"

namespace vornpack {
namespace {

class Console : public ToolOutput {
 public:
  void Out(const std::string& text) override { WriteText(Channel::kOut, text); }
  void Error(const std::string& text) override { WriteText(Channel::kError, text); }
  std::unique_ptr<ProgressReporter> NewProgress() override { return NewConsoleProgress(); }
};

}  // namespace

ToolOutput& ConsoleOutput() {
  static Console console;
  return console;
}

}  // namespace vornpack
