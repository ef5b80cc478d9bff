// vornpack list FILE
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "archive_file.h"
#include "archive_names.h"
#include "command_line.h"
#include "commands.h"
#include "help_text.h"
#include "tool_text.h"

namespace vornpack {

int RunListCommand(const Arguments& args, ToolOutput& out) {
  ParsedCommand command;
  std::string error;
  if (!ParseCommand(args, {}, command, error)) return UsageError(out, "list", error);
  if (command.help) {
    out.Out(CommandHelp("list"));
    return kExitSuccess;
  }
  if (command.operands.size() != 1) return UsageError(out, "list", "list takes one file");
  const std::u16string path = FromUtf8(command.operands[0]);
  ArchiveFile file;
  ArchiveLayout layout;
  if (OpenArchive(path, file, layout, error) != vorn::kOk) return Failure(out, error);
  ArchiveNames names;
  names.Resolve(file.Data(), file.Size(), layout);

  // In file order, which for this tool's archives is the order of paths.
  std::vector<std::pair<uint32_t, uint32_t>> by_offset;  // offset, hash
  for (const vorn::DirectoryRow& row : layout.rows) by_offset.push_back({row.offset, row.hash});
  std::sort(by_offset.begin(), by_offset.end());
  std::string text = "hash      offset       method    packed        unpacked      ratio   path\n";
  for (const auto& [offset, hash] : by_offset) {
    const WalkedEntry* entry = layout.EntryAt(offset);
    char line[160];
    const uint16_t method = entry ? entry->header.method & vorn::kMethodMask : 0;
    std::snprintf(line, sizeof line, "%s  %-11u  %u %-7s %-12llu  %-12llu  ", Hex8(hash).c_str(),
                  offset, method, entry ? MethodName(method) : "?",
                  entry ? static_cast<unsigned long long>(entry->header.packed_size) : 0ull,
                  entry ? static_cast<unsigned long long>(entry->header.unpacked_size) : 0ull);
    // Packed / unpacked: 1.000 for a stored entry, above 1 when coding cost
    // more than it saved; nothing for an empty entry.
    char ratio[32] = "-";
    if (entry && entry->header.unpacked_size != 0) {
      std::snprintf(ratio, sizeof ratio, "%.3f",
                    static_cast<double>(entry->header.packed_size) /
                        static_cast<double>(entry->header.unpacked_size));
    }
    std::snprintf(line + std::strlen(line), sizeof line - std::strlen(line), "%-6s  ", ratio);
    const std::u16string* name = names.NameOf(hash);
    text += line + (name ? ToUtf8(*name) : std::string("(unnamed)")) + "\n";
  }
  text += std::to_string(layout.rows.size()) + " entries, " + std::to_string(names.Count()) +
          " named; directory at offset " + std::to_string(layout.directory->offset) + " (" +
          MethodName(layout.directory->header.method) + ", " +
          std::to_string(layout.directory->header.packed_size) + " bytes); archive " +
          std::to_string(file.Size()) + " bytes" +
          (file.FromExecutable()
               ? " in RCDATA 4096 at file offset " + std::to_string(file.OffsetInFile())
               : std::string()) +
          "\n";
  out.Out(text);
  return kExitSuccess;
}

}  // namespace vornpack
