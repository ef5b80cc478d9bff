#include "resources/support/test_package.h"

#include <gtest/gtest.h>

#include "package/archive_writer.h"
#include "package/memory_stream.h"

namespace vorn::test {

Bytes Utf8WithBom(const std::string& text) {
  Bytes bytes = {0xEF, 0xBB, 0xBF};
  bytes.insert(bytes.end(), text.begin(), text.end());
  return bytes;
}

void TestPackage::Add(const std::u16string& path, Bytes content) {
  files_.emplace_back(path, std::move(content));
}

void TestPackage::MountIn(PackageFileSystem& files) {
  size_t total = 1 << 16;
  for (const auto& file : files_) total += file.second.size() * 2 + 512;
  archive_.assign(total, 0);
  MemoryStream sink(archive_.data(), archive_.size(), MemoryStream::kWriting);
  ArchiveWriter writer;
  ASSERT_EQ(writer.Begin(&sink), kOk);
  for (const auto& file : files_) {
    // Pictures are stored as they are, text is deflated, as the package tool does.
    const bool text = file.first.find(u"Xml/") != std::u16string::npos;
    ASSERT_EQ(writer.AddMemory(file.first.c_str(), file.second.data(), file.second.size(),
                               text ? kMethodDeflate : kMethodStored),
              kOk);
  }
  ASSERT_EQ(writer.Finish(), kOk);
  archive_.resize(writer.BytesWritten());
  ASSERT_EQ(files.MountMemory(archive_.data(), archive_.size()), kOk);
}

std::string StringFile(const std::string& language,
                       const std::vector<std::pair<std::string, std::string>>& entries) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Resources Language=\"" + language + "\">\n";
  for (const auto& entry : entries) {
    xml += "  <String ID=\"" + entry.first + "\">" + entry.second + "</String>\n";
  }
  return xml + "</Resources>\n";
}

std::string Utf8(const String& text) {
  const Utf8Text utf8(text);
  return std::string(utf8.Text(), utf8.Length());
}

}  // namespace vorn::test
