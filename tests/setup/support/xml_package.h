// Packages of XML documents made by the tests with the framework's archive
// writer, mounted in a file system of the test's own or the process's.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {
class PackageFileSystem;
}

namespace vorn::test {

// One file of a test archive.
struct ArchiveFile {
  std::u16string path;
  const uint8_t* data;
  uint64_t size;
  uint32_t method;  // a PackMethod of the archive writer
};

// Writes the files as one archive into `archive` (resized to fit).
Result WriteTestArchive(const std::vector<ArchiveFile>& files, std::vector<uint8_t>& archive);

class XmlPackage {
 public:
  // A document, UTF-8 with a byte-order mark as the shipped files are.
  void Add(const std::u16string& path, const std::string& utf8);
  // Writes the archive and mounts it; the package must outlive `files`.
  Result MountIn(PackageFileSystem& files);

 private:
  std::vector<std::pair<std::u16string, std::string>> documents_;
  std::vector<uint8_t> archive_;
};

// The UTF-8 form of a String, for assertions.
std::string Utf8(const String& text);
// ASCII text as a String, for building paths.
String FromAscii(const std::string& text);

}  // namespace vorn::test
