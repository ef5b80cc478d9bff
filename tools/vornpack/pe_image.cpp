#include "pe_image.h"

#include "little_endian.h"

namespace vornpack {
namespace {

constexpr uint16_t kMagicPe32 = 0x10B;
constexpr uint16_t kMagicPe32Plus = 0x20B;
constexpr uint32_t kMaxDirectories = 16;

bool IsPowerOfTwo(uint32_t v) {
  return v != 0 && (v & (v - 1)) == 0;
}

Result Fail(std::string& error, const std::string& why) {
  error = why;
  return vorn::kInvalidContent;
}

// Field offsets inside the optional header that differ between PE32 and
// PE32+ (the 64-bit image base and stack sizes shift the tail).
struct OptionalLayout {
  uint32_t directory_count;
  uint32_t directories;
};

Result ParseSections(const uint8_t* data, uint64_t size, uint16_t count, PeImage& image,
                     std::string& error) {
  image.sections.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t at = image.section_table + i * kPeSectionHeaderSize;
    const uint8_t* h = data + at;
    PeSection s;
    size_t name_length = 0;
    while (name_length < 8 && h[name_length] != 0) ++name_length;
    s.name.assign(reinterpret_cast<const char*>(h), name_length);
    s.virtual_size = LoadU32(h + 8);
    s.virtual_address = LoadU32(h + 12);
    s.raw_size = LoadU32(h + 16);
    s.raw_offset = LoadU32(h + 20);
    s.characteristics = LoadU32(h + 36);
    s.header_offset = at;
    if (s.raw_size != 0 && static_cast<uint64_t>(s.raw_offset) + s.raw_size > size) {
      return Fail(error, "section " + s.name + " runs past the end of the file (truncated?)");
    }
    if (!image.sections.empty()) {
      const PeSection& previous = image.sections.back();
      if (s.virtual_address < previous.virtual_address + previous.MappedSize()) {
        return Fail(error, "sections " + previous.name + " and " + s.name +
                               " overlap or are out of address order");
      }
    }
    if (static_cast<uint64_t>(s.virtual_address) + s.MappedSize() > 0xFFFFFFFFull) {
      return Fail(error, "section " + s.name + " lies beyond the 32-bit address space");
    }
    image.sections.push_back(s);
  }
  return vorn::kOk;
}

}  // namespace

Result ParsePeImage(const uint8_t* data, uint64_t size, PeImage& image, std::string& error) {
  image = PeImage{};
  if (size < 64 || data[0] != 'M' || data[1] != 'Z') {
    return Fail(error, "not a Windows executable (no MZ header)");
  }
  const uint32_t pe = LoadU32(data + 0x3C);
  if (static_cast<uint64_t>(pe) + 24 > size || std::memcmp(data + pe, "PE\0\0", 4) != 0) {
    return Fail(error, "not a Windows executable (no PE signature)");
  }
  const uint8_t* coff = data + pe + 4;
  const uint16_t section_count = LoadU16(coff + 2);
  const uint16_t optional_size = LoadU16(coff + 16);
  const uint32_t optional = pe + 24;
  if (static_cast<uint64_t>(optional) + optional_size > size || optional_size < 2) {
    return Fail(error, "the optional header runs past the end of the file");
  }
  const uint16_t magic = LoadU16(data + optional);
  OptionalLayout layout;
  if (magic == kMagicPe32) {
    layout = {92, 96};
  } else if (magic == kMagicPe32Plus) {
    image.is_64_bit = true;
    layout = {108, 112};
  } else {
    return Fail(error, "unknown optional header (neither PE32 nor PE32+)");
  }
  if (optional_size < layout.directories) {
    return Fail(error, "the optional header is too short");
  }
  const uint8_t* o = data + optional;
  image.size_of_initialized_data = LoadU32(o + 8);
  image.section_alignment = LoadU32(o + 32);
  image.file_alignment = LoadU32(o + 36);
  image.size_of_image = LoadU32(o + 56);
  image.size_of_headers = LoadU32(o + 60);
  if (!IsPowerOfTwo(image.file_alignment) || !IsPowerOfTwo(image.section_alignment) ||
      image.section_alignment < image.file_alignment) {
    return Fail(error, "invalid file or section alignment");
  }
  uint32_t directory_count = LoadU32(o + layout.directory_count);
  if (directory_count > kMaxDirectories) directory_count = kMaxDirectories;
  if (layout.directories + directory_count * 8 > optional_size) {
    return Fail(error, "the data directories run past the optional header");
  }
  for (uint32_t i = 0; i < directory_count; ++i) {
    const uint8_t* d = o + layout.directories + i * 8;
    image.directories.push_back({LoadU32(d), LoadU32(d + 4)});
  }
  image.section_count_field = pe + 6;
  image.symbol_table_field = pe + 12;
  image.symbol_table_offset = LoadU32(coff + 8);
  image.symbol_count = LoadU32(coff + 12);
  image.size_of_initialized_data_field = optional + 8;
  image.size_of_image_field = optional + 56;
  image.checksum_field = optional + 64;
  image.directories_field = optional + layout.directories;
  image.section_table = optional + optional_size;
  if (static_cast<uint64_t>(image.section_table) + section_count * kPeSectionHeaderSize > size ||
      image.section_table + section_count * kPeSectionHeaderSize > image.size_of_headers ||
      image.size_of_headers > size) {
    return Fail(error, "the section table runs past the headers");
  }
  return ParseSections(data, size, section_count, image, error);
}

const PeSection* PeImage::SectionAt(uint32_t rva) const {
  for (const PeSection& s : sections) {
    if (rva >= s.virtual_address && rva - s.virtual_address < s.MappedSize()) return &s;
  }
  return nullptr;
}

bool PeImage::RvaToOffset(uint32_t rva, uint32_t length, uint64_t& offset) const {
  if (rva < size_of_headers && static_cast<uint64_t>(rva) + length <= size_of_headers &&
      (sections.empty() || rva < sections.front().virtual_address)) {
    offset = rva;
    return true;
  }
  const PeSection* s = SectionAt(rva);
  if (s == nullptr) return false;
  const uint64_t inside = rva - s->virtual_address;
  if (inside + length > s->raw_size) return false;  // not backed by file bytes
  offset = s->raw_offset + inside;
  return true;
}

uint64_t PeImage::RawEnd() const {
  uint64_t end = size_of_headers;
  for (const PeSection& s : sections) {
    if (s.raw_size != 0 && static_cast<uint64_t>(s.raw_offset) + s.raw_size > end) {
      end = static_cast<uint64_t>(s.raw_offset) + s.raw_size;
    }
  }
  return end;
}

}  // namespace vornpack
