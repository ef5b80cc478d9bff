#include "package_path.h"

namespace vornpack {

vorn::Result CheckPackagePath(const std::u16string& path, std::string& reason) {
  reason.clear();
  if (path.empty()) {
    reason = "the path is empty";
  } else if (path.front() == u'/') {
    reason = "it begins with \"/\" (package paths are relative to the package root)";
  } else if (path.find(u'\\') != std::u16string::npos) {
    reason = "it contains \"\\\" (package paths use \"/\")";
  } else if (path.find(u':') != std::u16string::npos) {
    reason = "it contains \":\"";
  } else {
    size_t start = 0;
    while (reason.empty()) {
      const size_t end = path.find(u'/', start);
      const std::u16string segment =
          path.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start);
      if (segment.empty()) {
        reason = "it has an empty segment (\"//\" or a trailing \"/\")";
      } else if (segment == u"." || segment == u"..") {
        reason = "it has a \".\" or \"..\" segment";
      } else {
        for (char16_t unit : segment) {
          if (unit < 0x20) {
            reason = "it contains a control character";
            break;
          }
        }
      }
      if (end == std::u16string::npos) break;
      start = end + 1;
    }
  }
  return reason.empty() ? vorn::kOk : vorn::kInvalidPath;
}

}  // namespace vornpack
