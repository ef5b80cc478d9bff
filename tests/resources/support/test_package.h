// Packages built by the tests: files collected in memory, written with the
// archive writer and mounted in a file system of the test's own.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "package/package_file_system.h"
#include "resources/support/picture_files.h"

namespace vorn::test {

// UTF-8 with a byte-order mark, as the shipped XML files are.
Bytes Utf8WithBom(const std::string& text);

class TestPackage {
 public:
  void Add(const std::u16string& path, Bytes content);
  void AddXml(const std::u16string& path, const std::string& utf8) { Add(path, Utf8WithBom(utf8)); }
  // Writes the archive and mounts it; the package must outlive `files`.
  void MountIn(PackageFileSystem& files);
  const Bytes& Archive() const { return archive_; }

 private:
  std::vector<std::pair<std::u16string, Bytes>> files_;
  Bytes archive_;
};

// A string file: root "Resources" with Language, one "String" per entry.
std::string StringFile(const std::string& language,
                       const std::vector<std::pair<std::string, std::string>>& entries);

// The UTF-8 form of a String, for assertions.
std::string Utf8(const String& text);

}  // namespace vorn::test
