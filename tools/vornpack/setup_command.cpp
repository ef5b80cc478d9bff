// vornpack setup [--stub STUB.exe | --arch x86|x64] --package FILE.kelp -o Setup.exe
#include "archive_file.h"
#include "archive_walk.h"
#include "builtin_stub.h"
#include "command_line.h"
#include "commands.h"
#include "file_ops.h"
#include "help_text.h"
#include "little_endian.h"
#include "pe_checksum.h"
#include "pe_package_embedder.h"
#include "pending_output.h"
#include "tool_text.h"

namespace vornpack {
namespace {

const std::vector<OptionSpec> kSetupOptions = {{"--stub", nullptr, true},
                                               {"--arch", nullptr, true},
                                               {"--package", nullptr, true},
                                               {"--output", "-o", true}};

constexpr uint64_t kWriteChunk = 16u << 20;

// Writes `size` bytes in pieces the stream takes (32-bit counts) and adds
// them to the checksum.
vorn::Result WritePart(vorn::Stream& stream, PeChecksum& checksum, const uint8_t* data,
                       uint64_t size) {
  checksum.Update(data, size);
  for (uint64_t done = 0; done < size;) {
    const uint32_t part =
        static_cast<uint32_t>(size - done < kWriteChunk ? size - done : kWriteChunk);
    vorn::Result r = stream.Write(data + done, part);
    if (r != vorn::kOk) return r;
    done += part;
  }
  return vorn::kOk;
}

vorn::Result WriteExecutable(PendingOutput& output, const EmbeddingPlan& plan,
                             const ArchiveFile& package) {
  vorn::Stream& stream = output.Stream();
  PeChecksum checksum(plan.checksum_field);
  vorn::Result r = WritePart(stream, checksum, plan.head.data(), plan.head.size());
  if (r == vorn::kOk) r = WritePart(stream, checksum, package.Data(), package.Size());
  if (r == vorn::kOk) r = WritePart(stream, checksum, plan.tail.data(), plan.tail.size());
  uint8_t field[4];
  StoreU32(field, checksum.Finish());
  if (r == vorn::kOk) r = stream.Seek(plan.checksum_field);
  if (r == vorn::kOk) r = stream.Write(field, 4);
  return r;
}

}  // namespace

int RunSetupCommand(const Arguments& args, ToolOutput& out) {
  ParsedCommand command;
  std::string error;
  if (!ParseCommand(args, kSetupOptions, command, error)) return UsageError(out, "setup", error);
  if (command.help) {
    out.Out(CommandHelp("setup"));
    return kExitSuccess;
  }
  if (!command.operands.empty()) {
    return UsageError(out, "setup", "unexpected argument \"" + command.operands[0] + "\"");
  }
  for (const char* required : {"--package", "--output"}) {
    if (command.Value(required).empty()) {
      return UsageError(out, "setup", std::string("setup needs ") + required);
    }
  }
  if (command.Has("--stub") && command.Value("--stub").empty()) {
    return UsageError(out, "setup", "--stub needs the installer executable");
  }
  const std::string arch = command.Has("--arch") ? command.Value("--arch") : "x86";
  if (arch != "x86" && arch != "x64") {
    return UsageError(out, "setup", "--arch is x86 or x64, not \"" + arch + "\"");
  }
  if (command.Has("--stub") && command.Has("--arch")) {
    return UsageError(out, "setup",
                      "--arch chooses the built-in installer; it cannot go with --stub");
  }
  std::u16string stub_path = FromUtf8(command.Value("--stub"));
  if (!command.Has("--stub") && !FindBuiltInStub(arch, stub_path, error)) {
    return Failure(out, error);
  }
  const std::u16string package_path = FromUtf8(command.Value("--package"));
  const std::u16string output_path = FromUtf8(command.Value("--output"));

  std::vector<uint8_t> stub;
  FileStatus status;
  QueryFileStatus(stub_path, status);
  if (!status.exists || status.is_folder) {
    return Failure(out, "the stub " + ToUtf8(stub_path) + " does not exist");
  }
  vorn::Result r = ReadWholeFile(stub_path, stub);
  if (r != vorn::kOk) {
    return Failure(
        out, "cannot read the stub " + ToUtf8(stub_path) + " (error " + std::to_string(r) + ")");
  }
  // The package must be one the installer can mount: its structure is
  // checked before anything is written.
  ArchiveFile package;
  ArchiveLayout layout;
  if (package.Load(package_path, error) != vorn::kOk) return Failure(out, error);
  if (WalkArchive(package.Data(), package.Size(), layout, error) != vorn::kOk) {
    return Failure(out, ToUtf8(package_path) + " is not a sound package archive: " + error);
  }
  EmbeddingPlan plan;
  if (PlanPackageEmbedding(stub.data(), stub.size(), package.Size(), plan, error) != vorn::kOk) {
    return Failure(out, "cannot use " + ToUtf8(stub_path) + " as the stub: " + error);
  }
  PendingOutput output(output_path);
  if (output.Open(error) != vorn::kOk) return Failure(out, error);
  if ((r = WriteExecutable(output, plan, package)) != vorn::kOk) {
    output.Discard();
    return Failure(out,
                   "cannot write " + ToUtf8(output_path) + " (error " + std::to_string(r) + ")");
  }
  if (output.Commit(error) != vorn::kOk) return Failure(out, error);
  for (const std::string& note : plan.notes) Warning(out, note);
  out.Out(ToUtf8(output_path) + ": " + HumanSize(stub.size()) + " stub with a " +
          HumanSize(package.Size()) + " package as RCDATA 4096\n");
  return kExitSuccess;
}

}  // namespace vornpack
