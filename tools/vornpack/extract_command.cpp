// vornpack extract FILE -o DIR
#include <algorithm>
#include <memory>
#include <set>

#include "archive_file.h"
#include "archive_names.h"
#include "command_line.h"
#include "commands.h"
#include "created_folders.h"
#include "file_ops.h"
#include "foundation/folder.h"
#include "help_text.h"
#include "package_path.h"
#include "pending_output.h"
#include "source_tree.h"
#include "tool_text.h"

namespace vornpack {
namespace {

const std::vector<OptionSpec> kExtractOptions = {{"--output", "-o", true}};

struct Target {
  const WalkedEntry* entry;
  uint32_t hash;
  std::u16string relative;  // inside the output folder
};

std::u16string Lowered(const std::u16string& text) {
  std::u16string lower = text;
  for (char16_t& c : lower) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return lower;
}

// Where each entry goes. A name read from the archive is used only when it
// is a valid package path (no ".." or absolute path can leave the output
// folder) and differs from every other one even without regard to case
// (which many file systems ignore); otherwise the entry goes by its hash.
std::vector<Target> PlanTargets(const ArchiveLayout& layout, const ArchiveNames& names,
                                std::vector<std::string>& warnings) {
  std::vector<std::pair<uint32_t, uint32_t>> by_offset;
  for (const vorn::DirectoryRow& row : layout.rows) by_offset.push_back({row.offset, row.hash});
  std::sort(by_offset.begin(), by_offset.end());
  std::vector<Target> targets;
  std::set<std::u16string> taken;
  for (const auto& [offset, hash] : by_offset) {
    Target target{layout.EntryAt(offset), hash, u""};
    const std::u16string* name = names.NameOf(hash);
    std::string reason;
    if (name != nullptr && CheckPackagePath(*name, reason) == vorn::kOk &&
        taken.insert(Lowered(*name)).second) {
      target.relative = *name;
    } else {
      if (name != nullptr) {
        warnings.push_back("writing \"" + ToUtf8(*name) + "\" by its hash: " +
                           (reason.empty() ? "another entry has the same name" : reason));
      }
      target.relative = u"by-hash/" + FromUtf8(Hex8(hash)) + u".bin";
    }
    targets.push_back(target);
  }
  return targets;
}

vorn::Result WriteTarget(const ArchiveFile& file, const Target& target, PendingOutput& output,
                         ProgressReporter& progress, std::string& error) {
  vorn::Result r = output.Open(error);
  if (r != vorn::kOk) return r;
  r = DecodeEntry(
      file.Data(), file.Size(), *target.entry,
      [&](const uint8_t* data, uint32_t size) {
        progress.Advance(size);
        return output.Stream().Write(data, size);
      },
      error);
  if (r != vorn::kOk) {
    if (error.empty()) {
      error = "cannot write " + ToUtf8(output.Path()) + " (error " + std::to_string(r) + ")";
    }
    return r;
  }
  return output.Finish(error);
}

}  // namespace

int RunExtractCommand(const Arguments& args, ToolOutput& out) {
  ParsedCommand command;
  std::string error;
  if (!ParseCommand(args, kExtractOptions, command, error)) {
    return UsageError(out, "extract", error);
  }
  if (command.help) {
    out.Out(CommandHelp("extract"));
    return kExitSuccess;
  }
  if (command.operands.size() != 1) return UsageError(out, "extract", "extract takes one file");
  if (command.Value("--output").empty()) {
    return UsageError(out, "extract", "extract needs the folder to write into (-o DIR)");
  }
  const std::u16string path = FromUtf8(command.operands[0]);
  const std::u16string folder = WithSeparator(FromUtf8(command.Value("--output")));
  ArchiveFile file;
  ArchiveLayout layout;
  if (OpenArchive(path, file, layout, error) != vorn::kOk) return Failure(out, error);
  std::vector<std::string> problems, warnings;
  CheckDirectory(layout, problems, warnings);
  if (!problems.empty()) return Failure(out, ToUtf8(path) + ": " + problems[0]);
  ArchiveNames names;
  names.Resolve(file.Data(), file.Size(), layout);
  const std::vector<Target> targets = PlanTargets(layout, names, warnings);
  for (const std::string& warning : warnings) Warning(out, warning);

  uint64_t total = 0;
  for (const Target& t : targets) total += t.entry->header.unpacked_size;
  std::unique_ptr<ProgressReporter> progress = out.NewProgress();
  progress->Begin("extracting", total);
  CreatedFolders folders;
  std::vector<std::unique_ptr<PendingOutput>> outputs;
  vorn::Result r = vorn::kOk;
  for (const Target& target : targets) {
    const std::u16string destination = folder + target.relative;
    const size_t slash = destination.find_last_of(u'/');
    if ((r = folders.Ensure(destination.substr(0, slash + 1), error)) != vorn::kOk) break;
    outputs.push_back(std::make_unique<PendingOutput>(destination));
    if ((r = WriteTarget(file, target, *outputs.back(), *progress, error)) != vorn::kOk) {
      const std::u16string* name = names.NameOf(target.hash);
      error = ToUtf8(path) + ": " + (name ? ToUtf8(*name) + ": " : std::string()) + error;
      break;
    }
  }
  // Every file is complete before any takes its real name.
  for (size_t i = 0; r == vorn::kOk && i < outputs.size(); ++i) r = outputs[i]->Commit(error);
  progress->End();
  if (r != vorn::kOk) {
    outputs.clear();  // removes the temporary files
    folders.RemoveAll();
    return Failure(out, error + "; nothing was extracted");
  }
  out.Out("extracted " + std::to_string(targets.size()) + " files (" + HumanSize(total) + ", " +
          std::to_string(names.Count()) + " by name) into " + ToUtf8(folder) + "\n");
  return kExitSuccess;
}

}  // namespace vornpack
