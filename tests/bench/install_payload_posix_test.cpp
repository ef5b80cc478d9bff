// The installer benchmark's payload: the shares it promises (sizes, file
// counts, how well each kind compresses), the same bytes from the same
// seed, and clear results for bad arguments and unwritable folders.
#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "support/install_payload.h"

namespace {

namespace fs = std::filesystem;

constexpr uint64_t kMiB = 1u << 20;
constexpr double kSmall = 1.0 / 256;

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

double DeflateRatio(const std::string& bytes) {
  uLongf packed = compressBound(bytes.size());
  std::string out(packed, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &packed,
            reinterpret_cast<const Bytef*>(bytes.data()), bytes.size(), 6);
  return static_cast<double>(packed) / static_cast<double>(bytes.size());
}

class PayloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("install_payload_test_" + std::to_string(::getpid()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
  }
  void TearDown() override { fs::remove_all(root_); }
  fs::path root_;
};

TEST(PayloadLayout, FullSizeHasTheSharesItPromises) {
  std::map<bench::PayloadKind, uint64_t> bytes;
  std::map<bench::PayloadKind, int> files;
  for (const bench::PayloadFile& file : bench::PayloadLayout(1.0)) {
    bytes[file.kind] += file.size;
    ++files[file.kind];
    EXPECT_EQ(file.path.find('\\'), std::string::npos) << file.path;
  }
  EXPECT_EQ(bytes[bench::PayloadKind::kIncompressible], 100 * kMiB);
  EXPECT_EQ(bytes[bench::PayloadKind::kExecutable], 60 * kMiB);
  EXPECT_EQ(files[bench::PayloadKind::kLicence], 200);
  EXPECT_LT(bytes[bench::PayloadKind::kLicence], 5 * kMiB);
}

TEST(PayloadLayout, ScaleOutsideItsRangeGivesNoFiles) {
  EXPECT_TRUE(bench::PayloadLayout(0).empty());
  EXPECT_TRUE(bench::PayloadLayout(-1).empty());
  EXPECT_TRUE(bench::PayloadLayout(1.5).empty());
  EXPECT_TRUE(bench::PayloadLayout(std::nan("")).empty());
  EXPECT_EQ(bench::PayloadLayout(kSmall).size(), bench::PayloadLayout(1.0).size());
}

TEST_F(PayloadTest, WritesEveryFileAtItsSizeAndEachKindCompressesAsClaimed) {
  ASSERT_EQ(bench::WritePayload(root_.string(), kSmall, bench::kPayloadSeed), vorn::kOk);
  std::map<bench::PayloadKind, std::string> samples;
  for (const bench::PayloadFile& file : bench::PayloadLayout(kSmall)) {
    const fs::path path = root_ / file.path;
    ASSERT_TRUE(fs::is_regular_file(path)) << file.path;
    EXPECT_EQ(fs::file_size(path), file.size) << file.path;
    if (samples[file.kind].size() < 512 * 1024) samples[file.kind] += Read(path);
  }
  // Media does not shrink at all, machine code shrinks like real code does,
  // prose shrinks the most.
  EXPECT_GT(DeflateRatio(samples[bench::PayloadKind::kIncompressible]), 0.99);
  const double code = DeflateRatio(samples[bench::PayloadKind::kExecutable]);
  EXPECT_GT(code, 0.2);
  EXPECT_LT(code, 0.7);
  EXPECT_LT(DeflateRatio(samples[bench::PayloadKind::kLicence]), 0.35);
  const std::string licence = Read(root_ / "Licences/licence-000.txt");
  EXPECT_EQ(licence.rfind("1. ", 0), 0u) << licence.substr(0, 40);
  EXPECT_NE(licence.find("Software"), std::string::npos);
}

TEST_F(PayloadTest, SameSeedSameBytesOtherSeedOtherBytes) {
  ASSERT_EQ(bench::WritePayload((root_ / "a").string(), kSmall, 7), vorn::kOk);
  ASSERT_EQ(bench::WritePayload((root_ / "b").string(), kSmall, 7), vorn::kOk);
  ASSERT_EQ(bench::WritePayload((root_ / "c").string(), kSmall, 8), vorn::kOk);
  int same = 0;
  int different = 0;
  for (const bench::PayloadFile& file : bench::PayloadLayout(kSmall)) {
    const std::string a = Read(root_ / "a" / file.path);
    EXPECT_EQ(a, Read(root_ / "b" / file.path)) << file.path;
    (a == Read(root_ / "c" / file.path) ? same : different)++;
  }
  EXPECT_EQ(same, 0);
  EXPECT_GT(different, 0);
  // Files of one kind are not copies of each other.
  EXPECT_NE(Read(root_ / "a/Bin/module-000.dll").substr(0, 4096),
            Read(root_ / "a/Bin/module-001.dll").substr(0, 4096));
}

TEST_F(PayloadTest, BadArgumentsAndUnwritableFoldersGiveClearResults) {
  EXPECT_EQ(bench::WritePayload("", kSmall, 1), vorn::kInvalidArgument);
  EXPECT_EQ(bench::WritePayload(root_.string(), 0, 1), vorn::kInvalidArgument);
  EXPECT_FALSE(fs::exists(root_));

  // A file where a folder must go: the folder cannot be made, and the file
  // in the way is left as it was.
  fs::create_directories(root_);
  std::ofstream(root_ / "Bin") << "keep me";
  EXPECT_EQ(bench::WritePayload(root_.string(), kSmall, 1), vorn::kInvalidPath);
  EXPECT_EQ(Read(root_ / "Bin"), "keep me");

  // An existing payload file is replaced, other files stay.
  fs::remove(root_ / "Bin");
  fs::create_directories(root_ / "Data");
  std::ofstream(root_ / "Data/media-000.pak") << "old";
  std::ofstream(root_ / "Data/notes.txt") << "mine";
  ASSERT_EQ(bench::WritePayload(root_.string(), kSmall, 1), vorn::kOk);
  EXPECT_EQ(fs::file_size(root_ / "Data/media-000.pak"), bench::PayloadLayout(kSmall)[0].size);
  EXPECT_EQ(Read(root_ / "Data/notes.txt"), "mine");
}

}  // namespace
