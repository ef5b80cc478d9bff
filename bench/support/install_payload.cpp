#include "support/install_payload.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "support/corpus_generator.h"

namespace bench {

namespace {

constexpr uint64_t kMiB = 1u << 20;

// Media and data archives: already compressed, so nothing gains from
// compressing them again; named so the package tool cannot guess that.
const uint64_t kIncompressibleMiB[] = {40, 25, 15, 10, 6, 4};
// Modules of a typical product: one large engine, a few mid-sized
// libraries, small plug-ins.
const uint64_t kExecutableMiB[] = {24, 12, 8, 6, 4, 3, 2, 1};
constexpr int kLicenceCount = 200;

uint64_t Scaled(uint64_t mib, double scale) {
  const uint64_t size = static_cast<uint64_t>(static_cast<double>(mib * kMiB) * scale);
  return size == 0 ? 1 : size;
}

std::string Numbered(const char* prefix, int index, const char* suffix) {
  char name[64];
  std::snprintf(name, sizeof name, "%s%03d%s", prefix, index, suffix);
  return name;
}

vorn::Result WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
  std::FILE* file = std::fopen(path.string().c_str(), "wb");
  if (file == nullptr) return errno == ENOSPC ? vorn::kDiskFull : vorn::kSystemFailure;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const int write_error = errno;
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    const int error = written ? errno : write_error;
    std::error_code ignored;
    std::filesystem::remove(path, ignored);  // no truncated file left behind
    return error == ENOSPC ? vorn::kDiskFull : vorn::kSystemFailure;
  }
  return vorn::kOk;
}

}  // namespace

std::vector<PayloadFile> PayloadLayout(double scale) {
  std::vector<PayloadFile> files;
  if (!(scale > 0 && scale <= 1)) return files;
  int index = 0;
  for (uint64_t mib : kIncompressibleMiB) {
    files.push_back({Numbered("Data/media-", index++, ".pak"), Scaled(mib, scale),
                     PayloadKind::kIncompressible});
  }
  index = 0;
  for (uint64_t mib : kExecutableMiB) {
    files.push_back(
        {Numbered("Bin/module-", index++, ".dll"), Scaled(mib, scale), PayloadKind::kExecutable});
  }
  for (int i = 0; i < kLicenceCount; ++i) {
    // 2 to 20 KiB, the same for every scale.
    const uint64_t size = 2048 + (static_cast<uint64_t>(i) * 7919u) % (18 * 1024);
    files.push_back({Numbered("Licences/licence-", i, ".txt"), size, PayloadKind::kLicence});
  }
  return files;
}

vorn::Result WritePayload(const std::string& folder, double scale, uint32_t seed) {
  const std::vector<PayloadFile> files = PayloadLayout(scale);
  if (files.empty() || folder.empty()) return vorn::kInvalidArgument;
  const std::filesystem::path root(folder);
  // Each file has a generator of its own: a file's bytes depend only on the
  // seed and its place in the list, not on what was written before it.
  uint32_t number = 0;
  for (const PayloadFile& file : files) {
    Generator generator(seed + 7919u * ++number);
    const std::filesystem::path path = root / file.path;
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (error) return vorn::kInvalidPath;
    Bytes bytes;
    switch (file.kind) {
      case PayloadKind::kIncompressible:
        bytes = generator.Noise(file.size);
        break;
      case PayloadKind::kExecutable:
        bytes = generator.Executable(file.size);
        break;
      case PayloadKind::kLicence:
        bytes = generator.Licence(file.size);
        break;
    }
    if (const vorn::Result r = WriteBytes(path, bytes); r != vorn::kOk) return r;
  }
  return vorn::kOk;
}

}  // namespace bench
