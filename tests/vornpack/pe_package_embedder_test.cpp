#include "pe_package_embedder.h"

#include <gtest/gtest.h>

#include <map>

#include "little_endian.h"
#include "pe_checksum.h"
#include "pe_image.h"
#include "pe_package_locator.h"
#include "pe_resource_tree.h"
#include "vornpack/support/test_pe.h"

namespace vornpack {
namespace {

using vornpack_test::BuildTestPe;
using vornpack_test::Bytes;
using vornpack_test::PatternBytes;
using vornpack_test::ReadU16;
using vornpack_test::ReadU32;
using vornpack_test::TestPeOptions;
using vornpack_test::TestResource;

struct Embedded {
  Result code = vorn::kOk;
  Bytes exe;
  std::vector<std::string> notes;
  std::string error;
};

Embedded Embed(const Bytes& stub, const Bytes& package) {
  Embedded e;
  e.code = EmbedPackage(stub.data(), stub.size(), package.data(), package.size(), e.exe, e.notes,
                        e.error);
  return e;
}

// Every leaf of a tree by its path (type/name/language), with its bytes.
using LeafMap = std::map<std::string, Bytes>;
std::string NameOf(const ResourceEntry& e) {
  if (!e.is_named) return std::to_string(e.id);
  return std::string(e.name.begin(), e.name.end());
}
void Collect(const ResourceDirectory& d, const Bytes& file, const std::string& prefix,
             LeafMap& out) {
  for (const ResourceEntry& e : d.entries) {
    const std::string path = prefix + "/" + NameOf(e);
    if (e.directory) {
      Collect(*e.directory, file, path, out);
    } else {
      out[path] = Bytes(file.begin() + e.data_offset, file.begin() + e.data_offset + e.data_size);
    }
  }
}
LeafMap Leaves(const Bytes& file) {
  PeImage image;
  std::string error;
  EXPECT_EQ(ParsePeImage(file.data(), file.size(), image, error), vorn::kOk) << error;
  ResourceDirectory root;
  EXPECT_EQ(ReadResourceTree(file.data(), file.size(), image, root, error), vorn::kOk) << error;
  LeafMap leaves;
  Collect(root, file, "", leaves);
  return leaves;
}

// What the loader and signing tools rely on in the rebuilt image.
void ExpectSoundImage(const Bytes& exe) {
  PeImage image;
  std::string error;
  ASSERT_EQ(ParsePeImage(exe.data(), exe.size(), image, error), vorn::kOk) << error;
  ASSERT_FALSE(image.sections.empty());
  for (size_t i = 1; i < image.sections.size(); ++i) {
    const PeSection& a = image.sections[i - 1];
    const uint32_t end = a.virtual_address + (a.virtual_size ? a.virtual_size : a.raw_size);
    EXPECT_EQ(image.sections[i].virtual_address, AlignUp(end, image.section_alignment))
        << "sections must follow each other without gaps";
  }
  const PeSection& last = image.sections.back();
  EXPECT_EQ(last.name, ".rsrc");
  EXPECT_EQ(image.Directory(kPeDirectoryResource).address, last.virtual_address);
  EXPECT_EQ(image.size_of_image,
            AlignUp(last.virtual_address + last.virtual_size, image.section_alignment));
  EXPECT_EQ(last.raw_offset % image.file_alignment, 0u);
  EXPECT_EQ(last.raw_size % image.file_alignment, 0u);
  // On a page of the file, so that a loader can map the package lazily
  // instead of reading it all before the program starts.
  if (image.section_alignment >= 4096) {
    EXPECT_EQ(last.raw_offset % 4096, 0u);
  }
  EXPECT_EQ(image.Directory(kPeDirectorySecurity).size, 0u);
  EXPECT_EQ(ReadU32(exe, image.checksum_field), vornpack_test::ReferenceChecksum(exe));
}

Bytes FoundPackage(const Bytes& exe) {
  uint64_t offset = 0, length = 0;
  std::string error;
  EXPECT_EQ(LocatePackageResource(exe.data(), exe.size(), offset, length, error), vorn::kOk)
      << error;
  return Bytes(exe.begin() + offset, exe.begin() + offset + length);
}

class EmbedderLayouts : public testing::TestWithParam<std::tuple<bool, bool>> {};

TEST_P(EmbedderLayouts, CarriesThePackageAndKeepsEveryOtherResource) {
  TestPeOptions options;
  options.pe32_plus = std::get<0>(GetParam());
  options.resources_last = std::get<1>(GetParam());
  const Bytes stub = BuildTestPe(options);
  const Bytes package = PatternBytes(100003, 42);
  Embedded e = Embed(stub, package);
  ASSERT_EQ(e.code, vorn::kOk) << e.error;
  ExpectSoundImage(e.exe);
  EXPECT_EQ(FoundPackage(e.exe), package);

  LeafMap before = Leaves(stub), after = Leaves(e.exe);
  EXPECT_EQ(after.erase("/10/4096/0"), 1u);
  EXPECT_EQ(before, after);

  PeImage old_image, new_image;
  std::string error;
  ParsePeImage(stub.data(), stub.size(), old_image, error);
  ParsePeImage(e.exe.data(), e.exe.size(), new_image, error);
  const uint32_t added = new_image.sections.back().raw_size;
  if (options.resources_last) {
    // The old resource section was last: rebuilt where it was.
    EXPECT_EQ(new_image.sections.size(), old_image.sections.size());
    EXPECT_EQ(new_image.size_of_initialized_data,
              old_image.size_of_initialized_data + added - old_image.sections.back().raw_size);
  } else {
    EXPECT_EQ(new_image.sections.size(), old_image.sections.size() + 1);
    EXPECT_EQ(new_image.size_of_initialized_data, old_image.size_of_initialized_data + added);
  }
  // The code and the other sections are untouched.
  for (size_t i = 0; i + 1 < old_image.sections.size(); ++i) {
    const PeSection& s = old_image.sections[i];
    EXPECT_TRUE(std::equal(stub.begin() + s.raw_offset, stub.begin() + s.raw_offset + s.raw_size,
                           e.exe.begin() + s.raw_offset))
        << s.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Pe32AndPe32Plus, EmbedderLayouts,
                         testing::Combine(testing::Bool(), testing::Bool()));

TEST(Embedder, ReplacesAnEarlierPackageInEveryLanguage) {
  TestPeOptions options;
  options.resources_last = true;
  options.extra_resources.push_back({false, 10, u"", false, 4096, u"", 1033, PatternBytes(50, 1)});
  options.extra_resources.push_back({false, 10, u"", false, 4096, u"", 1036, PatternBytes(60, 2)});
  const Bytes stub = BuildTestPe(options);
  const Bytes package = PatternBytes(777, 3);
  Embedded e = Embed(stub, package);
  ASSERT_EQ(e.code, vorn::kOk) << e.error;
  LeafMap after = Leaves(e.exe);
  EXPECT_EQ(after.count("/10/4096/1033"), 0u);
  EXPECT_EQ(after.count("/10/4096/1036"), 0u);
  EXPECT_EQ(after["/10/4096/0"], package);
  EXPECT_EQ(after["/10/5/0"], PatternBytes(17, 6));  // the stub's other RCDATA stays
}

TEST(Embedder, ASetupExecutableCanServeAsStubAgain) {
  const Bytes stub = BuildTestPe(TestPeOptions{});
  Embedded first = Embed(stub, PatternBytes(5000, 1));
  ASSERT_EQ(first.code, vorn::kOk) << first.error;
  const Bytes second_package = PatternBytes(300, 2);
  Embedded second = Embed(first.exe, second_package);
  ASSERT_EQ(second.code, vorn::kOk) << second.error;
  ExpectSoundImage(second.exe);
  EXPECT_EQ(FoundPackage(second.exe), second_package);
  EXPECT_LT(second.exe.size(), first.exe.size()) << "the old package must not linger";
  PeImage a, b;
  std::string error;
  ParsePeImage(first.exe.data(), first.exe.size(), a, error);
  ParsePeImage(second.exe.data(), second.exe.size(), b, error);
  EXPECT_EQ(a.sections.size(), b.sections.size());
}

TEST(Embedder, GivesAStubWithoutResourcesAResourceSection) {
  TestPeOptions options;
  options.with_resources = false;
  options.pe32_plus = false;
  const Bytes stub = BuildTestPe(options);
  const Bytes package = PatternBytes(4097, 5);
  Embedded e = Embed(stub, package);
  ASSERT_EQ(e.code, vorn::kOk) << e.error;
  ExpectSoundImage(e.exe);
  EXPECT_EQ(FoundPackage(e.exe), package);
  EXPECT_EQ(Leaves(e.exe).size(), 1u);
}

TEST(Embedder, EmptyPackageStillGivesAFindableResource) {
  Embedded e = Embed(BuildTestPe(TestPeOptions{}), Bytes{});
  ASSERT_EQ(e.code, vorn::kOk) << e.error;
  ExpectSoundImage(e.exe);
  EXPECT_TRUE(FoundPackage(e.exe).empty());
}

TEST(Embedder, StripsACertificateAndSaysSo) {
  TestPeOptions options;
  options.certificate = true;
  Embedded e = Embed(BuildTestPe(options), PatternBytes(1000, 1));
  ASSERT_EQ(e.code, vorn::kOk) << e.error;
  ExpectSoundImage(e.exe);
  ASSERT_EQ(e.notes.size(), 1u);
  EXPECT_NE(e.notes[0].find("sign"), std::string::npos);
  PeImage image;
  std::string error;
  ParsePeImage(e.exe.data(), e.exe.size(), image, error);
  EXPECT_EQ(e.exe.size(), image.RawEnd()) << "nothing of the certificate is left behind";
}

TEST(Embedder, KeepsTheSymbolTableBehindTheNewSection) {
  TestPeOptions options;
  options.symbols = true;
  const Bytes stub = BuildTestPe(options);
  PeImage old_image;
  std::string error;
  ParsePeImage(stub.data(), stub.size(), old_image, error);
  const Bytes symbols(stub.begin() + old_image.symbol_table_offset, stub.end());
  Embedded e = Embed(stub, PatternBytes(2000, 1));
  ASSERT_EQ(e.code, vorn::kOk) << e.error;
  ExpectSoundImage(e.exe);
  PeImage image;
  ParsePeImage(e.exe.data(), e.exe.size(), image, error);
  EXPECT_EQ(image.symbol_table_offset, image.RawEnd());
  EXPECT_EQ(image.symbol_count, old_image.symbol_count);
  EXPECT_EQ(Bytes(e.exe.begin() + image.symbol_table_offset, e.exe.end()), symbols);
}

TEST(Embedder, RefusesAppendedDataItCannotPlace) {
  TestPeOptions options;
  options.overlay = PatternBytes(100, 1);
  Embedded e = Embed(BuildTestPe(options), PatternBytes(10, 1));
  EXPECT_EQ(e.code, vorn::kInvalidContent);
  EXPECT_NE(e.error.find("appended data"), std::string::npos) << e.error;
  EXPECT_TRUE(e.exe.empty());
}

TEST(Embedder, ZeroPaddingAfterTheSectionsIsNoObstacle) {
  TestPeOptions options;
  options.overlay = Bytes(64, 0);
  Embedded e = Embed(BuildTestPe(options), PatternBytes(10, 1));
  EXPECT_EQ(e.code, vorn::kOk) << e.error;
}

TEST(Embedder, RefusesAStubWhoseHeadersAreFull) {
  for (bool pe32_plus : {false, true}) {
    TestPeOptions options;
    options.headers_full = true;
    options.pe32_plus = pe32_plus;
    Embedded e = Embed(BuildTestPe(options), PatternBytes(10, 1));
    EXPECT_EQ(e.code, vorn::kInvalidContent);
    EXPECT_NE(e.error.find("no room"), std::string::npos) << e.error;
    EXPECT_TRUE(e.exe.empty());
  }
}

TEST(Embedder, RefusesWhatIsNotAnExecutable) {
  const Bytes stub = BuildTestPe(TestPeOptions{});
  std::vector<Bytes> bad = {
      Bytes{}, PatternBytes(4096, 9),             // noise
      Bytes(stub.begin(), stub.begin() + 0x60),   // cut inside the headers
      Bytes(stub.begin(), stub.begin() + 0x300),  // cut inside the sections
  };
  Bytes no_signature = stub;
  no_signature[vornpack_test::PeHeaderOffset(stub)] = 'X';
  bad.push_back(no_signature);
  Bytes bad_magic = stub;
  bad_magic[vornpack_test::PeHeaderOffset(stub) + 24] = 0x99;
  bad.push_back(bad_magic);
  for (const Bytes& b : bad) {
    Embedded e = Embed(b, PatternBytes(10, 1));
    EXPECT_EQ(e.code, vorn::kInvalidContent);
    EXPECT_FALSE(e.error.empty());
    EXPECT_TRUE(e.exe.empty());
  }
}

// Every truncation and every single-byte corruption of the headers and the
// resource tree fails cleanly or yields a sound image (the sanitizers watch).
TEST(Embedder, DamagedStubsNeverCrash) {
  const Bytes stub = BuildTestPe(TestPeOptions{});
  for (size_t cut = 0; cut < stub.size(); cut += 7) {
    Bytes b(stub.begin(), stub.begin() + cut);
    Embedded e = Embed(b, PatternBytes(10, 1));
    EXPECT_TRUE(e.code == vorn::kOk || !e.error.empty());
  }
  for (size_t at = 0; at < stub.size(); ++at) {
    Bytes b = stub;
    b[at] ^= 0xA5;
    Embedded e = Embed(b, PatternBytes(10, 1));
    if (e.code == vorn::kOk) {
      EXPECT_EQ(FoundPackage(e.exe), PatternBytes(10, 1));
    }
  }
}

TEST(Locator, ReportsAnExecutableWithoutPackage) {
  const Bytes stub = BuildTestPe(TestPeOptions{});
  uint64_t offset = 1, length = 1;
  std::string error;
  EXPECT_EQ(LocatePackageResource(stub.data(), stub.size(), offset, length, error),
            vorn::kNotFound);
  EXPECT_EQ(offset, 0u);
  EXPECT_EQ(length, 0u);
  EXPECT_NE(error.find("4096"), std::string::npos);
}

TEST(Checksum, IncrementalEqualsWholeFileWhateverTheChunks) {
  const Bytes file = PatternBytes(10001, 77);  // odd length
  const uint64_t field = 0xD8;
  uint32_t expected = ComputePeChecksum(file.data(), file.size(), field);
  Bytes with_header = file;
  // Cross-check against the plain algorithm, which reads the field position
  // from the headers.
  with_header[0x3C] = 0x40;
  with_header[0x3D] = with_header[0x3E] = with_header[0x3F] = 0;
  EXPECT_EQ(ComputePeChecksum(with_header.data(), with_header.size(), 0x40 + 24 + 64),
            vornpack_test::ReferenceChecksum(with_header));
  for (size_t chunk : {1u, 2u, 3u, 7u, 64u, 4099u}) {
    PeChecksum checksum(field);
    for (size_t at = 0; at < file.size(); at += chunk) {
      checksum.Update(file.data() + at, std::min(chunk, file.size() - at));
    }
    EXPECT_EQ(checksum.Finish(), expected) << "chunk " << chunk;
  }
}

}  // namespace
}  // namespace vornpack
