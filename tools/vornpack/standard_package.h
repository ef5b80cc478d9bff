// The installer's standard package (window and page descriptions, default
// preferences, the installer's and the framework's texts, the pictures), as
// the build found it: carried inside the tool so that `vornpack init` needs
// nothing but the program.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vornpack {

struct EmbeddedFile {
  const char* package_path;  // "Data/Xml/Dialogs.xml"
  const uint8_t* data;
  size_t size;
};

// Sorted by package path; `count` may be 0 in a build that had none.
const EmbeddedFile* StandardPackageFiles(size_t& count);

}  // namespace vornpack
