#include "vornpack/support/test_pe.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace vornpack_test {
namespace {

void Put16(Bytes& b, size_t at, uint16_t v) {
  if (b.size() < at + 2) b.resize(at + 2);
  b[at] = v & 0xFF;
  b[at + 1] = v >> 8;
}
void Put32(Bytes& b, size_t at, uint32_t v) {
  if (b.size() < at + 4) b.resize(at + 4);
  for (int i = 0; i < 4; ++i) b[at + i] = (v >> (8 * i)) & 0xFF;
}
size_t Align(size_t v, size_t a) {
  return (v + a - 1) / a * a;
}

struct Key {
  bool named;
  uint32_t id;
  std::u16string name;
  bool operator<(const Key& o) const {
    if (named != o.named) return named;  // names first
    return named ? name < o.name : id < o.id;
  }
};

// A resource section at `rva`: data blobs first, then the directory tree
// written depth-first, names last.
Bytes BuildResourceSection(const std::vector<TestResource>& resources, uint32_t rva,
                           uint32_t& tree_offset) {
  Bytes out;
  std::vector<uint32_t> data_offsets;
  for (const TestResource& r : resources) {
    out.resize(Align(out.size(), 4));
    data_offsets.push_back(static_cast<uint32_t>(out.size()));
    out.insert(out.end(), r.data.begin(), r.data.end());
  }
  out.resize(Align(out.size(), 4));
  tree_offset = static_cast<uint32_t>(out.size());
  using Languages = std::map<uint32_t, size_t>;
  using Names = std::map<Key, Languages>;
  std::map<Key, Names> types;
  for (size_t i = 0; i < resources.size(); ++i) {
    const TestResource& r = resources[i];
    types[{r.type_named, r.type, r.type_name}][{r.named, r.id, r.name}][r.language] = i;
  }
  std::vector<std::pair<size_t, std::u16string>> name_fixups;  // entry offset, name
  auto directory = [&](size_t count_named, size_t count_ids) {
    size_t at = out.size();
    out.resize(at + 16 + 8 * (count_named + count_ids));
    Put16(out, at + 12, static_cast<uint16_t>(count_named));
    Put16(out, at + 14, static_cast<uint16_t>(count_ids));
    return at;
  };
  auto count_named = [](const auto& map) {
    size_t n = 0;
    for (const auto& kv : map) n += kv.first.named ? 1 : 0;
    return n;
  };
  auto set_name = [&](size_t entry, const Key& key) {
    if (key.named) {
      name_fixups.push_back({entry, key.name});
    } else {
      Put32(out, entry, key.id);
    }
  };
  size_t root = directory(count_named(types), types.size() - count_named(types));
  size_t t = 0;
  for (const auto& [type_key, names] : types) {
    size_t type_entry = root + 16 + 8 * t++;
    set_name(type_entry, type_key);
    size_t type_dir = directory(count_named(names), names.size() - count_named(names));
    Put32(out, type_entry + 4, 0x80000000u | static_cast<uint32_t>(type_dir - tree_offset));
    size_t n = 0;
    for (const auto& [name_key, languages] : names) {
      size_t name_entry = type_dir + 16 + 8 * n++;
      set_name(name_entry, name_key);
      size_t name_dir = directory(0, languages.size());
      Put32(out, name_entry + 4, 0x80000000u | static_cast<uint32_t>(name_dir - tree_offset));
      size_t l = 0;
      for (const auto& [language, index] : languages) {
        size_t language_entry = name_dir + 16 + 8 * l++;
        Put32(out, language_entry, language);
        size_t data_entry = out.size();
        out.resize(data_entry + 16);
        Put32(out, language_entry + 4, static_cast<uint32_t>(data_entry - tree_offset));
        Put32(out, data_entry, rva + data_offsets[index]);
        Put32(out, data_entry + 4, static_cast<uint32_t>(resources[index].data.size()));
        Put32(out, data_entry + 8, 1252);
      }
    }
  }
  for (const auto& [entry, name] : name_fixups) {
    size_t at = Align(out.size(), 2);
    out.resize(at);
    Put32(out, entry, 0x80000000u | static_cast<uint32_t>(at - tree_offset));
    Put16(out, at, static_cast<uint16_t>(name.size()));
    for (size_t k = 0; k < name.size(); ++k) Put16(out, at + 2 + 2 * k, name[k]);
  }
  return out;
}

struct Section {
  std::string name;
  Bytes data;
  uint32_t virtual_size;
  uint32_t characteristics;
};

}  // namespace

std::vector<TestResource> StandardResources() {
  std::vector<TestResource> r;
  r.push_back({false, 3, u"", false, 1, u"", 1033, PatternBytes(744, 1)});     // icon
  r.push_back({false, 14, u"", false, 1, u"", 1033, PatternBytes(20, 2)});     // group icon
  r.push_back({false, 24, u"", false, 1, u"", 1033, PatternBytes(381, 3)});    // manifest
  r.push_back({false, 16, u"", false, 1, u"", 1033, PatternBytes(812, 4)});    // version
  r.push_back({true, 0, u"MYTYPE", true, 0, u"ABC", 0, PatternBytes(33, 5)});  // named
  r.push_back({false, 10, u"", false, 5, u"", 0, PatternBytes(17, 6)});        // RCDATA 5
  return r;
}

Bytes PatternBytes(size_t size, uint32_t seed) {
  Bytes b(size);
  uint32_t x = seed * 2654435761u + 1;
  for (size_t i = 0; i < size; ++i) {
    x = x * 1103515245u + 12345u;
    b[i] = static_cast<uint8_t>(x >> 16);
  }
  return b;
}

Bytes BuildTestPe(const TestPeOptions& options) {
  const uint32_t file_alignment = 0x200, section_alignment = 0x1000;
  const uint32_t optional_size = options.pe32_plus ? 240 : 224;
  const uint32_t pe = 0x40;
  const uint32_t table = pe + 24 + optional_size;

  std::vector<Section> sections;
  sections.push_back({".text", PatternBytes(0x180, 7), 0x180, 0x60000020});
  std::vector<TestResource> resources;
  if (options.with_resources) resources = StandardResources();
  resources.insert(resources.end(), options.extra_resources.begin(), options.extra_resources.end());
  const bool has_rsrc = !resources.empty();
  size_t rsrc_index = 0, reloc_index = 0;
  auto add_reloc = [&] {
    reloc_index = sections.size();
    sections.push_back({".reloc", PatternBytes(0x20, 8), 0x20, 0x42000040});
  };
  auto add_rsrc = [&] {
    rsrc_index = sections.size();
    sections.push_back({".rsrc", {}, 0, 0x40000040});
  };
  if (options.headers_full) {
    while (table + 40 * (sections.size() + (has_rsrc ? 2 : 1)) + 40 <= file_alignment) {
      sections.push_back(
          {".d" + std::to_string(sections.size()), PatternBytes(16, 9), 16, 0x40000040});
    }
  }
  if (options.resources_last) {
    add_reloc();
    if (has_rsrc) add_rsrc();
  } else {
    if (has_rsrc) add_rsrc();
    add_reloc();
  }
  // Addresses, with the resource section built once its address is known.
  uint32_t va = section_alignment, raw = file_alignment;
  std::vector<uint32_t> vas, raws;
  uint32_t tree_offset = 0;
  for (size_t i = 0; i < sections.size(); ++i) {
    if (has_rsrc && i == rsrc_index) {
      sections[i].data = BuildResourceSection(resources, va, tree_offset);
      sections[i].virtual_size = static_cast<uint32_t>(sections[i].data.size());
    }
    vas.push_back(va);
    raws.push_back(raw);
    va += static_cast<uint32_t>(Align(sections[i].virtual_size, section_alignment));
    raw += static_cast<uint32_t>(Align(sections[i].data.size(), file_alignment));
  }
  Bytes b(raw, 0);
  b[0] = 'M';
  b[1] = 'Z';
  Put32(b, 0x3C, pe);
  std::memcpy(&b[pe], "PE\0\0", 4);
  Put16(b, pe + 4, options.pe32_plus ? 0x8664 : 0x14C);
  Put16(b, pe + 6, static_cast<uint16_t>(sections.size()));
  Put16(b, pe + 20, static_cast<uint16_t>(optional_size));
  Put16(b, pe + 22, options.pe32_plus ? 0x22 : 0x102);
  const uint32_t o = pe + 24;
  Put16(b, o, options.pe32_plus ? 0x20B : 0x10B);
  Put32(b, o + 16, vas[0]);  // entry point
  Put32(b, o + 32, section_alignment);
  Put32(b, o + 36, file_alignment);
  Put16(b, o + 40, 5);  // OS 5.1
  Put16(b, o + 42, 1);
  Put16(b, o + 48, 5);  // subsystem 5.1
  Put16(b, o + 50, 1);
  Put32(b, o + 56, va);
  Put32(b, o + 60, file_alignment);
  Put16(b, o + 68, 3);  // console
  uint32_t initialized = 0;
  for (size_t i = 1; i < sections.size(); ++i) {
    initialized += static_cast<uint32_t>(Align(sections[i].data.size(), file_alignment));
  }
  Put32(b, o + 8, initialized);
  const uint32_t directories = o + (options.pe32_plus ? 112 : 96);
  Put32(b, o + (options.pe32_plus ? 108 : 92), 16);
  if (options.pe32_plus) {
    Put32(b, o + 24, 0x40000000);  // image base, low half
  } else {
    Put32(b, o + 28, 0x400000);
  }
  if (has_rsrc) {
    Put32(b, directories + 16, vas[rsrc_index] + tree_offset);
    Put32(b, directories + 20,
          static_cast<uint32_t>(sections[rsrc_index].data.size()) - tree_offset);
  }
  Put32(b, directories + 40, vas[reloc_index]);
  Put32(b, directories + 44, sections[reloc_index].virtual_size);
  for (size_t i = 0; i < sections.size(); ++i) {
    const size_t h = table + 40 * i;
    std::memcpy(&b[h], sections[i].name.data(), std::min<size_t>(8, sections[i].name.size()));
    Put32(b, h + 8, sections[i].virtual_size);
    Put32(b, h + 12, vas[i]);
    Put32(b, h + 16, static_cast<uint32_t>(Align(sections[i].data.size(), file_alignment)));
    Put32(b, h + 20, raws[i]);
    Put32(b, h + 36, sections[i].characteristics);
    std::copy(sections[i].data.begin(), sections[i].data.end(), b.begin() + raws[i]);
  }
  if (options.symbols) {
    Put32(b, pe + 12, static_cast<uint32_t>(b.size()));
    Put32(b, pe + 16, 2);
    Bytes symbols = PatternBytes(36, 10);
    const char names[] = "long_section_name";
    Bytes strings(4 + sizeof(names));
    Put32(strings, 0, static_cast<uint32_t>(strings.size()));
    std::memcpy(&strings[4], names, sizeof(names));
    b.insert(b.end(), symbols.begin(), symbols.end());
    b.insert(b.end(), strings.begin(), strings.end());
  }
  if (options.certificate) {
    b.resize(Align(b.size(), 8), 0);
    const uint32_t at = static_cast<uint32_t>(b.size());
    Bytes certificate = PatternBytes(64, 11);
    Put32(certificate, 0, 64);
    Put16(certificate, 4, 0x200);
    Put16(certificate, 6, 2);
    b.insert(b.end(), certificate.begin(), certificate.end());
    Put32(b, directories + 32, at);
    Put32(b, directories + 36, 64);
  }
  b.insert(b.end(), options.overlay.begin(), options.overlay.end());
  return b;
}

uint32_t ReadU32(const Bytes& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t ReadU16(const Bytes& b, size_t at) {
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}
uint32_t PeHeaderOffset(const Bytes& pe) {
  return ReadU32(pe, 0x3C);
}

uint32_t ReferenceChecksum(const Bytes& pe) {
  const size_t field = PeHeaderOffset(pe) + 24 + 64;
  uint64_t sum = 0;
  for (size_t i = 0; i < pe.size(); i += 2) {
    uint32_t word = pe[i] | (i + 1 < pe.size() ? pe[i + 1] << 8 : 0);
    if (i == field || i == field + 2) word = 0;
    sum += word;
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<uint32_t>(sum + pe.size());
}

}  // namespace vornpack_test
