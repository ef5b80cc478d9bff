// Helpers shared by the package tests: test data, archives built in memory,
// a stream that records what reaches it, and temporary files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "package/archive_writer.h"
#include "package/memory_stream.h"
#include "package/package_format.h"
#include "package/stream.h"

namespace vorn::test {

using Bytes = std::vector<uint8_t>;

// Text-like bytes (words and line breaks) and binary-like bytes (a
// deterministic mix of runs and noise); both compress, neither trivially.
Bytes TextLike(size_t size, uint32_t seed = 1);
Bytes BinaryLike(size_t size, uint32_t seed = 1);
Bytes Noise(size_t size, uint32_t seed = 1);

// The text of a String as UTF-8, for assertions.
std::string Utf8(const String& text);

// A growable in-memory sink that behaves like a file opened for writing:
// seekable within what was written, readable afterwards.
class GrowingStream : public Stream {
 public:
  Result Close() noexcept override;
  Result Read(void* buffer, uint32_t count) noexcept override;
  Result Write(const void* buffer, uint32_t count) noexcept override;
  Result Flush(int) noexcept override { return kOk; }
  uint64_t Position() noexcept override { return position_; }
  Result Seek(uint64_t offset) noexcept override;
  uint64_t Size() noexcept override { return bytes_.size(); }
  String Describe() noexcept override { return u"Growing"; }

  Bytes& Data() { return bytes_; }

 private:
  Bytes bytes_;
  uint64_t position_ = 0;
};

// Forwards to an inner stream and records every transfer and seek, so that
// tests can see what a layer above asked of the layer below.
class RecordingStream : public Stream {
 public:
  explicit RecordingStream(Stream& inner) : inner_(inner) {}
  Result Close() noexcept override { return inner_.Close(); }
  Result Read(void* buffer, uint32_t count) noexcept override;
  Result Write(const void* buffer, uint32_t count) noexcept override;
  Result Flush(int durable) noexcept override { return inner_.Flush(durable); }
  uint64_t Position() noexcept override { return inner_.Position(); }
  Result Seek(uint64_t offset) noexcept override;
  uint64_t Size() noexcept override { return inner_.Size(); }
  String Describe() noexcept override { return inner_.Describe(); }

  std::vector<uint32_t> reads;
  std::vector<uint32_t> writes;
  std::vector<uint64_t> seeks;

 private:
  Stream& inner_;
};

struct TestEntry {
  std::u16string path;
  Bytes content;
  PackMethod method;
  uint32_t block_size = 0;
};

// An archive of the given entries, built by the writer in memory.
Bytes BuildArchive(const std::vector<TestEntry>& entries);

// Reads and rewrites header fields of an archive in memory, fixing the
// checksums afterwards unless told not to.
class ArchiveEditor {
 public:
  explicit ArchiveEditor(Bytes& archive) : archive_(archive) {}
  ArchiveHeader Header() const;
  void SetHeader(const ArchiveHeader& header, bool fix_checksum = true);
  // The offset of the entry at `path`, from the directory.
  uint64_t EntryOffset(const std::u16string& path) const;
  uint64_t DirectoryOffset() const { return Header().directory_offset; }
  EntryHeader Entry(uint64_t offset) const;
  void SetEntry(uint64_t offset, const EntryHeader& header, bool fix_checksum = true);

 private:
  Bytes& archive_;
};

// Everything a stream delivers from its position to its size, in reads of
// `chunk` bytes; the code of the first failing Read, if any.
Result ReadToEnd(Stream& stream, Bytes& out, uint32_t chunk = 4096);

// A path in a fresh temporary folder, removed with the object.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  std::u16string Path(const std::u16string& name) const;
  std::string Utf8Path(const std::string& name) const;
  void WriteFile(const std::string& name, const Bytes& content) const;
  Bytes ReadFile(const std::string& name) const;

 private:
  std::string root_;
};

}  // namespace vorn::test

namespace vorn::test {

// The entries of the small archive that the Windows tests carry as their
// own RCDATA 4096 resource (tests/package/data/embedded.kelp), one of each
// method.
std::vector<TestEntry> EmbeddedTestEntries();

}  // namespace vorn::test
