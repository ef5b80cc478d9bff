// Installing with no one in front of the computer: "/Unattended" with its
// options runs the transfer page's job on the main thread, with no window,
// no message box and no question, and ends with the job's result code as
// the exit code. An optional log records one line per step.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"
#include "package/file_stream.h"
#include "setup/file_transfer.h"

namespace vorn {

class CommandLine;
class PackageFileSystem;

struct UnattendedOptions {
  bool requested = false;  // "/Unattended" is on the command line
  bool has_install_folder = false;
  bool has_program_group = false;
  String install_folder;
  String program_group;
  // -1 keeps the user's preference (the options page's check box).
  int32_t desktop_shortcut = -1;
  int32_t quick_launch_shortcut = -1;
  String log_path;  // empty: no log
};

// Reads "/Unattended", "/InstallFolder=", "/ProgramGroup=",
// "/DesktopShortcut=0|1", "/QuickLaunchShortcut=0|1" and "/Log=" (names in
// any case). 5 for a value that cannot be right whatever the settings are:
// a shortcut option other than 0 or 1, an option or log without its value.
Result ReadUnattendedOptions(CommandLine& command_line, UnattendedOptions& options) noexcept;

// The elevated child's parameters: its usual switches, then the unattended
// switches of `command_line` as they were written.
String UnattendedChildParameters(const CommandLine& command_line) noexcept;

// A few words for a result code, for the log.
const char16_t* ResultMeaning(Result result) noexcept;

// The log's text lines, written as they happen (a run that is killed keeps
// the lines before it). Without a path it writes nothing.
class InstallLog final : public TransferObserver {
 public:
  // The system's error when the file cannot be made.
  Result Open(const String& path) noexcept;
  void Line(const String& text) noexcept;

  void TransferStarted(uint64_t total) noexcept override;
  void TransferProgressed(uint64_t bytes_done) noexcept override;
  void PreviousInstallationRemoved() noexcept override;
  void InstallationRegistered(Result result) noexcept override;

 private:
  FileStream file_;
  uint64_t total_ = 0;
  uint32_t next_tenth_ = 1;
};

// The whole unattended installation into `settings`' product: `options`
// (read with `read_result`) applied over the existing installation's or the
// default folder and group and checked with the options page's rules (5,
// nothing written), 14 while the product runs, then the transfer job. Gives
// the exit code: 0, or the failure's result code.
int32_t RunUnattendedInstall(const UnattendedOptions& options, Result read_result,
                             bool product_running, InstallationSettings& settings,
                             PackageFileSystem& files) noexcept;

}  // namespace vorn
