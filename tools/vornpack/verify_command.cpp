// vornpack verify FILE
#include <map>

#include "archive_file.h"
#include "archive_names.h"
#include "command_line.h"
#include "commands.h"
#include "help_text.h"
#include "package/memory_stream.h"
#include "package/package_archive.h"
#include "tool_text.h"

namespace vornpack {
namespace {

// Decodes every file entry in full; the first that fails is the fault.
vorn::Result DecodeAll(const ArchiveFile& file, const ArchiveLayout& layout,
                       const ArchiveNames& names, ProgressReporter& progress, uint64_t& total,
                       std::string& error) {
  std::map<uint64_t, uint32_t> hash_at;  // entry offset -> path hash
  for (const vorn::DirectoryRow& row : layout.rows) hash_at[row.offset] = row.hash;
  total = 0;
  for (const WalkedEntry& entry : layout.entries) total += entry.header.unpacked_size;
  progress.Begin("verifying", total);
  for (const WalkedEntry& entry : layout.entries) {
    uint64_t delivered = 0;
    vorn::Result r = DecodeEntry(
        file.Data(), file.Size(), entry,
        [&](const uint8_t*, uint32_t size) {
          delivered += size;
          progress.Advance(size);
          return vorn::kOk;
        },
        error);
    if (r != vorn::kOk) {
      progress.End();
      auto hash = hash_at.find(entry.offset);
      const std::u16string* name = hash == hash_at.end() ? nullptr : names.NameOf(hash->second);
      if (name != nullptr) error = ToUtf8(*name) + ": " + error;
      return r;
    }
  }
  progress.End();
  return vorn::kOk;
}

// The installer's own reader must take the archive too, and find every
// entry whose name is known.
vorn::Result MountAsInstaller(const ArchiveFile& file, const ArchiveNames& names,
                              const ArchiveLayout& layout, std::string& error) {
  vorn::MemoryStream source(file.Data(), file.Size());
  vorn::PackageArchive archive;
  vorn::Result r = archive.Mount(&source);
  if (r != vorn::kOk) {
    error = "the installer's reader refuses the archive (error " + std::to_string(r) + ")";
    return r;
  }
  for (const vorn::DirectoryRow& row : layout.rows) {
    const std::u16string* name = names.NameOf(row.hash);
    if (name == nullptr) continue;
    vorn::SubStream* entry = nullptr;
    if ((r = archive.OpenEntry(name->c_str(), entry)) != vorn::kOk) {
      error = "the installer's reader cannot open " + ToUtf8(*name) + " (error " +
              std::to_string(r) + ")";
      return r;
    }
    archive.CloseEntry(entry);
  }
  return vorn::kOk;
}

}  // namespace

int RunVerifyCommand(const Arguments& args, ToolOutput& out) {
  ParsedCommand command;
  std::string error;
  if (!ParseCommand(args, {}, command, error)) return UsageError(out, "verify", error);
  if (command.help) {
    out.Out(CommandHelp("verify"));
    return kExitSuccess;
  }
  if (command.operands.size() != 1) return UsageError(out, "verify", "verify takes one file");
  const std::u16string path = FromUtf8(command.operands[0]);
  const std::string name = ToUtf8(path);
  ArchiveFile file;
  ArchiveLayout layout;
  if (OpenArchive(path, file, layout, error) != vorn::kOk) return Failure(out, error);
  std::vector<std::string> problems, warnings;
  CheckDirectory(layout, problems, warnings);
  for (const std::string& warning : warnings) Warning(out, name + ": " + warning);
  if (!problems.empty()) {
    for (size_t i = 1; i < problems.size(); ++i) out.Error("  also: " + problems[i] + "\n");
    return Failure(out, name + ": " + problems[0]);
  }
  // Names first, so that a corrupt entry can be named (the harvest passes
  // over documents that do not decode).
  ArchiveNames names;
  names.Resolve(file.Data(), file.Size(), layout);
  std::unique_ptr<ProgressReporter> progress = out.NewProgress();
  uint64_t total = 0;
  if (DecodeAll(file, layout, names, *progress, total, error) != vorn::kOk) {
    return Failure(out, name + ": " + error);
  }
  if (MountAsInstaller(file, names, layout, error) != vorn::kOk) {
    return Failure(out, name + ": " + error);
  }
  out.Out(name + ": OK, " + std::to_string(layout.rows.size()) + " entries (" + HumanSize(total) +
          " unpacked): header and entry checksums, directory and every "
          "entry's data verified\n");
  return kExitSuccess;
}

}  // namespace vornpack
