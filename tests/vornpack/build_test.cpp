// `vornpack build`: what it writes is what the installer reads, the same
// bytes whatever the thread count, and nothing at all when the input is bad.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <unordered_map>

#include "archive_walk.h"
#include "package/archive_writer.h"
#include "package/file_stream.h"
#include "package/package_file_system.h"
#include "package/path_hash.h"
#include "package_builder.h"
#include "package_plan.h"
#include "tool_text.h"
#include "vornpack/support/tool_fixture.h"

namespace vornpack_test {
namespace {

using vornpack::FromUtf8;

// A package folder with every kind of file the defaults treat apart. The
// large variant adds LZMA entries around the 4 MiB block boundary: one just
// over (two blocks) and one exactly a block long.
Bytes Joined(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

std::map<std::string, Bytes> SamplePackage(bool large) {
  std::map<std::string, Bytes> files;
  files["Data/Xml/Configuration.xml"] = BytesOf(
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Resources><Application "
      "Name=\"Demo\"/></Resources>\n");
  files["Data/Pictures/Logo.png"] = NoiseBytes(3000, 1);
  files["Product/app.exe"] = TextBytes(200000, 2);
  files["Product/empty.dll"] = {};
  files["Product/noise.dat"] = NoiseBytes(70000, 4);      // stored blocks: coding gains nothing
  files["Product/lzo-exact.txt"] = TextBytes(131072, 6);  // two whole LZO blocks
  files["Product/sub/nested.kelp"] = NoiseBytes(100, 5);
  if (large) {
    const uint32_t block = 4 * 1024 * 1024;
    files["Product/large.exe"] =
        Joined({TextBytes(100000, 7), Bytes(block - 100000, 0), TextBytes(17, 8)});
    files["Product/exact.bin"] = Joined({Bytes(block - 5000, 0), TextBytes(5000, 3)});
  }
  return files;
}

void WriteTree(const fs::path& root, const std::map<std::string, Bytes>& files) {
  for (const auto& [path, bytes] : files) WriteFile(root / fs::u8path(path), bytes);
}

// The method of each of `files` in the archive at `archive`, by path.
std::map<std::string, int> MethodsIn(const fs::path& archive,
                                     const std::map<std::string, Bytes>& files) {
  const Bytes bytes = ReadFile(archive);
  vornpack::ArchiveLayout layout;
  std::string error;
  EXPECT_EQ(vornpack::WalkArchive(bytes.data(), bytes.size(), layout, error), vorn::kOk) << error;
  std::map<std::string, int> by_path;
  for (const auto& [path, content] : files) {
    const std::u16string p = FromUtf8(path);
    const uint32_t hash = vorn::PathHash(p.c_str(), static_cast<uint32_t>(p.size()));
    for (const vorn::DirectoryRow& row : layout.rows) {
      if (row.hash == hash) by_path[path] = layout.EntryAt(row.offset)->header.method;
    }
  }
  if (layout.directory != nullptr) {
    EXPECT_EQ(layout.directory->header.method, vorn::kMethodDeflate);
  }
  return by_path;
}

// Every file of `files` read back through the installer's file system.
void ExpectReadsBack(const fs::path& archive, const std::map<std::string, Bytes>& files) {
  vorn::PackageFileSystem file_system;
  ASSERT_EQ(file_system.MountFile(FromUtf8(Utf8(archive)).c_str()), vorn::kOk);
  for (const auto& [path, bytes] : files) {
    uint8_t* buffer = nullptr;
    uint64_t size = 0;
    ASSERT_EQ(file_system.ReadAll(FromUtf8(path).c_str(), buffer, size), vorn::kOk) << path;
    EXPECT_EQ(Bytes(buffer, buffer + size), bytes) << path;
    std::free(buffer);
  }
}

class BuildTest : public testing::Test {
 protected:
  void SetUp() override {
    SetEnvironment("SOURCE_DATE_EPOCH", "1453026030");  // 2016-01-17 10:20:30
    files_ = SamplePackage(false);
    WriteTree(temp_.Path() / "pkg", files_);
  }
  void AddLargeFiles() {
    for (const auto& [path, bytes] : SamplePackage(true)) {
      if (files_.count(path) == 0) WriteFile(temp_.Path() / "pkg" / fs::u8path(path), bytes);
      files_[path] = bytes;
    }
  }
  void TearDown() override { SetEnvironment("SOURCE_DATE_EPOCH", nullptr); }

  RunResult Build(const std::string& output, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"build",       temp_("pkg"), "-o",
                                     temp_(output), "--quiet",    "--no-check"};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunTool(args);
  }

  TempFolder temp_;
  std::map<std::string, Bytes> files_;
};

TEST_F(BuildTest, TheInstallersFileSystemReadsBackEveryEntry) {
  AddLargeFiles();
  RunResult run = Build("out.kelp");
  ASSERT_EQ(run.status, 0) << run.error;
  ExpectReadsBack(temp_.Path() / "out.kelp", files_);
}

TEST_F(BuildTest, PicksMethodsByFileTypeAndRulesOverrideThem) {
  ASSERT_EQ(Build("default.kelp").status, 0);
  ASSERT_EQ(Build("rules.kelp",
                  {"--method", "*.dat=1", "--method", "Product/**=5", "--method=Product/sub/*=2"})
                .status,
            0);
  std::map<std::string, int> defaults = MethodsIn(temp_.Path() / "default.kelp", files_);
  EXPECT_EQ(defaults["Data/Pictures/Logo.png"], 0);
  EXPECT_EQ(defaults["Product/sub/nested.kelp"], 0);
  EXPECT_EQ(defaults["Data/Xml/Configuration.xml"], 4);
  EXPECT_EQ(defaults["Product/app.exe"], 3);
  EXPECT_EQ(defaults["Product/empty.dll"], 3);
  EXPECT_EQ(defaults["Product/noise.dat"], 0) << "the product's data archives are stored";
  EXPECT_EQ(defaults["Product/lzo-exact.txt"], 3) << "text compresses";
  std::map<std::string, int> ruled = MethodsIn(temp_.Path() / "rules.kelp", files_);
  EXPECT_EQ(ruled["Product/noise.dat"], 5) << "a later rule wins";
  EXPECT_EQ(ruled["Product/app.exe"], 5);
  EXPECT_EQ(ruled["Product/sub/nested.kelp"], 2);
  EXPECT_EQ(ruled["Data/Pictures/Logo.png"], 0);
}

// Files whose names say nothing are judged by their first block: noise is
// stored, text compressed, and a file just short of saving 2 % stored.
// Names of compressed formats are stored without a try, executables
// compressed; a rule overrides each of these defaults.
TEST_F(BuildTest, StoresWhatDoesNotCompressAndCompressesTheRest) {
  std::map<std::string, Bytes> mixed;
  mixed["Product/bundle.zip"] = TextBytes(60000, 11);  // trusted by name, even compressible
  mixed["Product/assets.pak"] = NoiseBytes(90000, 12);
  mixed["Product/readme.txt"] = TextBytes(40000, 13);
  mixed["Product/tool.exe"] = TextBytes(50000, 14);
  mixed["Product/notes"] = TextBytes(3000, 15);  // no extension at all
  mixed["Product/empty.cfg"] = {};
  // LZMA spends about 1.2 % more than noise's own size on noise, so it
  // saves about 1.3 % on the first file and 2.8 % on the second.
  mixed["Product/almost.bin"] = Joined({NoiseBytes(975000, 16), Bytes(25000, 0)});
  mixed["Product/enough.bin"] = Joined({NoiseBytes(960000, 17), Bytes(40000, 0)});
  WriteTree(temp_.Path() / "mixed", mixed);
  RunResult run = RunTool({"build", temp_("mixed"), "-o", temp_("mixed.kelp"), "--no-check"});
  ASSERT_EQ(run.status, 0) << run.error;
  std::map<std::string, int> methods = MethodsIn(temp_.Path() / "mixed.kelp", mixed);
  EXPECT_EQ(methods["Product/bundle.zip"], 0);
  EXPECT_EQ(methods["Product/assets.pak"], 0);
  EXPECT_EQ(methods["Product/readme.txt"], 3);
  EXPECT_EQ(methods["Product/tool.exe"], 3);
  EXPECT_EQ(methods["Product/notes"], 3);
  EXPECT_EQ(methods["Product/empty.cfg"], 0);
  EXPECT_EQ(methods["Product/almost.bin"], 0);
  EXPECT_EQ(methods["Product/enough.bin"], 3);
  ExpectReadsBack(temp_.Path() / "mixed.kelp", mixed);
  // The summary's last line counts the two sampled files that were stored
  // (the empty one had nothing to try) with their bytes.
  ASSERT_FALSE(run.out.empty());
  const std::string last = run.out.substr(run.out.rfind('\n', run.out.size() - 2) + 1);
  EXPECT_EQ(last, "2 files (" + vornpack::HumanSize(90000 + 1000000) +
                      ") stored because they did not compress\n")
      << run.out;

  run = RunTool({"build", temp_("mixed"), "-o", temp_("ruled.kelp"), "--quiet", "--no-check",
                 "--method", "*/bundle.zip=3", "--method", "**.pak=3", "--method",
                 "Product/*.txt=0", "--method", "**/*.exe=2", "--method", "Product/almost.bin=4"});
  ASSERT_EQ(run.status, 0) << run.error;
  EXPECT_TRUE(run.out.empty()) << "--quiet keeps the summary back: " << run.out;
  methods = MethodsIn(temp_.Path() / "ruled.kelp", mixed);
  EXPECT_EQ(methods["Product/bundle.zip"], 3);
  EXPECT_EQ(methods["Product/assets.pak"], 3)
      << "a rule's method is used even when it gains nothing";
  EXPECT_EQ(methods["Product/readme.txt"], 0);
  EXPECT_EQ(methods["Product/tool.exe"], 2);
  EXPECT_EQ(methods["Product/almost.bin"], 4);
  ExpectReadsBack(temp_.Path() / "ruled.kelp", mixed);
}

// Sampled files of several blocks: the later blocks of a file that turns
// out compressible go through the compressor after the first has decided,
// those of one that does not are stored as read, and the archive is the
// same for any thread count.
TEST_F(BuildTest, SampledFilesOfManyBlocksGiveTheSameArchiveWhateverTheThreadCount) {
  const uint32_t block = 4 * 1024 * 1024;
  std::map<std::string, Bytes> files;
  files["Product/a.txt"] = TextBytes(20000, 21);
  files["Product/media.pak"] = NoiseBytes(block + 3000, 22);
  files["Product/table.db"] =
      Joined({TextBytes(150000, 23), Bytes(2 * block, 0), TextBytes(99, 24)});
  files["Product/z.txt"] = TextBytes(700, 25);
  WriteTree(temp_.Path() / "many", files);
  for (const char* threads : {"1", "4"}) {
    RunResult run =
        RunTool({"build", temp_("many"), "-o", temp_(std::string("many-") + threads + ".kelp"),
                 "--quiet", "--no-check", "--threads", threads});
    ASSERT_EQ(run.status, 0) << run.error;
  }
  const Bytes one = ReadFile(temp_.Path() / "many-1.kelp");
  EXPECT_EQ(one, ReadFile(temp_.Path() / "many-4.kelp"));
  std::map<std::string, int> methods = MethodsIn(temp_.Path() / "many-4.kelp", files);
  EXPECT_EQ(methods["Product/media.pak"], 0);
  EXPECT_EQ(methods["Product/table.db"], 3);
  EXPECT_EQ(methods["Product/z.txt"], 3);
  EXPECT_LT(one.size(), block + 3000 + 200000u) << "the database shrank to almost nothing";
  ExpectReadsBack(temp_.Path() / "many-4.kelp", files);
}

TEST_F(BuildTest, OutputIsTheSameWhateverTheThreadCount) {
  AddLargeFiles();
  ASSERT_EQ(Build("one.kelp", {"--threads", "1"}).status, 0);
  ASSERT_EQ(Build("three.kelp", {"--threads=3"}).status, 0);
  // LZO's 64 KiB blocks: many blocks of many files in flight at once.
  ASSERT_EQ(Build("eight.kelp", {"--threads", "8", "--method", "Product/**=2"}).status, 0);
  ASSERT_EQ(Build("eight-one.kelp", {"--threads", "1", "--method", "Product/**=2"}).status, 0);
  EXPECT_EQ(ReadFile(temp_.Path() / "one.kelp"), ReadFile(temp_.Path() / "three.kelp"));
  EXPECT_EQ(ReadFile(temp_.Path() / "eight.kelp"), ReadFile(temp_.Path() / "eight-one.kelp"));
}

// The framework's own writer, fed the same files one by one with the same
// methods and blocks, writes the very same archive: the parallel path adds
// nothing of its own to the format.
TEST_F(BuildTest, MatchesTheFrameworksSequentialWriterByteForByte) {
  AddLargeFiles();
  ASSERT_EQ(Build("tool.kelp", {"--threads", "4"}).status, 0);
  const Bytes tool = ReadFile(temp_.Path() / "tool.kelp");
  vornpack::ArchiveLayout layout;
  std::string error;
  ASSERT_EQ(vornpack::WalkArchive(tool.data(), tool.size(), layout, error), vorn::kOk);

  vorn::FileStream sink;
  ASSERT_EQ(sink.OpenForWriting(FromUtf8(temp_("reference.kelp")).c_str()), vorn::kOk);
  vorn::ArchiveWriter writer;
  ASSERT_EQ(writer.Begin(&sink), vorn::kOk);
  writer.SetCreationTime(layout.header.creation_date, layout.header.creation_time);
  // The tool's choice for each file, sampled ones included, is the input.
  std::map<std::string, int> methods = MethodsIn(temp_.Path() / "tool.kelp", files_);
  EXPECT_EQ(methods["Product/exact.bin"], 3);
  for (const auto& [path, bytes] : files_) {
    const auto method = static_cast<vorn::PackMethod>(methods[path]);
    ASSERT_EQ(writer.AddFile(FromUtf8(path).c_str(), FromUtf8(temp_("pkg/" + path)).c_str(), method,
                             vornpack::PackageBlockSize(method)),
              vorn::kOk)
        << path;
  }
  ASSERT_EQ(writer.Finish(), vorn::kOk);
  sink.Close();
  EXPECT_EQ(ReadFile(temp_.Path() / "reference.kelp"), tool);
}

TEST_F(BuildTest, TakesTheCreationStampFromSourceDateEpoch) {
  ASSERT_EQ(Build("a.kelp").status, 0);
  const Bytes archive = ReadFile(temp_.Path() / "a.kelp");
  vornpack::ArchiveLayout layout;
  std::string error;
  ASSERT_EQ(vornpack::WalkArchive(archive.data(), archive.size(), layout, error), vorn::kOk);
  EXPECT_EQ(layout.header.creation_date, 0x20160117u);
  EXPECT_EQ(layout.header.creation_time, 0x10203000u);
  SetEnvironment("SOURCE_DATE_EPOCH", "yesterday");
  RunResult run = Build("b.kelp");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.error.find("SOURCE_DATE_EPOCH"), std::string::npos);
  EXPECT_FALSE(fs::exists(temp_.Path() / "b.kelp"));
}

TEST_F(BuildTest, DoesNotPackItsOwnEarlierOutput) {
  const std::string inside = "pkg/Product/out.kelp";
  ASSERT_EQ(Build(inside).status, 0);
  const Bytes first = ReadFile(temp_.Path() / fs::u8path(inside));
  ASSERT_EQ(Build(inside).status, 0);
  EXPECT_EQ(ReadFile(temp_.Path() / fs::u8path(inside)), first);
}

TEST_F(BuildTest, RefusesTwoPathsWithTheSameHashNamingBoth) {
  // SuperFastHash is weak: among some ten thousand names two collide.
  std::unordered_map<uint32_t, std::u16string> seen;
  std::u16string a, b;
  for (uint32_t i = 0; a.empty(); ++i) {
    const std::u16string name = u"Product/f" + FromUtf8(std::to_string(i)) + u".bin";
    const uint32_t hash = vorn::PathHash(name.c_str(), static_cast<uint32_t>(name.size()));
    auto [it, inserted] = seen.emplace(hash, name);
    if (!inserted) {
      a = it->second;
      b = name;
    }
  }
  const Bytes before = ReadFile(temp_.Path() / "pkg/Product/app.exe");
  WriteFile(temp_.Path() / "pkg" / fs::u8path(vornpack::ToUtf8(a)), Bytes{1});
  WriteFile(temp_.Path() / "pkg" / fs::u8path(vornpack::ToUtf8(b)), Bytes{2});
  RunResult run = Build("out.kelp");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.error.find(vornpack::ToUtf8(a)), std::string::npos) << run.error;
  EXPECT_NE(run.error.find(vornpack::ToUtf8(b)), std::string::npos) << run.error;
  EXPECT_FALSE(fs::exists(temp_.Path() / "out.kelp"));
  EXPECT_EQ(FilesBelow(temp_.Path()).size(), files_.size() + 2) << "no temporary file is left";
  EXPECT_EQ(ReadFile(temp_.Path() / "pkg/Product/app.exe"), before);
}

TEST_F(BuildTest, NamesTheLineAndColumnOfMalformedXml) {
  WriteFile(temp_.Path() / "pkg/Data/Xml/Windows.xml",
            std::string("<Resources>\n  <Window>\n</Resources>\n"));
  RunResult run = Build("out.kelp");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.error.find("Windows.xml:3:"), std::string::npos) << run.error;
  EXPECT_FALSE(fs::exists(temp_.Path() / "out.kelp"));
}

TEST_F(BuildTest, ReplacesAnEarlierArchiveOnlyWhenTheNewOneIsComplete) {
  WriteFile(temp_.Path() / "out.kelp", std::string("an older archive"));
  WriteFile(temp_.Path() / "pkg/Data/Xml/Bad.xml", std::string("<Resources>"));
  EXPECT_EQ(Build("out.kelp").status, 1);
  EXPECT_EQ(ReadFile(temp_.Path() / "out.kelp"), BytesOf("an older archive"));
  fs::remove(temp_.Path() / "pkg/Data/Xml/Bad.xml");
  EXPECT_EQ(Build("out.kelp").status, 0);
  EXPECT_EQ(ReadFile(temp_.Path() / "out.kelp").size() > 1000, true);
}

TEST_F(BuildTest, ExplainsCommandLineMistakes) {
  struct Case {
    std::vector<std::string> args;
    const char* says;
  };
  const std::vector<Case> cases = {
      {{"build", temp_("pkg")}, "-o"},
      {{"build", "-o", temp_("x.kelp")}, "one folder"},
      {{"build", temp_("pkg"), "-o", temp_("x.kelp"), "--threads", "0"}, "--threads"},
      {{"build", temp_("pkg"), "-o", temp_("x.kelp"), "--method", "*.dat"}, "GLOB=N"},
      {{"build", temp_("pkg"), "-o", temp_("x.kelp"), "--method", "*.dat=7"}, "GLOB=N"},
      {{"build", temp_("pkg"), "-o", temp_("x.kelp"), "--fast"}, "--fast"},
      {{"frobnicate"}, "frobnicate"},
  };
  for (const Case& c : cases) {
    RunResult run = RunTool(c.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.error.find(c.says), std::string::npos) << run.error;
  }
  EXPECT_FALSE(fs::exists(temp_.Path() / "x.kelp"));
  RunResult missing = RunTool({"build", temp_("nothing-here"), "-o", temp_("x.kelp")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.error.find("nothing-here"), std::string::npos);
  for (const char* command : {"build", "setup", "list", "verify", "extract"}) {
    RunResult help = RunTool({command, "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find(std::string("vornpack ") + command), std::string::npos);
  }
  EXPECT_EQ(RunTool({"--help"}).status, 0);
}

// A file that changes between the listing and the end of its reading is
// caught, whichever way it is packed.
TEST_F(BuildTest, NoticesAFileThatChangesWhileItIsPacked) {
  for (vorn::PackMethod method : {vorn::kMethodLzma, vorn::kMethodStored}) {
    vornpack::PlanOptions plan;
    plan.source_folder = FromUtf8(temp_("pkg"));
    std::string error;
    plan.methods.AddRule("**=" + std::to_string(method), error);
    std::vector<vornpack::PackageInput> inputs;
    std::vector<std::string> warnings;
    ASSERT_EQ(vornpack::PlanPackage(plan, inputs, warnings, error), vorn::kOk) << error;
    vornpack::BuildSettings settings;
    settings.threads = 2;
    const std::string grown = temp_("pkg/Product/app.exe");
    ASSERT_EQ(grown.find('\\'), std::string::npos);
    settings.on_file_opened = [&](const vornpack::PackageInput& input) {
      if (vornpack::ToUtf8(input.disk_path) == grown) {
        std::ofstream(fs::u8path(grown), std::ios::app | std::ios::binary) << "more";
      }
    };
    vorn::FileStream sink;
    ASSERT_EQ(sink.OpenForWriting(FromUtf8(temp_("changed.kelp")).c_str()), vorn::kOk);
    vornpack::BuildSummary summary;
    EXPECT_EQ(vornpack::WritePackage(inputs, settings, sink, summary, error), vorn::kInvalidState);
    EXPECT_NE(error.find("app.exe changed while it was being packed"), std::string::npos) << error;
    WriteFile(fs::u8path(grown), files_["Product/app.exe"]);
  }
}

}  // namespace
}  // namespace vornpack_test
