// Progress of a long operation (build, extract). On a terminal: one line
// redrawn in place with a bar, the bytes done and the throughput. Not on a
// terminal (logs, CI): a plain line at every tenth of the work, so logs stay
// short and readable.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace vornpack {

class ProgressReporter {
 public:
  virtual ~ProgressReporter() = default;
  virtual void Begin(const std::string& action, uint64_t total_bytes) = 0;
  virtual void Advance(uint64_t bytes) = 0;
  // Clears a bar; prints nothing else (the caller prints the summary).
  virtual void End() = 0;
};

// The reporter for standard error: a bar on a terminal, lines otherwise.
std::unique_ptr<ProgressReporter> NewConsoleProgress();
// One that says nothing (tests, --quiet).
std::unique_ptr<ProgressReporter> NewSilentProgress();

// "12.3 MiB/s" from a byte count and seconds.
std::string Throughput(uint64_t bytes, double seconds);

}  // namespace vornpack
