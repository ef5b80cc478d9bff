#include "pe_package_locator.h"

#include "pe_image.h"
#include "pe_resource_tree.h"

namespace vornpack {

bool LooksLikeExecutable(const uint8_t* data, uint64_t size) {
  return size >= 2 && data[0] == 'M' && data[1] == 'Z';
}

Result LocatePackageResource(const uint8_t* file, uint64_t size, uint64_t& offset, uint64_t& length,
                             std::string& error) {
  offset = 0;
  length = 0;
  PeImage image;
  Result r = ParsePeImage(file, size, image, error);
  if (r != vorn::kOk) return r;
  ResourceDirectory root;
  if ((r = ReadResourceTree(file, size, image, root, error)) != vorn::kOk) return r;
  const ResourceEntry* package = FindPackageResource(root);
  if (package == nullptr) {
    error = "the executable carries no package (no resource RCDATA 4096)";
    return vorn::kNotFound;
  }
  offset = package->data_offset;
  length = package->data_size;
  return vorn::kOk;
}

}  // namespace vornpack
