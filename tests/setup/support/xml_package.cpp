#include "setup/support/xml_package.h"

#include "package/archive_writer.h"
#include "package/memory_stream.h"
#include "package/package_file_system.h"

namespace vorn::test {

void XmlPackage::Add(const std::u16string& path, const std::string& utf8) {
  documents_.emplace_back(path, "\xEF\xBB\xBF" + utf8);
}

Result XmlPackage::MountIn(PackageFileSystem& files) {
  size_t total = 1 << 16;
  for (const auto& document : documents_) total += document.second.size() * 2 + 512;
  archive_.assign(total, 0);
  MemoryStream sink(archive_.data(), archive_.size(), MemoryStream::kWriting);
  ArchiveWriter writer;
  Result result = writer.Begin(&sink);
  for (const auto& document : documents_) {
    if (result != kOk) break;
    result = writer.AddMemory(document.first.c_str(), document.second.data(),
                              document.second.size(), kMethodDeflate);
  }
  if (result == kOk) result = writer.Finish();
  if (result != kOk) return result;
  archive_.resize(writer.BytesWritten());
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
