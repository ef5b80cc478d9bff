// Shared by the tool's tests: a private temporary folder per test, file
// helpers, and running the tool's commands in-process with their output
// recorded.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "tool_output.h"

namespace vornpack_test {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

class RecordingOutput : public vornpack::ToolOutput {
 public:
  void Out(const std::string& text) override { out += text; }
  void Error(const std::string& text) override { error += text; }
  std::unique_ptr<vornpack::ProgressReporter> NewProgress() override {
    return vornpack::NewSilentProgress();
  }
  std::string out;
  std::string error;
};

struct RunResult {
  int status = -1;
  std::string out;
  std::string error;
};

// Runs `vornpack ARGS...`.
RunResult RunTool(const std::vector<std::string>& args);

// A folder of its own under the system's temporary folder, removed with
// everything in it when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const fs::path& Path() const { return path_; }
  // The UTF-8 form of a path below the folder ("" for the folder itself).
  std::string operator()(const std::string& relative = "") const;

 private:
  fs::path path_;
};

std::string Utf8(const fs::path& path);
void WriteFile(const fs::path& path, const Bytes& bytes);
void WriteFile(const fs::path& path, const std::string& text);
Bytes ReadFile(const fs::path& path);
inline Bytes BytesOf(const std::string& text) {
  return Bytes(text.begin(), text.end());
}
// Deterministic bytes: compressible text, or noise.
Bytes TextBytes(size_t size, uint32_t seed);
Bytes NoiseBytes(size_t size, uint32_t seed);
// Every regular file below `folder`, as relative "/" paths, sorted.
std::vector<std::string> FilesBelow(const fs::path& folder);

// Sets (or with null, removes) an environment variable for this process.
void SetEnvironment(const char* name, const char* value);

}  // namespace vornpack_test
