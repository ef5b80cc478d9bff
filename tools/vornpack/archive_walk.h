// The structure of a package archive, read directly from its bytes rather
// than through the installer's reader, so that every fault can be named:
// the header and its checksum, each entry header and its checksum in file
// order, and the directory rows. Decoding an entry goes through the
// framework's decoding streams, exactly as the installer does it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "foundation/result.h"
#include "package/package_archive.h"
#include "package/package_format.h"

namespace vornpack {

using vorn::Result;

struct WalkedEntry {
  uint64_t offset = 0;  // of its header
  vorn::EntryHeader header;
  bool is_directory = false;
};

struct ArchiveLayout {
  vorn::ArchiveHeader header;
  std::vector<WalkedEntry> entries;  // in file order, the directory included
  std::vector<vorn::DirectoryRow> rows;
  const WalkedEntry* directory = nullptr;
  // The entry whose header starts at `offset`, or null.
  const WalkedEntry* EntryAt(uint64_t offset) const;
};

// Reads the archive header, walks the entries and decodes the directory.
// The first fault stops the walk: 33 bad magic, 32 a checksum mismatch, 3 an
// unsupported header or method, 22 an entry or directory that does not fit,
// with the offset in `error`.
Result WalkArchive(const uint8_t* data, uint64_t size, ArchiveLayout& layout, std::string& error);

// Checks what the walk alone does not: rows sorted without duplicates and
// pointing at entry headers, no entry left out. Faults go to `problems`
// (which the directory makes unreadable or the archive wrong), oddities to
// `warnings` (harmless for the installer).
void CheckDirectory(const ArchiveLayout& layout, std::vector<std::string>& problems,
                    std::vector<std::string>& warnings);

// Decodes the entry whose header is at `entry.offset`, handing the content
// to `sink` in pieces; the decoder's code on corrupt data (with `error`).
using ContentSink = std::function<Result(const uint8_t* data, uint32_t size)>;
Result DecodeEntry(const uint8_t* data, uint64_t size, const WalkedEntry& entry,
                   const ContentSink& sink, std::string& error);

// The whole content of an entry in memory.
Result ReadEntry(const uint8_t* data, uint64_t size, const WalkedEntry& entry,
                 std::vector<uint8_t>& content, std::string& error);

const char* MethodName(uint16_t method);

}  // namespace vornpack
