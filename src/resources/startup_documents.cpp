#include "resources/startup_documents.h"

#include "resources/resource_manager.h"

namespace vorn {

uint32_t RegisterDocuments(ResourceManager& manager, const char16_t* const* paths,
                           uint32_t count) noexcept {
  uint32_t registered = 0;
  for (uint32_t i = 0; paths && i < count; ++i) {
    if (manager.RegisterDocument(paths[i]) == kOk) ++registered;
  }
  return registered;
}

}  // namespace vorn
