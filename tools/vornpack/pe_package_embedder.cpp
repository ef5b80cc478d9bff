#include "pe_package_embedder.h"

#include <algorithm>

#include "little_endian.h"
#include "pe_checksum.h"
#include "pe_image.h"
#include "pe_resource_tree.h"

namespace vornpack {
namespace {

constexpr uint32_t kSymbolRecordSize = 18;

struct ByteRange {
  uint64_t begin = 0;
  uint64_t end = 0;
  bool Contains(uint64_t at) const { return at >= begin && at < end; }
};

std::string Hex(uint64_t value) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text;
  do {
    text.insert(text.begin(), digits[value & 15]);
    value >>= 4;
  } while (value != 0);
  return "0x" + text;
}

Result Fail(std::string& error, const std::string& why, Result code = vorn::kInvalidContent) {
  error = why;
  return code;
}

// What lies after the last section: a certificate (dropped), a COFF symbol
// table with its string table (kept, moved behind the new section: long
// section names of unstripped images live there), zero padding (dropped).
// Anything else is somebody's appended payload that we could not place
// correctly, so it is refused rather than silently lost.
struct Overlay {
  ByteRange certificate;
  ByteRange symbols;
};

Result ClassifyOverlay(const uint8_t* stub, uint64_t size, const PeImage& image, Overlay& overlay,
                       std::string& error) {
  const uint64_t raw_end = image.RawEnd();
  const PeDataDirectory security = image.Directory(kPeDirectorySecurity);
  if (security.size != 0) {
    const uint64_t end = static_cast<uint64_t>(security.address) + security.size;
    if (security.address < raw_end || end > size) {
      return Fail(error,
                  "its certificate table is not where a certificate belongs (after the "
                  "last section, inside the file)");
    }
    overlay.certificate = {security.address, end};
  }
  if (image.symbol_table_offset != 0 && image.symbol_table_offset >= raw_end) {
    const uint64_t strings =
        image.symbol_table_offset + static_cast<uint64_t>(image.symbol_count) * kSymbolRecordSize;
    if (strings + 4 > size) return Fail(error, "its symbol table runs past the end of the file");
    uint64_t string_size = LoadU32(stub + strings);
    if (string_size < 4) string_size = 4;
    if (strings + string_size > size) {
      return Fail(error, "its symbol string table runs past the end of the file");
    }
    overlay.symbols = {image.symbol_table_offset, strings + string_size};
  }
  for (uint64_t at = raw_end; at < size; ++at) {
    if (overlay.certificate.Contains(at)) {
      at = overlay.certificate.end - 1;
    } else if (overlay.symbols.Contains(at)) {
      at = overlay.symbols.end - 1;
    } else if (stub[at] != 0) {
      return Fail(error, "it carries " + std::to_string(size - raw_end) +
                             " bytes of appended data after its last section (at offset " +
                             Hex(raw_end) + "); refusing to drop or misplace them");
    }
  }
  return vorn::kOk;
}

// The new section's place: over the old resource section when that is the
// image's last section and holds nothing else the image points at (the tree
// and its data are copied out of the original bytes first, so overwriting
// them is safe), else appended after the last.
struct Placement {
  bool in_place = false;
  uint32_t header_offset = 0;
  uint32_t virtual_address = 0;
  uint32_t raw_offset = 0;
  uint32_t replaced_raw_size = 0;
  uint64_t kept = 0;  // bytes of the stub copied before the section's padding
};

// The resource section, package included, starts on a page boundary of the
// file whenever the image's sections are page-aligned in memory. A loader
// that maps sections straight from the file (Wine does; Windows maps every
// image through the file cache) can then map the package lazily; at an
// offset that is not page-aligned, Wine reads the whole section, a package
// of any size, into memory before the program starts.
constexpr uint64_t kPageSize = 4096;

uint64_t SectionFileAlignment(const PeImage& image) {
  return image.section_alignment >= kPageSize && kPageSize % image.file_alignment == 0
             ? kPageSize
             : image.file_alignment;
}

uint32_t SectionEnd(const PeSection& s) {
  return s.virtual_address + (s.virtual_size != 0 ? s.virtual_size : s.raw_size);
}

bool CanReplaceInPlace(const PeImage& image) {
  if (image.sections.empty()) return false;
  const PeSection& last = image.sections.back();
  const PeDataDirectory resources = image.Directory(kPeDirectoryResource);
  if (resources.size == 0 || last.name != ".rsrc" || image.SectionAt(resources.address) != &last ||
      last.raw_size == 0 ||
      last.raw_offset + static_cast<uint64_t>(last.raw_size) != image.RawEnd()) {
    return false;
  }
  for (uint32_t i = 0; i < image.directories.size(); ++i) {
    if (i == kPeDirectoryResource || i == kPeDirectorySecurity) continue;
    const PeDataDirectory d = image.directories[i];
    if (d.size != 0 && d.address >= last.virtual_address && d.address < SectionEnd(last)) {
      return false;  // the section also holds other data the image needs
    }
  }
  return true;
}

Result PlaceSection(const uint8_t* stub, const PeImage& image, Placement& placement,
                    std::string& error) {
  if (CanReplaceInPlace(image)) {
    const PeSection& last = image.sections.back();
    const uint64_t raw_offset = AlignUp(last.raw_offset, SectionFileAlignment(image));
    if (raw_offset > 0xFFFFFFFFull) {
      return Fail(error, "it is too large to take another section", vorn::kInvalidSize);
    }
    placement = {true,          last.header_offset,
                 last.virtual_address, static_cast<uint32_t>(raw_offset),
                 last.raw_size, last.raw_offset};
    return vorn::kOk;
  }
  const uint32_t header = image.SectionTableEnd();
  uint64_t first_raw = image.size_of_headers;
  for (const PeSection& s : image.sections) {
    if (s.raw_size != 0) first_raw = std::min<uint64_t>(first_raw, s.raw_offset);
  }
  bool free = header + kPeSectionHeaderSize <= first_raw;
  for (uint32_t i = 0; free && i < kPeSectionHeaderSize; ++i) free = stub[header + i] == 0;
  if (!free) {
    return Fail(error,
                "it has no room for another section header (its headers are full before "
                "the first section's data)");
  }
  uint64_t virtual_address = AlignUp(image.size_of_headers, image.section_alignment);
  if (!image.sections.empty()) {
    virtual_address = AlignUp(SectionEnd(image.sections.back()), image.section_alignment);
  }
  const uint64_t raw_offset = AlignUp(image.RawEnd(), SectionFileAlignment(image));
  if (virtual_address > 0xFFFFFFFFull || raw_offset > 0xFFFFFFFFull) {
    return Fail(error, "it is too large to take another section", vorn::kInvalidSize);
  }
  placement = {false, header, static_cast<uint32_t>(virtual_address),
               static_cast<uint32_t>(raw_offset), 0, image.RawEnd()};
  return vorn::kOk;
}

void WriteSectionHeader(uint8_t* h, uint32_t virtual_size, uint32_t virtual_address,
                        uint32_t raw_size, uint32_t raw_offset) {
  std::memset(h, 0, kPeSectionHeaderSize);
  std::memcpy(h, ".rsrc", 5);
  StoreU32(h + 8, virtual_size);
  StoreU32(h + 12, virtual_address);
  StoreU32(h + 16, raw_size);
  StoreU32(h + 20, raw_offset);
  StoreU32(h + 36, kPeSectionInitializedData | kPeSectionMemoryRead);
}

}  // namespace

Result PlanPackageEmbedding(const uint8_t* stub, uint64_t stub_size, uint64_t package_size,
                            EmbeddingPlan& plan, std::string& error) {
  plan = EmbeddingPlan{};
  PeImage image;
  Result r = ParsePeImage(stub, stub_size, image, error);
  if (r != vorn::kOk) return r;
  if (image.directories.size() <= kPeDirectoryResource) {
    return Fail(error, "its optional header has no resource directory entry");
  }
  Overlay overlay;
  if ((r = ClassifyOverlay(stub, stub_size, image, overlay, error)) != vorn::kOk) return r;
  ResourceDirectory root;
  if ((r = ReadResourceTree(stub, stub_size, image, root, error)) != vorn::kOk) return r;
  SetPackageResource(root, package_size);
  Placement place;
  if ((r = PlaceSection(stub, image, place, error)) != vorn::kOk) return r;
  ResourceSection section;
  r = WriteResourceSection(root, stub, place.virtual_address, section, error);
  if (r != vorn::kOk) return r;

  const uint64_t raw_size = AlignUp(section.size, image.file_alignment);
  const uint64_t image_end = AlignUp(place.virtual_address + section.size, image.section_alignment);
  const uint64_t symbols_size = overlay.symbols.end - overlay.symbols.begin;
  if (image_end > 0x80000000ull || place.raw_offset + raw_size + symbols_size > 0xFFFFFFFFull) {
    return Fail(error, "the package is too large to be carried by an executable",
                vorn::kInvalidSize);
  }

  std::vector<uint8_t>& head = plan.head;
  head.assign(stub, stub + std::min(place.kept, stub_size));
  head.resize(place.raw_offset, 0);  // alignment padding before the new section
  WriteSectionHeader(head.data() + place.header_offset, static_cast<uint32_t>(section.size),
                     place.virtual_address, static_cast<uint32_t>(raw_size), place.raw_offset);
  if (!place.in_place) {
    StoreU16(head.data() + image.section_count_field,
             static_cast<uint16_t>(image.sections.size() + 1));
  }
  StoreU32(head.data() + image.size_of_image_field, static_cast<uint32_t>(image_end));
  StoreU32(
      head.data() + image.size_of_initialized_data_field,
      image.size_of_initialized_data + static_cast<uint32_t>(raw_size) - place.replaced_raw_size);
  uint8_t* directories = head.data() + image.directories_field;
  StoreU32(directories + 8 * kPeDirectoryResource, place.virtual_address);
  StoreU32(directories + 8 * kPeDirectoryResource + 4, static_cast<uint32_t>(section.size));
  if (overlay.certificate.end != 0) {
    StoreU32(directories + 8 * kPeDirectorySecurity, 0);
    StoreU32(directories + 8 * kPeDirectorySecurity + 4, 0);
    plan.notes.push_back(
        "the stub's signature (certificate table) was removed: sign the new executable again");
  }
  if (symbols_size != 0) {
    StoreU32(head.data() + image.symbol_table_field,
             static_cast<uint32_t>(place.raw_offset + raw_size));
  }
  StoreU32(head.data() + image.checksum_field, 0);
  plan.checksum_field = image.checksum_field;

  head.insert(head.end(), section.bytes.begin(), section.bytes.end());
  plan.package_size = section.external_size;
  plan.tail.assign(raw_size - section.size, 0);
  plan.tail.insert(plan.tail.end(), stub + overlay.symbols.begin, stub + overlay.symbols.end);
  return vorn::kOk;
}

Result EmbedPackage(const uint8_t* stub, uint64_t stub_size, const uint8_t* package,
                    uint64_t package_size, std::vector<uint8_t>& executable,
                    std::vector<std::string>& notes, std::string& error) {
  executable.clear();
  notes.clear();
  EmbeddingPlan plan;
  Result r = PlanPackageEmbedding(stub, stub_size, package_size, plan, error);
  if (r != vorn::kOk) return r;
  executable = std::move(plan.head);
  executable.insert(executable.end(), package, package + package_size);
  executable.insert(executable.end(), plan.tail.begin(), plan.tail.end());
  StoreU32(executable.data() + plan.checksum_field,
           ComputePeChecksum(executable.data(), executable.size(), plan.checksum_field));
  notes = std::move(plan.notes);
  return vorn::kOk;
}

}  // namespace vornpack
