#include "pe_resource_tree.h"

#include <algorithm>
#include <deque>
#include <set>

#include "little_endian.h"

namespace vornpack {
namespace {

constexpr uint32_t kHighBit = 0x80000000u;
constexpr int kMaxDepth = 8;                // real trees have three levels
constexpr uint32_t kMaxEntries = 1u << 20;  // far beyond any real executable

class TreeReader {
 public:
  TreeReader(const uint8_t* file, uint64_t size, const PeImage& image, uint32_t base)
      : file_(file), size_(size), image_(image), base_(base) {}

  Result Read(uint32_t offset, int depth, ResourceDirectory& directory, std::string& error) {
    if (depth > kMaxDepth) return Fail(error, "resource tree nested too deeply");
    if (!visited_.insert(offset).second) return Fail(error, "resource directory loop");
    const uint8_t* header = At(offset, 16);
    if (header == nullptr) return Fail(error, "resource directory outside the file");
    directory.characteristics = LoadU32(header);
    directory.time_date_stamp = LoadU32(header + 4);
    directory.major_version = LoadU16(header + 8);
    directory.minor_version = LoadU16(header + 10);
    const uint32_t count = static_cast<uint32_t>(LoadU16(header + 12)) + LoadU16(header + 14);
    total_entries_ += count;
    if (total_entries_ > kMaxEntries) return Fail(error, "resource tree too large");
    const uint8_t* rows = At(offset + 16, count * 8);
    if (rows == nullptr) return Fail(error, "resource directory entries outside the file");
    directory.entries.resize(count);
    for (uint32_t i = 0; i < count; ++i) {
      Result r = ReadEntry(rows + i * 8, depth, directory.entries[i], error);
      if (r != vorn::kOk) return r;
    }
    return vorn::kOk;
  }

 private:
  Result ReadEntry(const uint8_t* row, int depth, ResourceEntry& entry, std::string& error) {
    const uint32_t name = LoadU32(row);
    const uint32_t target = LoadU32(row + 4);
    if (name & kHighBit) {
      entry.is_named = true;
      const uint8_t* length = At(name & ~kHighBit, 2);
      if (length == nullptr) return Fail(error, "resource name outside the file");
      const uint32_t units = LoadU16(length);
      const uint8_t* text = At((name & ~kHighBit) + 2, units * 2);
      if (text == nullptr) return Fail(error, "resource name outside the file");
      for (uint32_t k = 0; k < units; ++k) entry.name.push_back(LoadU16(text + 2 * k));
    } else {
      entry.id = name;
    }
    if (target & kHighBit) {
      entry.directory = std::make_unique<ResourceDirectory>();
      return Read(target & ~kHighBit, depth + 1, *entry.directory, error);
    }
    const uint8_t* data_entry = At(target, 16);
    if (data_entry == nullptr) return Fail(error, "resource data entry outside the file");
    const uint32_t rva = LoadU32(data_entry);
    entry.data_size = LoadU32(data_entry + 4);
    entry.code_page = LoadU32(data_entry + 8);
    entry.reserved = LoadU32(data_entry + 12);
    if (!image_.RvaToOffset(rva, entry.data_size, entry.data_offset) ||
        entry.data_offset + entry.data_size > size_) {
      return Fail(error, "resource data outside the file");
    }
    return vorn::kOk;
  }

  // `length` bytes at `offset` into the resource directory, or null.
  const uint8_t* At(uint64_t offset, uint64_t length) {
    uint64_t file_offset = 0;
    if (base_ + offset > 0xFFFFFFFFull || length > 0xFFFFFFFFull ||
        !image_.RvaToOffset(static_cast<uint32_t>(base_ + offset), static_cast<uint32_t>(length),
                            file_offset) ||
        file_offset + length > size_) {
      return nullptr;
    }
    return file_ + file_offset;
  }

  static Result Fail(std::string& error, const char* why) {
    error = why;
    return vorn::kInvalidContent;
  }

  const uint8_t* file_;
  uint64_t size_;
  const PeImage& image_;
  uint32_t base_;
  std::set<uint32_t> visited_;
  uint32_t total_entries_ = 0;
};

// Named entries come first in the order the linker gave them (its sorting
// of names is kept as it was); id entries follow in ascending order, which
// the loader's binary search depends on.
void Normalise(ResourceDirectory& directory) {
  std::stable_partition(directory.entries.begin(), directory.entries.end(),
                        [](const ResourceEntry& e) { return e.is_named; });
  auto ids = std::find_if(directory.entries.begin(), directory.entries.end(),
                          [](const ResourceEntry& e) { return !e.is_named; });
  std::stable_sort(ids, directory.entries.end(),
                   [](const ResourceEntry& a, const ResourceEntry& b) { return a.id < b.id; });
}

ResourceEntry& FindOrInsertId(ResourceDirectory& directory, uint32_t id) {
  for (ResourceEntry& e : directory.entries) {
    if (!e.is_named && e.id == id) return e;
  }
  ResourceEntry entry;
  entry.id = id;
  directory.entries.push_back(std::move(entry));
  Normalise(directory);
  for (ResourceEntry& e : directory.entries) {
    if (!e.is_named && e.id == id) return e;
  }
  return directory.entries.back();  // not reached
}

const ResourceEntry* FindId(const ResourceDirectory& directory, uint32_t id) {
  for (const ResourceEntry& e : directory.entries) {
    if (!e.is_named && e.id == id) return &e;
  }
  return nullptr;
}

}  // namespace

Result ReadResourceTree(const uint8_t* file, uint64_t size, const PeImage& image,
                        ResourceDirectory& root, std::string& error) {
  root = ResourceDirectory{};
  const PeDataDirectory resources = image.Directory(kPeDirectoryResource);
  if (resources.address == 0 || resources.size == 0) return vorn::kOk;
  TreeReader reader(file, size, image, resources.address);
  Result r = reader.Read(0, 0, root, error);
  if (r != vorn::kOk) {
    root = ResourceDirectory{};
    error = "bad resource section: " + error;
  }
  return r;
}

void SetPackageResource(ResourceDirectory& root, uint64_t package_size) {
  ResourceEntry& type = FindOrInsertId(root, kResourceTypeRcData);
  if (!type.directory) type.directory = std::make_unique<ResourceDirectory>();
  ResourceEntry& name = FindOrInsertId(*type.directory, kPackageResourceId);
  // Every language of an earlier package goes: the one left is neutral, which
  // FindResourceW finds whatever the user's language.
  name.directory = std::make_unique<ResourceDirectory>();
  ResourceEntry language;
  language.id = 0;
  language.is_external = true;
  language.external_size = package_size;
  name.directory->entries.push_back(std::move(language));
}

const ResourceEntry* FindPackageResource(const ResourceDirectory& root) {
  const ResourceEntry* type = FindId(root, kResourceTypeRcData);
  if (type == nullptr || !type->directory) return nullptr;
  const ResourceEntry* name = FindId(*type->directory, kPackageResourceId);
  if (name == nullptr) return nullptr;
  if (!name->directory) return name;  // a two-level tree: take the leaf as it is
  for (const ResourceEntry& language : name->directory->entries) {
    if (!language.directory) return &language;
  }
  return nullptr;
}

Result WriteResourceSection(const ResourceDirectory& root, const uint8_t* file, uint32_t base_rva,
                            ResourceSection& section, std::string& error) {
  section = ResourceSection{};
  // Breadth-first order of directories; leaves and names in the order met.
  std::vector<const ResourceDirectory*> directories;
  std::vector<const ResourceEntry*> leaves;
  std::vector<const ResourceEntry*> named;
  std::deque<const ResourceDirectory*> queue{&root};
  while (!queue.empty()) {
    const ResourceDirectory* d = queue.front();
    queue.pop_front();
    directories.push_back(d);
    for (const ResourceEntry& e : d->entries) {
      if (e.is_named) named.push_back(&e);
      if (e.directory) {
        queue.push_back(e.directory.get());
      } else {
        leaves.push_back(&e);
      }
    }
  }
  uint64_t offset = 0;
  std::vector<uint64_t> directory_offsets;
  for (const ResourceDirectory* d : directories) {
    directory_offsets.push_back(offset);
    offset += 16 + 8 * d->entries.size();
  }
  std::vector<uint64_t> leaf_offsets;
  for (size_t i = 0; i < leaves.size(); ++i) {
    leaf_offsets.push_back(offset);
    offset += 16;
  }
  std::vector<uint64_t> name_offsets;
  for (const ResourceEntry* e : named) {
    name_offsets.push_back(offset);
    offset += 2 + 2 * e->name.size();
  }
  // Data: the stub's own first, then the external data, so that it ends the
  // section and can be streamed after the rest.
  std::vector<uint64_t> data_offsets(leaves.size());
  const ResourceEntry* external = nullptr;
  size_t external_index = 0;
  for (size_t i = 0; i < leaves.size(); ++i) {
    if (leaves[i]->is_external) {
      external = leaves[i];
      external_index = i;
      continue;
    }
    offset = AlignUp(offset, 8);
    data_offsets[i] = offset;
    offset += leaves[i]->data_size;
  }
  offset = AlignUp(offset, 8);
  const uint64_t head_size = offset;
  if (external != nullptr) {
    data_offsets[external_index] = offset;
    section.external_offset = offset;
    section.external_size = external->external_size;
    offset += external->external_size;
  }
  if (base_rva + offset > 0xFFFFFFFFull || (external && external->external_size > 0xFFFFFFFFull)) {
    error = "the package is too large to be addressed inside an executable";
    return vorn::kInvalidSize;
  }
  section.size = offset;
  std::vector<uint8_t>& out = section.bytes;
  out.assign(head_size, 0);

  size_t leaf_index = 0, name_index = 0, directory_index = 1;
  for (size_t k = 0; k < directories.size(); ++k) {
    const ResourceDirectory* d = directories[k];
    uint8_t* p = out.data() + directory_offsets[k];
    uint16_t named_count = 0;
    for (const ResourceEntry& e : d->entries) named_count += e.is_named ? 1 : 0;
    StoreU32(p, d->characteristics);
    StoreU32(p + 4, d->time_date_stamp);
    StoreU16(p + 8, d->major_version);
    StoreU16(p + 10, d->minor_version);
    StoreU16(p + 12, named_count);
    StoreU16(p + 14, static_cast<uint16_t>(d->entries.size() - named_count));
    p += 16;
    for (const ResourceEntry& e : d->entries) {
      StoreU32(p, e.is_named ? kHighBit | static_cast<uint32_t>(name_offsets[name_index++]) : e.id);
      if (e.directory) {
        StoreU32(p + 4, kHighBit | static_cast<uint32_t>(directory_offsets[directory_index++]));
      } else {
        StoreU32(p + 4, static_cast<uint32_t>(leaf_offsets[leaf_index++]));
      }
      p += 8;
    }
  }
  for (size_t i = 0; i < leaves.size(); ++i) {
    uint8_t* p = out.data() + leaf_offsets[i];
    const ResourceEntry* e = leaves[i];
    StoreU32(p, static_cast<uint32_t>(base_rva + data_offsets[i]));
    StoreU32(p + 4, static_cast<uint32_t>(e->is_external ? e->external_size : e->data_size));
    StoreU32(p + 8, e->code_page);
    StoreU32(p + 12, e->reserved);
    if (!e->is_external && e->data_size != 0) {
      std::memcpy(out.data() + data_offsets[i], file + e->data_offset, e->data_size);
    }
  }
  for (size_t i = 0; i < named.size(); ++i) {
    uint8_t* p = out.data() + name_offsets[i];
    StoreU16(p, static_cast<uint16_t>(named[i]->name.size()));
    for (size_t k = 0; k < named[i]->name.size(); ++k) StoreU16(p + 2 + 2 * k, named[i]->name[k]);
  }
  return vorn::kOk;
}

}  // namespace vornpack
