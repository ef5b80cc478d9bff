// vornpack build DIR -o FILE.kelp [--method GLOB=N]... [--file-list PRODUCT_DIR] [--threads N]
//                [--no-check]
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "command_line.h"
#include "commands.h"
#include "file_ops.h"
#include "help_text.h"
#include "package/package_format.h"
#include "package_checker.h"
#include "package_plan.h"
#include "pending_output.h"
#include "source_tree.h"
#include "system_info.h"
#include "tool_text.h"

namespace vornpack {
namespace {

const std::vector<OptionSpec> kBuildOptions = {
    {"--output", "-o", true},     {"--method", nullptr, true}, {"--file-list", nullptr, true},
    {"--threads", nullptr, true}, {"--quiet", "-q", false},    {"--no-check", nullptr, false},
};

// The header's creation stamp: SOURCE_DATE_EPOCH when set, so that a
// release rebuilt from the same sources is the same file, else now (UTC).
bool CreationStamp(uint32_t& date, uint32_t& time, std::string& error) {
  bool found = false;
  const std::string epoch = EnvironmentVariable("SOURCE_DATE_EPOCH", found);
  vorn::DateTime when = vorn::DateTime::Now();
  if (found) {
    char* end = nullptr;
    const long long seconds = std::strtoll(epoch.c_str(), &end, 10);
    if (epoch.empty() || *end != 0 || seconds < 0) {
      error = "SOURCE_DATE_EPOCH is not a count of seconds: \"" + epoch + "\"";
      return false;
    }
    when = vorn::DateTime::FromUnixTime(seconds, 0);
  }
  const vorn::CivilDateTime civil = when.ToCivil();
  date = vorn::DigitCodedDate(civil.year, civil.month, civil.day);
  time = vorn::DigitCodedTime(civil.hours, civil.minutes, static_cast<int32_t>(civil.seconds));
  return true;
}

bool ParseThreads(const std::string& text, uint32_t& threads) {
  char* end = nullptr;
  const unsigned long value = std::strtoul(text.c_str(), &end, 10);
  if (text.empty() || *end != 0 || value < 1 || value > 256) return false;
  threads = static_cast<uint32_t>(value);
  return true;
}

// The output's own path (and its temporary twin) when it lies inside the
// folder being packed: a second build must not pack the first one's result.
std::vector<std::u16string> OutputInsideSource(const std::u16string& source,
                                               const std::u16string& output) {
  std::u16string full_source, full_output;
  if (FullPath(source, full_source) != vorn::kOk || FullPath(output, full_output) != vorn::kOk) {
    return {};
  }
  // Full paths on Windows use "\\" (and ignore case); the listing spells the
  // files it finds as the source folder as given, then "/" between names.
  std::replace(full_source.begin(), full_source.end(), u'\\', u'/');
  std::replace(full_output.begin(), full_output.end(), u'\\', u'/');
  full_source = WithSeparator(full_source);
  if (full_output.size() < full_source.size()) return {};
#ifdef _WIN32
  const auto fold = [](char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; };
  if (!std::equal(full_source.begin(), full_source.end(), full_output.begin(),
                  [&](char16_t a, char16_t b) { return fold(a) == fold(b); })) {
    return {};
  }
#else
  if (full_output.compare(0, full_source.size(), full_source) != 0) return {};
#endif
  const std::u16string relative = full_output.substr(full_source.size());
  const std::u16string inside = WithSeparator(source) + relative;
  return {inside, TemporarySibling(inside)};
}

}  // namespace

int RunBuildCommand(const Arguments& args, ToolOutput& out) {
  ParsedCommand command;
  std::string error;
  if (!ParseCommand(args, kBuildOptions, command, error)) return UsageError(out, "build", error);
  if (command.help) {
    out.Out(CommandHelp("build"));
    return kExitSuccess;
  }
  if (command.operands.size() != 1) {
    return UsageError(out, "build", "build takes one folder to pack");
  }
  if (command.Value("--output").empty()) {
    return UsageError(out, "build", "build needs the archive to write (-o FILE.kelp)");
  }
  PlanOptions plan;
  plan.source_folder = FromUtf8(command.operands[0]);
  const std::u16string output_path = FromUtf8(command.Value("--output"));
  for (const std::string& rule : command.Values("--method")) {
    if (plan.methods.AddRule(rule, error) != vorn::kOk) return UsageError(out, "build", error);
  }
  if (command.Has("--file-list")) {
    plan.generate_file_list = true;
    plan.product_folder = FromUtf8(command.Value("--file-list"));
  }
  BuildSettings settings;
  settings.threads = ProcessorCount();
  if (command.Has("--threads") && !ParseThreads(command.Value("--threads"), settings.threads)) {
    return UsageError(out, "build", "--threads wants a number from 1 to 256");
  }
  if (!CreationStamp(settings.creation_date, settings.creation_time, error)) {
    return Failure(out, error);
  }
  plan.excluded = OutputInsideSource(plan.source_folder, output_path);

  // What `vornpack check` finds would break the installer at run time:
  // nothing is packed until the folder is sound, unless asked.
  FileStatus source_status;
  QueryFileStatus(plan.source_folder, source_status);
  if (source_status.is_folder && !command.Has("--no-check")) {
    PackageCheck check;
    check.folder = plan.source_folder;
    check.product_folder = plan.product_folder;
    std::vector<PackageProblem> problems;
    CheckPackageFolder(check, problems);
    if (!problems.empty()) {
      ReportPackageProblems(problems, out, true);
      return Failure(out, command.operands[0] + ": " + std::to_string(problems.size()) +
                              (problems.size() == 1 ? " problem" : " problems") +
                              ", nothing built (--no-check builds anyway)");
    }
  }

  const double start = MonotonicSeconds();
  std::vector<PackageInput> inputs;
  std::vector<std::string> warnings;
  vorn::Result r = PlanPackage(plan, inputs, warnings, error);
  for (const std::string& warning : warnings) Warning(out, warning);
  if (r != vorn::kOk) return Failure(out, error);

  PendingOutput output(output_path);
  if (output.Open(error) != vorn::kOk) return Failure(out, error);
  const bool quiet = command.Has("--quiet");
  std::unique_ptr<ProgressReporter> progress = quiet ? NewSilentProgress() : out.NewProgress();
  settings.progress = progress.get();
  BuildSummary summary;
  r = WritePackage(inputs, settings, output.Stream(), summary, error);
  if (r != vorn::kOk) {
    output.Discard();
    return Failure(out, "cannot build " + ToUtf8(output_path) + ": " + error);
  }
  if (output.Commit(error) != vorn::kOk) return Failure(out, error);
  if (!quiet) {
    const double seconds = MonotonicSeconds() - start;
    char time[32];
    std::snprintf(time, sizeof time, "%.2f s", seconds);
    out.Out(ToUtf8(output_path) + ": " + std::to_string(summary.entries) + " files, " +
            HumanSize(summary.input_bytes) + " packed into " + HumanSize(summary.archive_bytes) +
            " in " + time + " (" + Throughput(summary.input_bytes, seconds) + ", " +
            std::to_string(settings.threads) + " threads)\n");
    const uint64_t stored = summary.incompressible_files;
    out.Out(std::to_string(stored) + (stored == 1 ? " file" : " files") + " (" +
            HumanSize(summary.incompressible_bytes) + ") stored because they did not compress\n");
  }
  return kExitSuccess;
}

}  // namespace vornpack
