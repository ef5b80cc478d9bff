#include "setup/unattended_install.h"

#include "application/command_line.h"
#include "foundation/format.h"
#include "resources/preferences.h"
#include "setup/install_options.h"
#include "setup/installation_settings.h"
#include "setup/product_launch.h"

namespace vorn {

namespace {

constexpr const char16_t* kUnattendedSwitches[] = {u"Unattended",          u"InstallFolder",
                                                   u"ProgramGroup",        u"DesktopShortcut",
                                                   u"QuickLaunchShortcut", u"Log"};

bool IsUnattendedSwitch(const String& name) noexcept {
  for (const char16_t* known : kUnattendedSwitches) {
    if (name.EqualsIgnoringCase(known)) return true;
  }
  return false;
}

// Windows programs quote a whole argument that holds a blank, so
// "/InstallFolder=C:\Program Files\Product" arrives as one quoted token,
// which the command line takes for a file: it is read as the switch it is.
CommandLineToken SwitchOf(const CommandLineToken& token) noexcept {
  CommandLineToken read;
  if (token.is_switch) {
    read = token;
  } else if (token.raw.Length() > 2 && token.raw[0] == u'"' &&
             (token.raw[1] == u'/' || token.raw[1] == u'-')) {
    ReadCommandLineToken(token.file, read);
    read.raw = token.raw;
  }
  return read;
}

// "0" or "1" into 0 or 1; anything else is refused.
Result ReadFlag(const CommandLineToken& token, int32_t& flag) noexcept {
  if (token.switch_value == u"0") {
    flag = 0;
  } else if (token.switch_value == u"1") {
    flag = 1;
  } else {
    return kInvalidArgument;
  }
  return kOk;
}

void SetPreference(const char16_t* path, int32_t flag) noexcept {
  if (flag >= 0) Preferences::Instance().SetBool(path, flag == 1);
}

}  // namespace

Result ReadUnattendedOptions(CommandLine& command_line, UnattendedOptions& options) noexcept {
  options = UnattendedOptions();
  options.requested = command_line.HasSwitch(u"Unattended");
  Result result = kOk;
  for (uint32_t i = 0; i < command_line.TokenCount(); ++i) {
    const CommandLineToken token = SwitchOf(command_line.Token(i));
    if (!token.is_switch) continue;
    const String& name = token.switch_name;
    Result read = kOk;
    if (name.EqualsIgnoringCase(u"InstallFolder")) {
      options.has_install_folder = true;
      options.install_folder = token.switch_value;
    } else if (name.EqualsIgnoringCase(u"ProgramGroup")) {
      options.has_program_group = true;
      options.program_group = token.switch_value;
    } else if (name.EqualsIgnoringCase(u"DesktopShortcut")) {
      read = ReadFlag(token, options.desktop_shortcut);
    } else if (name.EqualsIgnoringCase(u"QuickLaunchShortcut")) {
      read = ReadFlag(token, options.quick_launch_shortcut);
    } else if (name.EqualsIgnoringCase(u"Log")) {
      options.log_path = token.switch_value;
      // "/Log" alone would silently log nothing.
      if (options.log_path.IsEmpty()) read = kInvalidArgument;
    }
    if (result == kOk) result = read;
  }
  return result;
}

String UnattendedChildParameters(const CommandLine& command_line) noexcept {
  String parameters(kElevatedChildParameters);
  for (uint32_t i = 0; i < command_line.TokenCount(); ++i) {
    const CommandLineToken token = SwitchOf(command_line.Token(i));
    if (!token.is_switch || !IsUnattendedSwitch(token.switch_name)) continue;
    parameters += u' ';
    parameters += token.raw;
  }
  return parameters;
}

const char16_t* ResultMeaning(Result result) noexcept {
  switch (result) {
    case kOk:
      return u"success";
    case kInvalidArgument:
      return u"invalid option";
    case kFailed:
      return u"refused by the system, or damaged compressed data";
    case kCancelled:
      return u"cancelled";
    case kOutOfMemory:
      return u"out of memory";
    case kDiskFull:
      return u"disk full";
    case kAlreadyExists:
      return u"the product is running";
    case kAccessDenied:
      return u"access denied";
    case kInUse:
      return u"a file is in use";
    case kCorruptData:
    case kInvalidState:
    case kInvalidContent:
      return u"damaged package";
    case kNotFound:
      return u"not found";
    case kInvalidPath:
      return u"invalid path";
    default:
      return u"failure";
  }
}

Result InstallLog::Open(const String& path) noexcept {
  if (path.IsEmpty()) return kOk;
  return file_.OpenForWriting(path.Text());
}

void InstallLog::Line(const String& text) noexcept {
  if (!file_.IsOpen()) return;
  const String line = text + u"\r\n";
  const Utf8Text utf8(line);
  file_.Write(utf8.Text(), static_cast<uint32_t>(utf8.Length()));
  // Each line reaches the disk at once: a log is read after a run that may
  // have gone wrong.
  file_.Flush(0);
}

void InstallLog::TransferStarted(uint64_t total) noexcept {
  total_ = total;
  next_tenth_ = 1;
  Line(u"Copy started: " + IntegerText(static_cast<int64_t>(total)) + u" bytes");
}

void InstallLog::TransferProgressed(uint64_t bytes_done) noexcept {
  if (total_ == 0) return;
  // The list's sizes may be out of date: never more than 100 %.
  const uint64_t tenths = bytes_done >= total_ ? 10 : bytes_done * 10 / total_;
  while (next_tenth_ <= tenths) {
    Line(u"Copied " + IntegerText(next_tenth_ * 10) + u" %");
    ++next_tenth_;
  }
}

void InstallLog::PreviousInstallationRemoved() noexcept {
  Line(u"Previous version removed");
}

void InstallLog::InstallationRegistered(Result result) noexcept {
  Line(u"Registration: " + IntegerText(static_cast<int64_t>(result)) + u" (" +
       ResultMeaning(result) + u")");
}

int32_t RunUnattendedInstall(const UnattendedOptions& options, Result read_result,
                             bool product_running, InstallationSettings& settings,
                             PackageFileSystem& files) noexcept {
  InstallLog log;
  // A log that cannot be made fails the run before anything is installed:
  // the administrator asked for a record and would get none.
  Result result = log.Open(options.log_path);
  if (result != kOk) return static_cast<int32_t>(result);
  const String folder =
      options.has_install_folder ? options.install_folder : settings.install_folder;
  const String group = options.has_program_group ? options.program_group : settings.program_group;
  log.Line(u"Start: " + settings.FullTitle() + u", folder \"" + folder + u"\", group \"" + group +
           u"\"");
  if (result == kOk) result = read_result;
  if (result == kOk && !InstallOptionsValid(folder, group)) result = kInvalidArgument;
  if (result == kOk && product_running) result = kAlreadyExists;
  if (result == kOk) {
    settings.install_folder = folder;
    settings.program_group = group;
    SetPreference(u"/User/Global/InstallOptions/CreateDesktopShortcut", options.desktop_shortcut);
    SetPreference(u"/User/Global/InstallOptions/CreateQuickLaunchShortcut",
                  options.quick_launch_shortcut);
    FileTransfer transfer(settings, files);
    transfer.SetObserver(&log);
    result = transfer.RunJob();
  }
  log.Line(u"Result: " + IntegerText(static_cast<int64_t>(result)) + u" (" + ResultMeaning(result) +
           u")");
  return static_cast<int32_t>(result);
}

}  // namespace vorn
