// The resource tree of a Windows executable (type, name and language
// directories down to data entries), read out of the image's resource
// section and written back as a new one. Data is never copied while the
// tree is edited: each leaf refers to its bytes in the original file, and
// one leaf may stand for data supplied later (the package, placed last so it
// can be streamed).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "foundation/result.h"
#include "pe_image.h"

namespace vornpack {

inline constexpr uint32_t kResourceTypeRcData = 10;
inline constexpr uint32_t kPackageResourceId = 4096;

struct ResourceDirectory;

struct ResourceEntry {
  bool is_named = false;
  uint32_t id = 0;                               // when not named
  std::u16string name;                           // when named
  std::unique_ptr<ResourceDirectory> directory;  // a subdirectory, or null for data
  // Data entry.
  uint64_t data_offset = 0;  // in the source file
  uint32_t data_size = 0;
  uint32_t code_page = 0;
  uint32_t reserved = 0;
  bool is_external = false;  // data supplied by the writer's caller (the package)
  uint64_t external_size = 0;
};

struct ResourceDirectory {
  uint32_t characteristics = 0;
  uint32_t time_date_stamp = 0;
  uint16_t major_version = 0;
  uint16_t minor_version = 0;
  std::vector<ResourceEntry> entries;  // named entries first, then ids ascending
};

// Reads the tree that the image's resource directory describes. An image
// without resources gives an empty root. Any reference outside the file,
// a loop or an absurd depth gives 33 with the reason.
Result ReadResourceTree(const uint8_t* file, uint64_t size, const PeImage& image,
                        ResourceDirectory& root, std::string& error);

// Makes RCDATA 4096 a single language-neutral entry of `package_size`
// external bytes, replacing any RCDATA 4096 the tree had (in any language).
void SetPackageResource(ResourceDirectory& root, uint64_t package_size);

// The leaf of RCDATA 4096 (its first language), or null.
const ResourceEntry* FindPackageResource(const ResourceDirectory& root);

// A resource section laid out for the address `base_rva`: `bytes` holds
// everything up to the external data, which belongs at `external_offset`;
// `size` is the section's whole content size.
struct ResourceSection {
  std::vector<uint8_t> bytes;
  uint64_t external_offset = 0;
  uint64_t external_size = 0;
  uint64_t size = 0;
};

// Serialises the tree: directories breadth first, then data entries, names
// and data (8-byte aligned), with the external data last. Copies leaf data
// from `file`. A section that cannot be addressed with 32-bit RVAs gives 40.
Result WriteResourceSection(const ResourceDirectory& root, const uint8_t* file, uint32_t base_rva,
                            ResourceSection& section, std::string& error);

}  // namespace vornpack
