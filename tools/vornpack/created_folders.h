// Folders a command creates for its output, removed again (deepest first)
// when the command fails, so that a failed run leaves no empty tree behind.
#pragma once

#include <string>
#include <vector>

#include "foundation/result.h"

namespace vornpack {

class CreatedFolders {
 public:
  // Creates `folder` (ending with a separator) and its missing parents,
  // remembering those that did not exist.
  vorn::Result Ensure(const std::u16string& folder, std::string& error);
  // Removes the remembered folders that are empty again.
  void RemoveAll();

 private:
  std::vector<std::u16string> created_;  // with trailing separators, parents first
};

}  // namespace vornpack
