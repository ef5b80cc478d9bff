// Generates "Data/Xml/FileList.xml", the installer's list of product files,
// from the files of the product folder, so that nobody writes sizes and
// dates by hand: a root "Resources" holding one "Files" element whose Path
// is the product folder's package path, nested "Files" per sub-folder, and
// "File" elements with Size and Date (the modification time, UTC, six
// fractional digits). Files come before sub-folders, each sorted by name.
#pragma once

#include <string>
#include <vector>

#include "foundation/date_time.h"
#include "source_tree.h"

namespace vornpack {

inline constexpr char16_t kFileListPath[] = u"Data/Xml/FileList.xml";

// `product_folder` is the package path of the product folder with its
// trailing "/" ("Product/"); the files outside it are ignored.
std::string GenerateFileListXml(const std::vector<SourceFile>& files,
                                const std::u16string& product_folder);

// "2016-01-17T10:20:30.000000Z".
std::string IsoUtcText(vorn::DateTime time);

}  // namespace vornpack
