#include "application/file_type_registration.h"

#include "foundation/format.h"

namespace vorn {

String FileTypeProgId(const String& name, const String& extension) noexcept {
  return name + extension;
}

String AutoFileKey(const String& extension) noexcept {
  if (extension.IsEmpty()) return String(u"_auto_file");
  return extension.Tail(1) + u"_auto_file";
}

String FileTypeIcon(const String& program_path, int32_t icon_index) noexcept {
  return Format(u"\"{0}\",{1}", FormatArg(program_path), FormatArg(icon_index));
}

String OpenCommandText(const String& program_path, const String& command) noexcept {
  return u"\"" + program_path + u"\" " + command + u"\"%1\"";
}

}  // namespace vorn
