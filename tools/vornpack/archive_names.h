// Names for the entries of an archive, which stores only path hashes: the
// data files every installer package has, the product files its own file
// list names, and whatever package paths its XML files mention (pictures,
// further XML documents), each hashed and matched against the directory.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "archive_walk.h"

namespace vornpack {

// The names every installer package may hold (its XML data files in each
// of the framework's languages).
std::vector<std::u16string> KnownPackageNames();

class ArchiveNames {
 public:
  void Resolve(const uint8_t* data, uint64_t size, const ArchiveLayout& layout);
  // The name of the row with `hash`, or null when nothing revealed it.
  const std::u16string* NameOf(uint32_t hash) const;
  size_t Count() const { return names_.size(); }

 private:
  void Consider(const std::u16string& candidate);
  void Harvest(const std::u16string& path, const uint8_t* data, uint64_t size,
               const ArchiveLayout& layout);

  std::map<uint32_t, uint64_t> rows_;  // hash -> entry offset
  std::map<uint32_t, std::u16string> names_;
  std::vector<std::u16string> pending_;
};

}  // namespace vornpack
