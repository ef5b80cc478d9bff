#include "setup/support/xml_package.h"

#include "package/archive_writer.h"
#include "package/memory_stream.h"
#include "package/package_file_system.h"

namespace vorn::test {

void XmlPackage::Add(const std::u16string& path, const std::string& utf8) {
  documents_.emplace_back(path, "\xEF\xBB\xBF" + utf8);
}

Result WriteTestArchive(const std::vector<ArchiveFile>& files, std::vector<uint8_t>& archive) {
  uint64_t total = 1 << 16;
  for (const ArchiveFile& file : files) total += file.size + file.size / 8 + 512;
  archive.assign(total, 0);
  MemoryStream sink(archive.data(), archive.size(), MemoryStream::kWriting);
  ArchiveWriter writer;
  Result result = writer.Begin(&sink);
  for (const ArchiveFile& file : files) {
    if (result != kOk) break;
    result = writer.AddMemory(file.path.c_str(), file.data, file.size,
                              static_cast<PackMethod>(file.method));
  }
  if (result == kOk) result = writer.Finish();
  if (result != kOk) return result;
  archive.resize(writer.BytesWritten());
  return kOk;
}

Result XmlPackage::MountIn(PackageFileSystem& files) {
  std::vector<ArchiveFile> entries;
  for (const auto& document : documents_) {
    entries.push_back({document.first, reinterpret_cast<const uint8_t*>(document.second.data()),
                       document.second.size(), kMethodDeflate});
  }
  const Result result = WriteTestArchive(entries, archive_);
  if (result != kOk) return result;
  return files.MountMemory(archive_.data(), archive_.size());
}

std::string Utf8(const String& text) {
  const Utf8Text utf8(text);
  return std::string(utf8.Text(), utf8.Length());
}

String FromAscii(const std::string& text) {
  String result;
  for (unsigned char unit : text) result += static_cast<char16_t>(unit);
  return result;
}

}  // namespace vorn::test
