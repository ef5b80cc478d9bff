// The parts of a Windows executable (PE32 or PE32+) that rebuilding its
// resource section touches: the headers' field positions, the section table
// and the data directories. Parsing only reads; every field that the rebuild
// changes is recorded with its file offset so it can be patched in a copy.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/result.h"

namespace vornpack {

using vorn::Result;

enum PeDirectory : uint32_t {
  kPeDirectoryResource = 2,
  kPeDirectorySecurity = 4,
  kPeDirectoryBoundImport = 11,
};

inline constexpr uint32_t kPeSectionHeaderSize = 40;
inline constexpr uint32_t kPeSectionInitializedData = 0x00000040;
inline constexpr uint32_t kPeSectionMemoryRead = 0x40000000;

struct PeSection {
  std::string name;  // the 8-byte field without trailing zeros ("/4" for long names)
  uint32_t virtual_size = 0;
  uint32_t virtual_address = 0;
  uint32_t raw_size = 0;
  uint32_t raw_offset = 0;
  uint32_t characteristics = 0;
  uint32_t header_offset = 0;  // file offset of this section's 40-byte header

  // The mapped extent: the larger of the virtual and the raw size.
  uint32_t MappedSize() const { return virtual_size > raw_size ? virtual_size : raw_size; }
};

struct PeDataDirectory {
  uint32_t address = 0;  // an RVA, except for the security directory (a file offset)
  uint32_t size = 0;
};

struct PeImage {
  bool is_64_bit = false;
  uint32_t section_alignment = 0;
  uint32_t file_alignment = 0;
  uint32_t size_of_headers = 0;
  uint32_t size_of_image = 0;
  uint32_t size_of_initialized_data = 0;
  uint32_t symbol_table_offset = 0;  // COFF symbol table (unstripped images), or 0
  uint32_t symbol_count = 0;
  std::vector<PeSection> sections;
  std::vector<PeDataDirectory> directories;

  // File offsets of the fields that a rebuild patches.
  uint32_t section_count_field = 0;
  uint32_t symbol_table_field = 0;
  uint32_t size_of_initialized_data_field = 0;
  uint32_t size_of_image_field = 0;
  uint32_t checksum_field = 0;
  uint32_t directories_field = 0;  // the first data directory entry
  uint32_t section_table = 0;      // the first section header

  PeDataDirectory Directory(uint32_t index) const {
    return index < directories.size() ? directories[index] : PeDataDirectory{};
  }
  // File offset of `length` bytes at `rva`, all inside one section's raw
  // data (or the headers); false when they are not all backed by the file.
  bool RvaToOffset(uint32_t rva, uint32_t length, uint64_t& offset) const;
  // The section whose mapped extent holds `rva`, or null.
  const PeSection* SectionAt(uint32_t rva) const;
  // End of the last section's raw data: where an overlay would begin.
  uint64_t RawEnd() const;
  // End of the section table.
  uint32_t SectionTableEnd() const {
    return section_table + static_cast<uint32_t>(sections.size()) * kPeSectionHeaderSize;
  }
};

// Reads the headers of the `size` bytes at `data`. A file that is not a PE
// image, or whose headers or sections run past its end, gives 33 with the
// reason in `error`.
Result ParsePeImage(const uint8_t* data, uint64_t size, PeImage& image, std::string& error);

}  // namespace vornpack
