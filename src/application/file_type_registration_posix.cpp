#include "application/application_core.h"
#include "application/file_type_registration.h"
#include "resources/resource_manager.h"

namespace vorn {

FileTypeOwner ProcessFileTypeOwner() noexcept {
  FileTypeOwner owner;
  owner.resources = &ResourceManager::Instance();
  owner.program_path = ApplicationCore::Get().ProgramPath();
  owner.name = ApplicationCore::Get().Description().name;
  return owner;
}

// The shell's registry exists only on Windows.
Result RegisterFileTypes(bool, bool) noexcept {
  return kNotSupported;
}
Result RegisterFileTypes(const FileTypeOwner&, bool, bool) noexcept {
  return kNotSupported;
}

}  // namespace vorn
