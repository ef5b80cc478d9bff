// Packing a product folder: `vornpack build` against the peers a vendor
// would otherwise use, on the same files in the same run.
//
// Time ratios are the reference's time / our time (1.0 = parity, higher
// means we are faster), as in the other benchmarks; size ratios are our
// archive's size / the reference's (lower means we are smaller):
//   pack_seconds          vornpack build of the corpus, every core
//   pack_mib_per_s        the corpus's size / pack_seconds
//   pack_vs_xz9           `tar | xz -9 -T0` time / ours
//   pack_size_vs_xz9      our archive / the .tar.xz
//   makensis_time_ratio   makensis (SetCompressor /SOLID lzma, amd64-unicode)
//                         time / ours, when makensis is installed
//   makensis_size_ratio   our archive / the installer makensis writes (its
//                         stub included, some 50 KiB)
// and, since a shared machine makes wall-clock times noisy, the processor
// time each spent (all its threads; the peers' as child processes):
//   pack_cpu_seconds, xz9_cpu_seconds, makensis_cpu_seconds
//   install_read_vs_raw   reading every file from disk / reading every entry
//                         of the archive through PackageFileSystem in the
//                         installer's 4 MiB chunks
//
// A second corpus, of mostly incompressible files (already compressed
// archives and data, some under names that say so, some not), shows what a
// product of compressed data costs at build and at install time:
//   pack_incompressible_vs_copy        a plain copy of its files / our build
//   install_read_incompressible_vs_raw reading its files from disk / reading
//                                      its entries through PackageFileSystem
// with the seconds of each side. Both should come close to 1.0: nothing in
// it is worth decoding. It is 256 MiB (VORN_PACK_BENCH_INCOMPRESSIBLE_MIB).
//
// The corpus is 256 MiB of generated files, about 1,500 of them in nested
// folders, in the shares of a typical product: XML documents, text, machine
// code and data of executables, and incompressible media (half of them
// pictures, which the package stores, half other already compressed data).
// VORN_PACK_BENCH_MIB scales it for quick runs.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "commands.h"
#include "package/file_stream.h"
#include "package/package_file_system.h"
#include "support/corpus_generator.h"
#include "tool_output.h"
#include "tool_text.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

void Figure(const char* name, double value) {
  std::printf("%s: %.3f\n", name, value);
  std::fflush(stdout);
}

void Stage(const char* what) {
  static const auto start = std::chrono::steady_clock::now();
  const std::chrono::duration<double> at = std::chrono::steady_clock::now() - start;
  std::fprintf(stderr, "[%7.1f s] %s\n", at.count(), what);
}

// User and system time of this process or of its waited-for children.
double ProcessorSeconds(int who) {
  rusage usage{};
  getrusage(who, &usage);
  auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Timing {
  double wall = 0;
  double processor = 0;
};

// Wall-clock and processor time of `work`; `who` says whose processor time
// counts (RUSAGE_SELF for in-process work, RUSAGE_CHILDREN for commands).
Timing Measure(const std::function<bool()>& work, int who, bool& ok) {
  const double processor = ProcessorSeconds(who);
  const auto start = std::chrono::steady_clock::now();
  ok = work();
  Timing t;
  t.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  t.processor = ProcessorSeconds(who) - processor;
  return t;
}

class SilentOutput : public vornpack::ToolOutput {
 public:
  void Out(const std::string&) override {}
  void Error(const std::string& text) override { std::fputs(text.c_str(), stderr); }
  std::unique_ptr<vornpack::ProgressReporter> NewProgress() override {
    return vornpack::NewSilentProgress();
  }
};

// --- the corpus ----------------------------------------------------------

using bench::Generator;

struct Kind {
  const char* folder;
  const char* extension;
  double share;  // of the corpus's bytes
  size_t min_size, max_size;
  Bytes (Generator::*make)(size_t);
};

void WriteFile(const fs::path& path, const Bytes& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// Writes files of each kind, in its share of `total` bytes, in a few levels
// of sub-folders below `root`; returns the number of files.
size_t WriteKinds(const fs::path& root, uint64_t total, const std::vector<Kind>& kinds,
                  Generator& generator) {
  size_t count = 0;
  for (const Kind& kind : kinds) {
    const uint64_t budget = static_cast<uint64_t>(kind.share * static_cast<double>(total));
    uint64_t written = 0;
    for (int index = 0; written < budget; ++index) {
      size_t size = generator.LogSize(kind.min_size, kind.max_size);
      if (size > budget - written) size = budget - written;
      if (size == 0) size = 1;
      fs::path folder = root / kind.folder;
      for (uint32_t depth = generator.Next() % 3; depth > 0; --depth) {
        folder /= "sub" + std::to_string(generator.Next() % 6);
      }
      std::string name = std::to_string(index);
      name.insert(0, 1, 'f');
      name += kind.extension;
      const Bytes content = (generator.*kind.make)(size);
      WriteFile(folder / name, content);
      written += content.size();
      ++count;
    }
  }
  return count;
}

// Writes the corpus below `root`; returns the number of files.
size_t MakeCorpus(const fs::path& root, uint64_t total) {
  const std::vector<Kind> kinds = {
      {"Data/Xml", ".xml", 0.10, 1 << 10, 256 << 10, &Generator::Xml},
      {"Product/Docs", ".txt", 0.15, 512, 512 << 10, &Generator::Text},
      {"Product/Bin", ".dll", 0.45, 4 << 10, 4 << 20, &Generator::Executable},
      {"Product/Media", ".png", 0.15, 1 << 10, 1 << 20, &Generator::Noise},
      {"Product/Data", ".cab", 0.15, 16 << 10, 2 << 20, &Generator::Noise},
  };
  Generator generator(20160117);
  WriteFile(root / "Data/Xml/Configuration.xml", generator.Xml(4096));
  return WriteKinds(root, total, kinds, generator) + 1;
}

// Mostly already compressed data: the product's data archives, installer
// cabinets, and noise under names that tell nothing (resource packs,
// caches); a little machine code and text besides.
size_t MakeIncompressibleCorpus(const fs::path& root, uint64_t total) {
  const std::vector<Kind> kinds = {
      {"Product/Data", ".dat", 0.35, 64 << 10, 24 << 20, &Generator::Noise},
      {"Product/Redist", ".cab", 0.15, 16 << 10, 8 << 20, &Generator::Noise},
      {"Product/Assets", ".pak", 0.30, 16 << 10, 16 << 20, &Generator::Noise},
      {"Product/Cache", ".bin", 0.10, 4 << 10, 2 << 20, &Generator::Noise},
      {"Product/Bin", ".dll", 0.06, 4 << 10, 2 << 20, &Generator::Executable},
      {"Product/Docs", ".txt", 0.04, 512, 256 << 10, &Generator::Text},
  };
  Generator generator(20260117);
  return WriteKinds(root, total, kinds, generator);
}

struct CorpusFile {
  fs::path disk;
  std::u16string package_path;
};

std::vector<CorpusFile> ListCorpus(const fs::path& root, uint64_t& bytes) {
  std::vector<CorpusFile> files;
  bytes = 0;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    bytes += entry.file_size();
    files.push_back(
        {entry.path(), vornpack::FromUtf8(fs::relative(entry.path(), root).generic_string())});
  }
  std::sort(files.begin(), files.end(), [](const CorpusFile& a, const CorpusFile& b) {
    return a.package_path < b.package_path;
  });
  return files;
}

// The installer's transfer reads in 4 MiB chunks; the disk side does too.
constexpr uint32_t kReadChunk = 4u << 20;

bool ReadStream(vorn::Stream& stream, Bytes& chunk) {
  for (uint64_t left = stream.Size() - stream.Position(); left > 0;) {
    const uint32_t part = left < kReadChunk ? static_cast<uint32_t>(left) : kReadChunk;
    if (stream.Read(chunk.data(), part) != vorn::kOk) return false;
    left -= part;
  }
  return true;
}

bool ReadFromDisk(const std::vector<CorpusFile>& files) {
  Bytes chunk(kReadChunk);
  for (const CorpusFile& file : files) {
    vorn::FileStream stream;
    if (stream.OpenForReading(vornpack::FromUtf8(file.disk.string()).c_str()) != vorn::kOk ||
        !ReadStream(stream, chunk)) {
      return false;
    }
  }
  return true;
}

bool ReadFromPackage(const fs::path& archive, const std::vector<CorpusFile>& files) {
  vorn::PackageFileSystem file_system;
  if (file_system.MountFile(vornpack::FromUtf8(archive.string()).c_str()) != vorn::kOk) {
    return false;
  }
  Bytes chunk(kReadChunk);
  for (const CorpusFile& file : files) {
    vorn::Stream* stream = nullptr;
    if (file_system.Open(file.package_path.c_str(), stream) != vorn::kOk) return false;
    const bool ok = ReadStream(*stream, chunk);
    delete stream;
    if (!ok) return false;
  }
  return true;
}

bool CopyFiles(const fs::path& from, const fs::path& to) {
  std::error_code error;
  fs::copy(from, to, fs::copy_options::recursive, error);
  return !error;
}

bool Run(const std::string& command) {
  return std::system(command.c_str()) == 0;
}

std::string Quoted(const fs::path& path) {
  std::string quoted(1, '\'');
  quoted += path.string();
  quoted += '\'';
  return quoted;
}

uint64_t SizeOf(const fs::path& path) {
  std::error_code ec;
  const uint64_t size = fs::file_size(path, ec);
  return ec ? 0 : size;
}

// `vornpack build` in this process, every core.
bool BuildPackage(const fs::path& corpus, const fs::path& archive, Timing& timing) {
  SilentOutput output;
  bool ok = false;
  timing = Measure(
      [&] {
        return vornpack::RunVornpack(
                   {"build", corpus.string(), "-o", archive.string(), "--quiet", "--no-check"},
                   output) == 0;
      },
      RUSAGE_SELF, ok);
  if (!ok) std::fprintf(stderr, "pack_bench: vornpack build of %s failed\n", corpus.c_str());
  return ok;
}

// Reads every file of `files` from disk and through the package file
// system over `archive`, each twice, keeping the faster run of each.
bool CompareReads(const fs::path& archive, const std::vector<CorpusFile>& files, double& raw,
                  double& package) {
  raw = package = 1e30;
  for (int round = 0; round < 2; ++round) {
    bool ok = false;
    raw = std::min(raw, Measure([&] { return ReadFromDisk(files); }, RUSAGE_SELF, ok).wall);
    if (!ok) return false;
    package = std::min(
        package, Measure([&] { return ReadFromPackage(archive, files); }, RUSAGE_SELF, ok).wall);
    if (!ok) return false;
  }
  return true;
}

uint64_t ScaleFromEnvironment(const char* name, uint64_t fallback) {
  uint64_t mib = fallback;
  if (const char* scale = std::getenv(name)) mib = std::strtoull(scale, nullptr, 10);
  return mib == 0 ? 1 : mib;
}

bool IncompressibleFigures(const fs::path& work) {
  const uint64_t mib = ScaleFromEnvironment("VORN_PACK_BENCH_INCOMPRESSIBLE_MIB", 256);
  const fs::path corpus = work / "incompressible";
  Stage("generating the incompressible corpus");
  MakeIncompressibleCorpus(corpus, mib << 20);
  uint64_t bytes = 0;
  const std::vector<CorpusFile> files = ListCorpus(corpus, bytes);
  Figure("incompressible_corpus_mib", static_cast<double>(bytes) / (1 << 20));
  Figure("incompressible_corpus_files", static_cast<double>(files.size()));
  Run("find " + Quoted(corpus) + " -type f -exec cat {} + > /dev/null");

  Stage("plain copy of the incompressible corpus");
  bool ok = false;
  double copy = 1e30;
  for (int round = 0; round < 2 && (round == 0 || ok); ++round) {
    const fs::path copied = work / ("copy" + std::to_string(round));
    copy = std::min(copy, Measure([&] { return CopyFiles(corpus, copied); }, RUSAGE_SELF, ok).wall);
    fs::remove_all(copied);
  }
  if (!ok) return false;
  Stage("vornpack build of the incompressible corpus");
  const fs::path archive = work / "incompressible.kelp";
  Timing packing;
  if (!BuildPackage(corpus, archive, packing)) return false;
  Figure("copy_incompressible_seconds", copy);
  Figure("pack_incompressible_seconds", packing.wall);
  Figure("pack_incompressible_cpu_seconds", packing.processor);
  Figure("pack_incompressible_size_ratio",
         static_cast<double>(SizeOf(archive)) / static_cast<double>(bytes));
  Figure("pack_incompressible_vs_copy", copy / packing.wall);

  Stage("reading the incompressible corpus");
  double raw = 0, package = 0;
  if (!CompareReads(archive, files, raw, package)) {
    std::fprintf(stderr, "pack_bench: reading the incompressible corpus failed\n");
    return false;
  }
  Figure("raw_read_incompressible_seconds", raw);
  Figure("install_read_incompressible_seconds", package);
  Figure("install_read_incompressible_vs_raw", raw / package);
  return true;
}

}  // namespace

int main() {
  const uint64_t mib = ScaleFromEnvironment("VORN_PACK_BENCH_MIB", 256);
  char pattern[] = "/tmp/vorn-pack-bench-XXXXXX";
  if (mkdtemp(pattern) == nullptr) {
    std::perror("pack_bench: mkdtemp");
    return 1;
  }
  const fs::path work = pattern;
  const fs::path corpus = work / "package";
  Stage("generating the corpus");
  const size_t files = MakeCorpus(corpus, mib << 20);
  uint64_t corpus_bytes = 0;
  const std::vector<CorpusFile> listed = ListCorpus(corpus, corpus_bytes);
  Figure("corpus_mib", static_cast<double>(corpus_bytes) / (1 << 20));
  Figure("corpus_files", static_cast<double>(files));
  // The files are read from the page cache by every tool alike.
  Run("find " + Quoted(corpus) + " -type f -exec cat {} + > /dev/null");

  Stage("vornpack build");
  const fs::path ours = work / "package.kelp";
  Timing packing;
  if (!BuildPackage(corpus, ours, packing)) {
    fs::remove_all(work);
    return 1;
  }
  const double pack = packing.wall;
  Figure("pack_seconds", pack);
  Figure("pack_cpu_seconds", packing.processor);
  Figure("pack_mib_per_s", static_cast<double>(corpus_bytes) / (1 << 20) / pack);
  Figure("pack_size_ratio", static_cast<double>(SizeOf(ours)) / static_cast<double>(corpus_bytes));

  Stage("reading the corpus");
  double raw = 0, package = 0;
  if (CompareReads(ours, listed, raw, package)) {
    Figure("raw_read_seconds", raw);
    Figure("install_read_seconds", package);
    Figure("install_read_vs_raw", raw / package);
  }
  bool ok = false;
  if (Run("command -v xz >/dev/null 2>&1")) {
    Stage("tar | xz -9 -T0");
    const fs::path xz = work / "package.tar.xz";
    const Timing t = Measure(
        [&] { return Run("tar -C " + Quoted(corpus) + " -cf - . | xz -9 -T0 > " + Quoted(xz)); },
        RUSAGE_CHILDREN, ok);
    const double seconds = t.wall;
    if (ok) {
      Figure("xz9_seconds", seconds);
      Figure("xz9_cpu_seconds", t.processor);
      Figure("pack_vs_xz9", seconds / pack);
      Figure("pack_size_vs_xz9",
             static_cast<double>(SizeOf(ours)) / static_cast<double>(SizeOf(xz)));
    }
  }

  if (Run("command -v makensis >/dev/null 2>&1")) {
    Stage("makensis, solid LZMA");
    const fs::path script = work / "package.nsi";
    const fs::path installer = work / "nsis-setup.exe";
    std::ofstream(script) << "Unicode true\n"
                             "Target amd64-unicode\n"
                             "SetCompressor /SOLID lzma\n"
                             "OutFile \""
                          << installer.string()
                          << "\"\n"
                             "InstallDir \"$PROGRAMFILES64\\Bench\"\n"
                             "RequestExecutionLevel user\n"
                             "Section\n"
                             "  SetOutPath \"$INSTDIR\"\n"
                             "  File /r \""
                          << corpus.string()
                          << "/*\"\n"
                             "SectionEnd\n";
    const Timing t = Measure([&] { return Run("makensis -V1 " + Quoted(script) + " > /dev/null"); },
                             RUSAGE_CHILDREN, ok);
    const double seconds = t.wall;
    if (ok) {
      Figure("makensis_seconds", seconds);
      Figure("makensis_cpu_seconds", t.processor);
      Figure("makensis_time_ratio", seconds / pack);
      Figure("makensis_size_ratio",
             static_cast<double>(SizeOf(ours)) / static_cast<double>(SizeOf(installer)));
    }
  }
  const bool incompressible = IncompressibleFigures(work);
  Stage("done");
  fs::remove_all(work);
  return incompressible ? 0 : 1;
}
