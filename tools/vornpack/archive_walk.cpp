#include "archive_walk.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "little_endian.h"
#include "package/lzh_stream.h"
#include "package/lzma_stream.h"
#include "package/lzo_stream.h"
#include "package/memory_stream.h"
#include "tool_text.h"

namespace vornpack {
namespace {

constexpr uint32_t kDecodeChunk = 1u << 20;

std::string At(uint64_t offset) {
  return "at offset " + std::to_string(offset);
}

Result Fail(std::string& error, Result code, const std::string& why) {
  error = why;
  return code;
}

Result CheckHeader(const uint8_t* data, uint64_t size, vorn::ArchiveHeader& header,
                   std::string& error) {
  if (size < vorn::kArchiveHeaderSize) {
    return Fail(error, vorn::kInvalidSize, "too short for an archive header");
  }
  if (std::memcmp(data, vorn::kArchiveMagic, vorn::kMagicSize) != 0) {
    return Fail(error, vorn::kInvalidContent, "bad magic (not \"KelpFiLe\" 1A 00)");
  }
  vorn::DecodeArchiveHeader(data, header);
  if (vorn::ArchiveHeaderChecksum(data) != header.checksum) {
    return Fail(error, vorn::kInvalidState, "archive header checksum mismatch");
  }
  if (header.layout != vorn::kLayoutIdentifier || header.record_type != vorn::kArchiveRecordType ||
      header.flags != vorn::kArchiveRecordFlags || header.format_version > vorn::kFormatVersion) {
    return Fail(error, vorn::kBadFormat, "unsupported archive header (layout, type or version)");
  }
  if (header.archive_size != size) {
    return Fail(error, vorn::kInvalidSize,
                "the header gives an archive size of " + std::to_string(header.archive_size) +
                    " bytes, but " + std::to_string(size) + " are there");
  }
  if (header.directory_offset == 0) {
    return Fail(error, vorn::kInvalidState, "the header has no directory offset");
  }
  return vorn::kOk;
}

Result WalkEntries(const uint8_t* data, uint64_t size, ArchiveLayout& layout, std::string& error) {
  for (uint64_t offset = vorn::kArchiveHeaderSize; offset < size;) {
    if (size - offset < vorn::kEntryHeaderSize) {
      return Fail(error, vorn::kCorruptData, "a truncated entry header " + At(offset));
    }
    WalkedEntry entry;
    entry.offset = offset;
    vorn::DecodeEntryHeader(data + offset, entry.header);
    if (vorn::EntryHeaderChecksum(data + offset) != entry.header.checksum) {
      return Fail(error, vorn::kInvalidState, "entry header checksum mismatch " + At(offset));
    }
    const uint16_t method = entry.header.method & vorn::kMethodMask;
    if (method > vorn::kMethodLzma2) {
      return Fail(error, vorn::kBadFormat,
                  "unsupported method " + std::to_string(method) + " of the entry " + At(offset));
    }
    const uint64_t room = size - offset - vorn::kEntryHeaderSize;
    if (entry.header.packed_size > room) {
      return Fail(error, vorn::kCorruptData,
                  "the entry " + At(offset) + " runs past the end of the archive");
    }
    if (method == vorn::kMethodStored && entry.header.packed_size != entry.header.unpacked_size) {
      return Fail(error, vorn::kCorruptData,
                  "the stored entry " + At(offset) + " has different packed and unpacked sizes");
    }
    entry.is_directory = offset == layout.header.directory_offset;
    layout.entries.push_back(entry);
    offset += vorn::kEntryHeaderSize + entry.header.packed_size;
  }
  return vorn::kOk;
}

std::unique_ptr<vorn::Stream> NewDecoder(uint16_t method) {
  switch (method) {
    case vorn::kMethodDeflate:
      return std::make_unique<vorn::LZHStream>();
    case vorn::kMethodLzo:
      return std::make_unique<vorn::LZOStream>();
    case vorn::kMethodLzma:
    case vorn::kMethodPpmd:
    case vorn::kMethodLzma2:
      return std::make_unique<vorn::LZMAStream>(static_cast<vorn::PackMethod>(method));
    default:
      return nullptr;
  }
}

}  // namespace

const WalkedEntry* ArchiveLayout::EntryAt(uint64_t offset) const {
  auto it = std::lower_bound(entries.begin(), entries.end(), offset,
                             [](const WalkedEntry& e, uint64_t o) { return e.offset < o; });
  return it != entries.end() && it->offset == offset ? &*it : nullptr;
}

const char* MethodName(uint16_t method) {
  static const char* const kNames[] = {"stored", "deflate", "LZO", "LZMA",
                                       "PPMd",   "LZMA2",   "?",   "?"};
  return kNames[method & vorn::kMethodMask];
}

Result DecodeEntry(const uint8_t* data, uint64_t size, const WalkedEntry& entry,
                   const ContentSink& sink, std::string& error) {
  const uint64_t start = entry.offset + vorn::kEntryHeaderSize;
  const uint16_t method = entry.header.method & vorn::kMethodMask;
  const uint64_t unpacked = entry.header.unpacked_size;
  if (method == vorn::kMethodStored) {
    for (uint64_t done = 0; done < unpacked;) {
      const uint32_t part =
          static_cast<uint32_t>(std::min<uint64_t>(unpacked - done, kDecodeChunk));
      Result r = sink(data + start + done, part);
      if (r != vorn::kOk) return r;
      done += part;
    }
    return vorn::kOk;
  }
  vorn::MemoryStream source(data, size);
  std::unique_ptr<vorn::Stream> decoder = NewDecoder(method);
  if (!decoder) return Fail(error, vorn::kBadFormat, "unsupported method");
  Result r = source.Seek(start);
  if (r == vorn::kOk) {
    if (method == vorn::kMethodDeflate) {
      r = static_cast<vorn::LZHStream*>(decoder.get())
              ->Init(&source, entry.header.packed_size, unpacked);
    } else {
      r = static_cast<vorn::BlockStream*>(decoder.get())
              ->Init(&source, entry.header.packed_size, unpacked);
    }
  }
  if (r != vorn::kOk) {
    return Fail(error, r,
                std::string(MethodName(method)) + " data of the entry " + At(entry.offset) +
                    " cannot be opened (error " + std::to_string(r) + ")");
  }
  std::vector<uint8_t> chunk(std::min<uint64_t>(unpacked, kDecodeChunk));
  for (uint64_t done = 0; done < unpacked;) {
    const uint32_t part = static_cast<uint32_t>(std::min<uint64_t>(unpacked - done, kDecodeChunk));
    if ((r = decoder->Read(chunk.data(), part)) != vorn::kOk) {
      return Fail(error, r,
                  std::string(MethodName(method)) + " data of the entry " + At(entry.offset) +
                      " is corrupt after " + std::to_string(done) + " bytes (error " +
                      std::to_string(r) + ")");
    }
    if ((r = sink(chunk.data(), part)) != vorn::kOk) return r;
    done += part;
  }
  return vorn::kOk;
}

Result ReadEntry(const uint8_t* data, uint64_t size, const WalkedEntry& entry,
                 std::vector<uint8_t>& content, std::string& error) {
  content.clear();
  if (entry.header.unpacked_size > (uint64_t{1} << 31)) {
    return Fail(error, vorn::kInvalidSize, "the entry " + At(entry.offset) + " is too large");
  }
  content.reserve(static_cast<size_t>(entry.header.unpacked_size));
  Result r = DecodeEntry(
      data, size, entry,
      [&](const uint8_t* piece, uint32_t n) {
        content.insert(content.end(), piece, piece + n);
        return vorn::kOk;
      },
      error);
  if (r != vorn::kOk) content.clear();
  return r;
}

Result WalkArchive(const uint8_t* data, uint64_t size, ArchiveLayout& layout, std::string& error) {
  layout = ArchiveLayout{};
  Result r = CheckHeader(data, size, layout.header, error);
  if (r == vorn::kOk) r = WalkEntries(data, size, layout, error);
  if (r == vorn::kOk) {
    layout.directory = layout.EntryAt(layout.header.directory_offset);
    if (layout.directory == nullptr) {
      r = Fail(error, vorn::kCorruptData,
               "the directory offset " + std::to_string(layout.header.directory_offset) +
                   " is not the start of an entry");
    }
  }
  std::vector<uint8_t> table;
  if (r == vorn::kOk && (r = ReadEntry(data, size, *layout.directory, table, error)) != vorn::kOk) {
    error = "the directory: " + error;
  }
  if (r != vorn::kOk) {
    layout = ArchiveLayout{};
    return r;
  }
  for (size_t i = 0; i + vorn::kDirectoryRowSize <= table.size(); i += vorn::kDirectoryRowSize) {
    layout.rows.push_back({LoadU32(&table[i]), LoadU32(&table[i + 4])});
  }
  return vorn::kOk;
}

void CheckDirectory(const ArchiveLayout& layout, std::vector<std::string>& problems,
                    std::vector<std::string>& warnings) {
  std::vector<bool> listed(layout.entries.size(), false);
  for (size_t i = 0; i < layout.rows.size(); ++i) {
    const vorn::DirectoryRow& row = layout.rows[i];
    if (i > 0 && row.hash <= layout.rows[i - 1].hash) {
      problems.push_back(row.hash == layout.rows[i - 1].hash
                             ? "directory rows " + std::to_string(i - 1) + " and " +
                                   std::to_string(i) + " have the same hash " + Hex8(row.hash)
                             : "directory row " + std::to_string(i) +
                                   " is out of order (the installer's lookup would miss entries)");
    }
    const WalkedEntry* entry = layout.EntryAt(row.offset);
    if (entry == nullptr || entry->is_directory) {
      problems.push_back("directory row " + std::to_string(i) + " (hash " + Hex8(row.hash) +
                         ") points at offset " + std::to_string(row.offset) +
                         ", which is not the start of a file entry");
      continue;
    }
    listed[entry - layout.entries.data()] = true;
  }
  for (size_t i = 0; i < layout.entries.size(); ++i) {
    if (!listed[i] && !layout.entries[i].is_directory) {
      warnings.push_back("the entry at offset " + std::to_string(layout.entries[i].offset) +
                         " is in no directory row (nobody can open it)");
    }
  }
  if (layout.directory != &layout.entries.back()) {
    warnings.push_back("the directory is not the archive's last entry");
  }
}

}  // namespace vornpack
