// Checks a package folder before it is packed, finding what would only show
// once the installer runs: XML that does not parse, "#Key" texts missing in
// a language, a configuration lacking what the installer needs, a product
// executable that is not among the product files, pictures that are missing
// or do not decode, and window descriptions with element names or values the
// toolkit does not know. Every problem is reported with the file, line and
// column it is about.
#pragma once

#include <string>
#include <vector>

#include "xml_source.h"

namespace vornpack {

struct PackageProblem {
  std::string file;  // the file's path on disk, as reached from the folder given
  SourcePosition where;
  std::string message;
};

struct PackageCheck {
  std::u16string folder;
  // The product folder (as for `build --file-list`); empty: the root "Files"
  // path of Data/Xml/FileList.xml when the folder has one, else "Product/".
  std::u16string product_folder;
};

// The languages every text must exist in.
inline constexpr const char* kPackageLanguages[] = {"en", "fr", "it", "zh"};

// Fills `problems` in file order; empty when the folder is fit to pack.
void CheckPackageFolder(const PackageCheck& check, std::vector<PackageProblem>& problems);

// "FILE:LINE:COLUMN: message".
std::string FormatProblem(const PackageProblem& problem);

}  // namespace vornpack
