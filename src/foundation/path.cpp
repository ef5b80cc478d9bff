#include "foundation/path.h"

namespace vorn {
namespace path {
namespace {

// Index of the last separator, or -1.
int64_t LastSeparator(const String& path) noexcept {
  for (uint32_t i = path.Length(); i > 0; --i) {
    if (IsSeparator(path[i - 1])) return static_cast<int64_t>(i) - 1;
  }
  return -1;
}

uint32_t FileNameStart(const String& path) noexcept {
  return static_cast<uint32_t>(LastSeparator(path) + 1);
}

bool IsAsciiLetter(char16_t unit) noexcept {
  return (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z');
}

bool IsForbiddenUnit(char16_t unit) noexcept {
  // A 0 unit would end the path early when it is handed to the system, which
  // would then act on a different (shorter) path.
  return unit == u'"' || unit == u'*' || unit == u'<' || unit == u'>' || unit == u'?' ||
         unit == u'|' || unit == 0;
}

String FolderComparisonForm(const String& path) noexcept {
  String form = path.ToLower();
  form.Trim();
  form.Replace(u'\\', u'/');
  return form;
}

}  // namespace

String NormalizeSeparators(const String& path) noexcept {
  String result = path;
  result.Trim();
  for (uint32_t i = 0; i < result.Length(); ++i) {
    const char16_t unit = result[i];
    if (IsSeparator(unit)) {
      result.Replace(unit == u'/' ? u'\\' : u'/', unit);
      break;
    }
  }
  return result;
}

String FileName(const String& path) noexcept {
  return path.Tail(FileNameStart(path));
}

String FileNameWithoutExtension(const String& path) noexcept {
  const uint32_t start = FileNameStart(path);
  uint32_t end = start;
  while (end < path.Length() && path[end] != u'.') ++end;
  return path.Middle(start, end - start);
}

String FolderPart(const String& path) noexcept {
  return path.Left(FileNameStart(path));
}

uint32_t ExtensionIndex(const String& path) noexcept {
  for (uint32_t i = FileNameStart(path); i < path.Length(); ++i) {
    if (path[i] == u'.') return i;
  }
  return path.Length();
}

bool EndsWithSeparator(const String& path) noexcept {
  return !path.IsEmpty() && IsSeparator(path[path.Length() - 1]);
}

bool IsRelative(const String& path) noexcept {
  if (path.IsEmpty()) return true;
  if (IsSeparator(path[0])) return false;
  return !(path.Length() >= 2 && IsAsciiLetter(path[0]) && path[1] == u':');
}

bool IsDriveRelative(const String& path) noexcept {
  return path.Length() >= 2 && IsAsciiLetter(path[0]) && path[1] == u':' &&
         (path.Length() == 2 || !IsSeparator(path[2]));
}

bool IsValid(const String& path) noexcept {
  if (path.IsEmpty()) return false;
  for (uint32_t i = 0; i < path.Length(); ++i) {
    const char16_t unit = path[i];
    if (IsForbiddenUnit(unit)) return false;
    if (unit == u':' && !(i == 1 && IsAsciiLetter(path[0]))) return false;
    if (i > 0 && IsSeparator(unit) && IsSeparator(path[i - 1])) return false;
  }
  return true;
}

bool SameFolder(const String& a, const String& b) noexcept {
  return FolderComparisonForm(a) == FolderComparisonForm(b);
}

String WithTrailingSeparator(const String& path) noexcept {
  if (EndsWithSeparator(path)) return path;
  return path + (path.Find(u'\\') >= 0 ? u'\\' : u'/');
}

}  // namespace path
}  // namespace vorn
