// `vornpack list`, `verify` and `extract` on archives and on executables
// that carry one, sound and damaged: what they report, what they write, and
// that a failure leaves no partial output behind.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "archive_walk.h"
#include "package/package_format.h"
#include "package/path_hash.h"
#include "tool_text.h"
#include "vornpack/support/test_pe.h"
#include "vornpack/support/tool_fixture.h"

namespace vornpack_test {
namespace {

using vornpack::FromUtf8;

std::string HashText(const std::string& path) {
  const std::u16string p = FromUtf8(path);
  return vornpack::Hex8(vorn::PathHash(p.c_str(), static_cast<uint32_t>(p.size())));
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The line of `list` output that begins with the hash of `path`.
std::string ListLine(const std::string& listing, const std::string& path) {
  const std::string hash = HashText(path);
  for (size_t at = 0; at < listing.size();) {
    size_t end = listing.find('\n', at);
    if (end == std::string::npos) end = listing.size();
    const std::string line = listing.substr(at, end - at);
    if (line.compare(0, hash.size(), hash) == 0) return line;
    at = end + 1;
  }
  return "";
}

// The archive with its directory replaced by `rows` (hash, offset pairs),
// stored, with both checksums right: only the directory's content is wrong.
Bytes WithDirectory(const Bytes& archive, const std::vector<std::pair<uint32_t, uint32_t>>& rows) {
  vorn::ArchiveHeader header;
  vorn::DecodeArchiveHeader(archive.data(), header);
  Bytes out(archive.begin(), archive.begin() + header.directory_offset);
  vorn::EntryHeader entry{};
  entry.method = vorn::kMethodStored;
  entry.packed_size = entry.unpacked_size = rows.size() * vorn::kDirectoryRowSize;
  entry.layout = vorn::kLayoutIdentifier;
  entry.record_type = vorn::kDirectoryRecordType;
  entry.format_version = vorn::kFormatVersion;
  entry.flags = vorn::kDirectoryRecordFlags;
  uint8_t bytes[vorn::kEntryHeaderSize];
  vorn::EncodeEntryHeader(entry, bytes);
  entry.checksum = vorn::EntryHeaderChecksum(bytes);
  vorn::EncodeEntryHeader(entry, bytes);
  out.insert(out.end(), bytes, bytes + sizeof bytes);
  for (const auto& [hash, offset] : rows) {
    for (uint32_t v : {hash, offset}) {
      for (int b = 0; b < 4; ++b) out.push_back(static_cast<uint8_t>(v >> (8 * b)));
    }
  }
  header.archive_size = out.size();
  vorn::EncodeArchiveHeader(header, out.data());
  header.checksum = vorn::ArchiveHeaderChecksum(out.data());
  vorn::EncodeArchiveHeader(header, out.data());
  return out;
}

class InspectTest : public testing::Test {
 protected:
  void SetUp() override {
    SetEnvironment("SOURCE_DATE_EPOCH", "1453026030");
    files_["Data/Xml/Configuration.xml"] = BytesOf(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Resources><Application "
        "Name=\"Demo\"/></Resources>\n");
    files_["Data/Pictures/Logo.png"] = NoiseBytes(2000, 1);
    files_["Product/app.exe"] = TextBytes(300000, 2);
    files_["Product/sub/deep/readme.txt"] = TextBytes(5000, 3);
    files_["Product/empty.dll"] = {};
    files_["Loose/unlisted.bin"] = TextBytes(777, 4);  // named by nothing in the package
    for (const auto& [path, bytes] : files_)
      WriteFile(temp_.Path() / "pkg" / fs::u8path(path), bytes);
    RunResult run =
        RunTool({"build", temp_("pkg"), "-o", temp_("good.kelp"), "--quiet", "--no-check",
                 "--file-list", "Product", "--method", "Product/sub/**=2"});
    ASSERT_EQ(run.status, 0) << run.error;
    archive_ = ReadFile(temp_.Path() / "good.kelp");
    ASSERT_GT(archive_.size(), 1000u);
  }
  void TearDown() override { SetEnvironment("SOURCE_DATE_EPOCH", nullptr); }

  // The good archive carried by a small executable, through `setup`.
  std::string MakeExecutable(const std::string& name) {
    WriteFile(temp_.Path() / "stub.exe", BuildTestPe(TestPeOptions{}));
    RunResult run = RunTool(
        {"setup", "--stub", temp_("stub.exe"), "--package", temp_("good.kelp"), "-o", temp_(name)});
    EXPECT_EQ(run.status, 0) << run.error;
    return temp_(name);
  }

  // Offset of the first data byte of the entry for `path`, from `list`.
  uint64_t DataOffset(const std::string& path) {
    RunResult run = RunTool({"list", temp_("good.kelp")});
    const std::string line = ListLine(run.out, path);
    EXPECT_FALSE(line.empty()) << run.out;
    return std::stoull(line.substr(10)) + vorn::kEntryHeaderSize;
  }

  std::string WriteDamaged(const std::string& name, const Bytes& bytes) {
    WriteFile(temp_.Path() / name, bytes);
    return temp_(name);
  }

  TempFolder temp_;
  std::map<std::string, Bytes> files_;
  Bytes archive_;
};

TEST_F(InspectTest, ListShowsEachEntryWithItsMethodSizesAndRevealedPath) {
  RunResult run = RunTool({"list", temp_("good.kelp")});
  ASSERT_EQ(run.status, 0) << run.error;
  struct Expected {
    const char* path;
    const char* method;
  };
  for (const Expected& e :
       {Expected{"Data/Xml/Configuration.xml", "4 PPMd"},
        Expected{"Data/Xml/FileList.xml", "4 PPMd"}, Expected{"Data/Pictures/Logo.png", "0 stored"},
        Expected{"Product/app.exe", "3 LZMA"}, Expected{"Product/empty.dll", "3 LZMA"},
        Expected{"Product/sub/deep/readme.txt", "2 LZO"}}) {
    const std::string line = ListLine(run.out, e.path);
    ASSERT_FALSE(line.empty()) << e.path << "\n" << run.out;
    EXPECT_TRUE(Contains(line, e.method)) << line;
    // Configuration.xml is a known data file, the picture is not named by
    // anything in this package, the product files come from the file list.
    const bool named = std::string(e.path) != "Data/Pictures/Logo.png";
    EXPECT_EQ(Contains(line, e.path), named) << line;
  }
  const std::string app = ListLine(run.out, "Product/app.exe");
  EXPECT_TRUE(Contains(app, " 300000 ")) << "the unpacked size: " << app;
  // The ratio column, packed / unpacked, after the two sizes.
  auto ratio = [&](const std::string& path) {
    std::istringstream fields(ListLine(run.out, path));
    std::string field;
    for (int i = 0; i < 7; ++i) fields >> field;
    return field;
  };
  EXPECT_EQ(ratio("Data/Pictures/Logo.png"), "1.000");
  EXPECT_EQ(ratio("Product/empty.dll"), "-");
  const std::string coded = ratio("Product/app.exe");
  ASSERT_EQ(coded.size(), 5u) << coded;
  EXPECT_LT(std::stod(coded), 0.5) << app;
  EXPECT_GT(std::stod(coded), 0.0) << app;
  EXPECT_TRUE(Contains(ListLine(run.out, "Loose/unlisted.bin"), "(unnamed)"));
  EXPECT_TRUE(Contains(run.out, "7 entries, 5 named")) << run.out;
  EXPECT_TRUE(Contains(run.out, "archive " + std::to_string(archive_.size()) + " bytes"));
}

TEST_F(InspectTest, VerifyPassesASoundArchiveAndTheExecutableCarryingIt) {
  RunResult run = RunTool({"verify", temp_("good.kelp")});
  EXPECT_EQ(run.status, 0) << run.error;
  EXPECT_TRUE(Contains(run.out, "OK, 7 entries")) << run.out;
  const std::string exe = MakeExecutable("Setup.exe");
  run = RunTool({"verify", exe});
  EXPECT_EQ(run.status, 0) << run.error;
  EXPECT_TRUE(Contains(run.out, "Setup.exe: OK")) << run.out;
  run = RunTool({"list", exe});
  EXPECT_EQ(run.status, 0) << run.error;
  EXPECT_TRUE(Contains(run.out, "in RCDATA 4096 at file offset")) << run.out;
  EXPECT_TRUE(Contains(ListLine(run.out, "Product/app.exe"), "Product/app.exe"));
}

TEST_F(InspectTest, ExtractWritesNamedEntriesByPathAndTheRestByHash) {
  const std::string exe = MakeExecutable("Setup.exe");
  for (const std::string& source : {temp_("good.kelp"), exe}) {
    const fs::path out = temp_.Path() / ("out-" + std::to_string(source.size()));
    RunResult run = RunTool({"extract", source, "-o", Utf8(out / "new" / "folder")});
    ASSERT_EQ(run.status, 0) << run.error;
    EXPECT_TRUE(Contains(run.out, "extracted 7 files")) << run.out;
    const fs::path root = out / "new" / "folder";
    for (const auto& [path, bytes] : files_) {
      const bool named = path != "Data/Pictures/Logo.png" && path != "Loose/unlisted.bin";
      const fs::path where =
          named ? root / fs::u8path(path) : root / "by-hash" / (HashText(path) + ".bin");
      ASSERT_TRUE(fs::exists(where)) << path;
      EXPECT_EQ(ReadFile(where), bytes) << path;
    }
    EXPECT_EQ(FilesBelow(root).size(), 7u) << "the generated file list is the seventh";
    EXPECT_TRUE(fs::exists(root / "Data/Xml/FileList.xml"));
  }
}

TEST_F(InspectTest, AnythingButAnArchiveIsRefusedNamingTheFile) {
  const std::string missing = temp_("missing.kelp");
  const std::string text = WriteDamaged("notes.txt", BytesOf("not an archive at all"));
  const std::string bare_exe = WriteDamaged("bare.exe", BuildTestPe(TestPeOptions{}));
  struct Case {
    std::string file;
    const char* says;
  };
  for (const Case& c : {Case{missing, "cannot read"}, Case{text, "neither a package archive"},
                        Case{bare_exe, "4096"}}) {
    for (const char* command : {"list", "verify", "extract"}) {
      std::vector<std::string> args = {command, c.file};
      if (std::string(command) == "extract") args.insert(args.end(), {"-o", temp_("x")});
      RunResult run = RunTool(args);
      EXPECT_EQ(run.status, 1) << command << " " << c.file;
      EXPECT_TRUE(Contains(run.error, c.file)) << run.error;
      EXPECT_TRUE(Contains(run.error, c.says)) << run.error;
      EXPECT_TRUE(run.out.empty());
    }
  }
  EXPECT_FALSE(fs::exists(temp_.Path() / "x"));
}

// Damage of every kind the walk or the decoding can meet: each command that
// reads the damaged part fails with one message naming the file, and
// extraction writes nothing, neither files nor folders, and leaves what was
// already in its output folder alone.
TEST_F(InspectTest, DamagedArchivesFailCleanlyAndExtractWritesNothing) {
  std::vector<std::pair<std::string, Bytes>> damaged;
  Bytes header = archive_;
  header[20] ^= 0x01;  // inside the archive size: the header checksum fails
  damaged.push_back({"header checksum mismatch", header});
  damaged.push_back({"but " + std::to_string(archive_.size() - 100) + " are there",
                     Bytes(archive_.begin(), archive_.end() - 100)});
  Bytes entry = archive_;
  entry[DataOffset("Product/app.exe") - 20] ^= 0x40;  // inside its entry header
  damaged.push_back({"entry header checksum mismatch", entry});
  Bytes data = archive_;
  for (uint64_t i = DataOffset("Product/app.exe") + 8; i < DataOffset("Product/app.exe") + 40;
       ++i) {
    data[i] ^= 0x5A;
  }
  damaged.push_back({"corrupt", data});
  // Entry data carries no checksum: damage inside LZO literals would pass
  // unseen, a block length that does not match its data does not.
  Bytes block = archive_;
  block[DataOffset("Product/sub/deep/readme.txt")] ^= 0x01;
  damaged.push_back({"corrupt", block});
  const std::string exe = MakeExecutable("Setup.exe");
  Bytes in_exe = ReadFile(exe);
  const size_t at =
      std::search(in_exe.begin(), in_exe.end(), archive_.begin(), archive_.begin() + 64) -
      in_exe.begin();
  ASSERT_LT(at, in_exe.size());
  in_exe[at + DataOffset("Product/app.exe") + 10] ^= 0xFF;
  damaged.push_back({"corrupt", in_exe});

  const fs::path existing = temp_.Path() / "x/Product/app.exe";
  WriteFile(existing, std::string("an earlier extraction"));
  for (size_t i = 0; i < damaged.size(); ++i) {
    const auto& [says, bytes] = damaged[i];
    const std::string file = WriteDamaged("damaged-" + std::to_string(i) + ".exe", bytes);
    RunResult verify = RunTool({"verify", file});
    EXPECT_EQ(verify.status, 1) << says << " " << i;
    EXPECT_TRUE(Contains(verify.error, file)) << verify.error;
    EXPECT_TRUE(Contains(verify.error, says)) << verify.error;
    RunResult extract = RunTool({"extract", file, "-o", temp_("x")});
    EXPECT_EQ(extract.status, 1) << says;
    EXPECT_TRUE(Contains(extract.error, file)) << extract.error;
    EXPECT_EQ(FilesBelow(temp_.Path() / "x"), std::vector<std::string>{"Product/app.exe"})
        << extract.error;
    EXPECT_FALSE(fs::exists(temp_.Path() / "x/Data")) << "no folder is left behind";
    EXPECT_EQ(ReadFile(existing), BytesOf("an earlier extraction"));
  }
}

// The directory is what the installer's lookup bisects: rows out of order,
// two rows with one hash or a row that points anywhere but at an entry
// header make verify and extract fail, naming the fault.
TEST_F(InspectTest, AFaultyDirectoryIsFoundAndNothingIsExtracted) {
  vornpack::ArchiveLayout layout;
  std::string error;
  ASSERT_EQ(vornpack::WalkArchive(archive_.data(), archive_.size(), layout, error), vorn::kOk);
  std::vector<std::pair<uint32_t, uint32_t>> rows;
  for (const vorn::DirectoryRow& row : layout.rows) rows.push_back({row.hash, row.offset});
  ASSERT_GE(rows.size(), 3u);
  const Bytes same = WithDirectory(archive_, rows);
  ASSERT_EQ(RunTool({"verify", WriteDamaged("same.kelp", same)}).status, 0)
      << "a stored directory with the same rows is sound";

  auto swapped = rows;
  std::swap(swapped[0], swapped[1]);
  auto doubled = rows;
  doubled[1].first = doubled[0].first;
  auto astray = rows;
  astray[2].second += 1;
  struct Case {
    std::vector<std::pair<uint32_t, uint32_t>> rows;
    const char* says;
  };
  for (const Case& c : {Case{swapped, "out of order"}, Case{doubled, "the same hash"},
                        Case{astray, "not the start of a file entry"}}) {
    const std::string file = WriteDamaged("directory.kelp", WithDirectory(archive_, c.rows));
    RunResult verify = RunTool({"verify", file});
    EXPECT_EQ(verify.status, 1) << c.says;
    EXPECT_TRUE(Contains(verify.error, file) && Contains(verify.error, c.says)) << verify.error;
    RunResult extract = RunTool({"extract", file, "-o", temp_("x")});
    EXPECT_EQ(extract.status, 1) << c.says;
    EXPECT_TRUE(Contains(extract.error, c.says)) << extract.error;
    EXPECT_FALSE(fs::exists(temp_.Path() / "x"));
  }
}

TEST_F(InspectTest, VerifyNamesTheEntryWhoseDataIsCorrupt) {
  Bytes data = archive_;
  for (uint64_t i = DataOffset("Product/app.exe") + 8; i < DataOffset("Product/app.exe") + 40;
       ++i) {
    data[i] ^= 0x5A;
  }
  RunResult run = RunTool({"verify", WriteDamaged("bad.kelp", data)});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Contains(run.error, "Product/app.exe")) << run.error;
}

TEST_F(InspectTest, ExtractReplacesEarlierFilesOnlyWhenEverythingDecodes) {
  const fs::path existing = temp_.Path() / "x/Product/app.exe";
  WriteFile(existing, std::string("an earlier extraction"));
  RunResult run = RunTool({"extract", temp_("good.kelp"), "-o", temp_("x")});
  ASSERT_EQ(run.status, 0) << run.error;
  EXPECT_EQ(ReadFile(existing), files_["Product/app.exe"]);
  EXPECT_EQ(FilesBelow(temp_.Path() / "x").size(), 7u) << "no temporary file is left";
}

TEST_F(InspectTest, CommandsExplainTheirCommandLine) {
  struct Case {
    std::vector<std::string> args;
    const char* says;
  };
  for (const Case& c : {Case{{"list"}, "one file"}, Case{{"verify", "a", "b"}, "one file"},
                        Case{{"extract", temp_("good.kelp")}, "-o DIR"},
                        Case{{"list", "--all", temp_("good.kelp")}, "--all"}}) {
    RunResult run = RunTool(c.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(Contains(run.error, c.says)) << run.error;
    EXPECT_TRUE(Contains(run.error, "--help")) << "points at the help: " << run.error;
  }
  for (const char* command : {"list", "verify", "extract", "build", "setup"}) {
    RunResult help = RunTool({"help", command});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, RunTool({command, "-h"}).out);
    EXPECT_TRUE(Contains(help.out, std::string("usage: vornpack ") + command)) << help.out;
  }
  RunResult general = RunTool({});
  EXPECT_EQ(general.status, 2);
  EXPECT_TRUE(Contains(general.error, "commands:"));
}

}  // namespace
}  // namespace vornpack_test
