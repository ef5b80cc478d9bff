// Turns a package's source folder into the list of entries to pack: every
// file with its package path and method, the generated file list when one
// is asked for, all sorted by package path. Everything that would make a
// broken package is refused here, before a byte is written: a path the
// archive cannot hold, two paths with the same path hash (one would hide
// the other), malformed XML in the installer's data.
#pragma once

#include <string>
#include <vector>

#include "method_rules.h"
#include "package_builder.h"

namespace vornpack {

struct PlanOptions {
  std::u16string source_folder;
  MethodRules methods;
  bool generate_file_list = false;
  std::u16string product_folder;         // as given; relative to the working or source folder
  std::vector<std::u16string> excluded;  // disk paths to leave out (the output)
};

Result PlanPackage(const PlanOptions& options, std::vector<PackageInput>& inputs,
                   std::vector<std::string>& warnings, std::string& error);

// The package path ("Product/") of the product folder given as a path
// relative to the working folder or to the source folder; it must name a
// folder strictly inside the source folder.
Result ProductFolderPath(const std::u16string& source_folder, const std::u16string& product_folder,
                         std::u16string& package_folder, std::string& error);

// Two inputs whose paths share a hash: 14, naming both.
Result CheckPathHashes(const std::vector<PackageInput>& inputs, std::string& error);

// The installer parses the XML files of its data folder: each must be
// well-formed for the framework's parser. 0, or the parser's code with the
// file, line and column in `error`.
Result CheckXml(const PackageInput& input, std::string& error);

}  // namespace vornpack
