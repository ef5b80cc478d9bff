#include "package_test_support.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "package/lzh_stream.h"
#include "package/path_hash.h"

namespace vorn::test {

Bytes TextLike(size_t size, uint32_t seed) {
  static const char* const kWords[] = {
      "<Window", "Name=\"", "Install",   "Folder", "\"/>",  "the",  "package",
      "archive", "of",      "VornSetup", "string", "value", "Text", "Page",
      "Button",  "Cancel",  "\n",        "\t",     " ",     "=",
  };
  std::mt19937 random(seed);
  Bytes out;
  out.reserve(size);
  while (out.size() < size) {
    const char* word = kWords[random() % (sizeof(kWords) / sizeof(kWords[0]))];
    for (const char* c = word; *c != 0 && out.size() < size; ++c) out.push_back(uint8_t(*c));
  }
  return out;
}

Bytes BinaryLike(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  Bytes out;
  out.reserve(size);
  while (out.size() < size) {
    const uint32_t kind = random() % 4;
    const size_t run = 16 + random() % 256;
    for (size_t i = 0; i < run && out.size() < size; ++i) {
      switch (kind) {
        case 0:  // zero padding
          out.push_back(0);
          break;
        case 1:  // a table of little-endian integers
          out.push_back(uint8_t(i % 4 == 0 ? random() % 32 : 0));
          break;
        case 2:  // machine-code-like bytes from a small alphabet
          out.push_back(uint8_t(0x40 + random() % 24));
          break;
        default:  // noise
          out.push_back(uint8_t(random()));
      }
    }
  }
  return out;
}

Bytes Noise(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  Bytes out(size);
  for (auto& b : out) b = uint8_t(random());
  return out;
}

std::string Utf8(const String& text) {
  Utf8Text utf8(text);
  return std::string(utf8.Text(), utf8.Length());
}

Result GrowingStream::Close() noexcept {
  bytes_.clear();
  position_ = 0;
  return kOk;
}

Result GrowingStream::Read(void* buffer, uint32_t count) noexcept {
  if (count == 0) return kOk;
  if (position_ + count > bytes_.size()) return kEndOfData;
  std::memcpy(buffer, bytes_.data() + position_, count);
  position_ += count;
  return kOk;
}

Result GrowingStream::Write(const void* buffer, uint32_t count) noexcept {
  if (count == 0) return kOk;
  if (position_ + count > bytes_.size()) bytes_.resize(position_ + count);
  std::memcpy(bytes_.data() + position_, buffer, count);
  position_ += count;
  return kOk;
}

Result GrowingStream::Seek(uint64_t offset) noexcept {
  if (offset > bytes_.size()) return kIndexOutOfRange;
  position_ = offset;
  return kOk;
}

Result RecordingStream::Read(void* buffer, uint32_t count) noexcept {
  reads.push_back(count);
  return inner_.Read(buffer, count);
}

Result RecordingStream::Write(const void* buffer, uint32_t count) noexcept {
  writes.push_back(count);
  return inner_.Write(buffer, count);
}

Result RecordingStream::Seek(uint64_t offset) noexcept {
  seeks.push_back(offset);
  return inner_.Seek(offset);
}

Bytes BuildArchive(const std::vector<TestEntry>& entries) {
  GrowingStream sink;
  ArchiveWriter writer;
  writer.SetCreationTime(0x20160117, 0x13450900);
  if (writer.Begin(&sink) != kOk) return {};
  for (const TestEntry& entry : entries) {
    if (writer.AddMemory(entry.path.c_str(), entry.content.data(), entry.content.size(),
                         entry.method, entry.block_size) != kOk) {
      return {};
    }
  }
  if (writer.Finish() != kOk) return {};
  return sink.Data();
}

ArchiveHeader ArchiveEditor::Header() const {
  ArchiveHeader header;
  DecodeArchiveHeader(archive_.data(), header);
  return header;
}

void ArchiveEditor::SetHeader(const ArchiveHeader& header, bool fix_checksum) {
  EncodeArchiveHeader(header, archive_.data());
  if (fix_checksum) {
    ArchiveHeader fixed = header;
    fixed.checksum = ArchiveHeaderChecksum(archive_.data());
    EncodeArchiveHeader(fixed, archive_.data());
  }
}

EntryHeader ArchiveEditor::Entry(uint64_t offset) const {
  EntryHeader header;
  DecodeEntryHeader(archive_.data() + offset, header);
  return header;
}

void ArchiveEditor::SetEntry(uint64_t offset, const EntryHeader& header, bool fix_checksum) {
  EncodeEntryHeader(header, archive_.data() + offset);
  if (fix_checksum) {
    EntryHeader fixed = header;
    fixed.checksum = EntryHeaderChecksum(archive_.data() + offset);
    EncodeEntryHeader(fixed, archive_.data() + offset);
  }
}

uint64_t ArchiveEditor::EntryOffset(const std::u16string& path) const {
  const uint64_t directory = DirectoryOffset();
  const EntryHeader header = Entry(directory);
  MemoryStream source(archive_.data() + directory + kEntryHeaderSize, header.packed_size);
  LZHStream rows;
  rows.Init(&source, header.packed_size, header.unpacked_size);
  Bytes table(header.unpacked_size);
  if (rows.Read(table.data(), uint32_t(table.size())) != kOk) return 0;
  const uint32_t hash = PathHash(path.c_str());
  for (size_t i = 0; i + 8 <= table.size(); i += 8) {
    uint32_t row_hash, offset;
    std::memcpy(&row_hash, &table[i], 4);
    std::memcpy(&offset, &table[i + 4], 4);
    if (row_hash == hash) return offset;
  }
  return 0;
}

Result ReadToEnd(Stream& stream, Bytes& out, uint32_t chunk) {
  out.clear();
  std::vector<uint8_t> buffer(chunk);
  while (stream.Position() < stream.Size()) {
    const uint64_t left = stream.Size() - stream.Position();
    const uint32_t part = left < chunk ? uint32_t(left) : chunk;
    Result result = stream.Read(buffer.data(), part);
    if (result != kOk) return result;
    out.insert(out.end(), buffer.begin(), buffer.begin() + part);
  }
  return kOk;
}

TempFolder::TempFolder() {
  static int counter = 0;
  std::filesystem::path base = std::filesystem::temp_directory_path();
  std::random_device device;
  for (;;) {
    std::filesystem::path candidate =
        base / ("vorn-package-test-" + std::to_string(device()) + "-" + std::to_string(++counter));
    std::error_code error;
    if (std::filesystem::create_directory(candidate, error)) {
      root_ = candidate.string();
      break;
    }
  }
}

TempFolder::~TempFolder() {
  std::error_code error;
  std::filesystem::remove_all(root_, error);
}

std::string TempFolder::Utf8Path(const std::string& name) const {
  return (std::filesystem::path(root_) / name).string();
}

std::u16string TempFolder::Path(const std::u16string& name) const {
  std::u16string root(root_.begin(), root_.end());
#ifdef _WIN32
  return root + u"\\" + name;
#else
  return root + u"/" + name;
#endif
}

void TempFolder::WriteFile(const std::string& name, const Bytes& content) const {
  std::ofstream out(Utf8Path(name), std::ios::binary);
  out.write(reinterpret_cast<const char*>(content.data()), std::streamsize(content.size()));
}

Bytes TempFolder::ReadFile(const std::string& name) const {
  std::ifstream in(Utf8Path(name), std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace vorn::test

namespace vorn::test {

std::vector<TestEntry> EmbeddedTestEntries() {
  return {
      {u"Data/Xml/Configuration.xml", TextLike(600, 21), kMethodPpmd},
      {u"Data/Xml/FileList.xml", TextLike(400, 22), kMethodDeflate},
      {u"Data/Pictures/Logo.png", BinaryLike(300, 23), kMethodStored},
      {u"Product/Program.exe", BinaryLike(900, 24), kMethodLzma, 512},
      {u"Product/Library.dll", BinaryLike(500, 25), kMethodLzo},
      {u"Product/Readme.txt", TextLike(500, 26), kMethodLzma2},
      {u"Product/Empty.txt", {}, kMethodLzma},
  };
}

}  // namespace vorn::test
