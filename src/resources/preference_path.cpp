#include "resources/preference_path.h"

namespace vorn {
namespace {

struct Prefix {
  const char16_t* text;
  uint32_t length;
  uint32_t root;
  const char16_t* subkey;
};

const Prefix kPrefixes[] = {
    {u"/User/Global/", 13, kPreferenceUserRoot, u"Global"},
    {u"/User/Local/", 12, kPreferenceUserRoot, u"Local"},
    {u"/System/Global/", 15, kPreferenceMachineRoot, u"Global"},
    {u"/System/Local/", 14, kPreferenceMachineRoot, u"Local"},
};

bool StartsWith(const char16_t* text, uint32_t length, const Prefix& prefix) noexcept {
  if (length < prefix.length) return false;
  for (uint32_t i = 0; i < prefix.length; ++i) {
    if (text[i] != prefix.text[i]) return false;
  }
  return true;
}

// Maps path[0, length): rest is what follows the prefix, split at its last
// '/' when `with_value`; otherwise rest is a container path with a final '/'.
Result Map(const String& registry_root, const char16_t* path, uint32_t length, bool with_value,
           PreferenceLocation& location) noexcept {
  location = PreferenceLocation();
  const Prefix* prefix = nullptr;
  for (const Prefix& p : kPrefixes) {
    if (StartsWith(path, length, p)) prefix = &p;
  }
  if (!prefix) return kInvalidPath;
  const char16_t* rest = path + prefix->length;
  const uint32_t rest_length = length - prefix->length;
  // Empty segments would address keys the registry does not have.
  for (uint32_t i = 0; i < rest_length; ++i) {
    if (rest[i] == u'/' && (i == 0 || rest[i - 1] == u'/')) return kInvalidPath;
  }
  uint32_t key_length = rest_length;
  if (with_value) {
    uint32_t last = rest_length;
    while (last > 0 && rest[last - 1] != u'/') --last;
    if (last == rest_length) return kInvalidPath;  // no value name
    key_length = last ? last - 1 : 0;
    location.name = String(rest + last, rest_length - last);
  } else {
    key_length = rest_length > 0 ? rest_length - 1 : 0;  // the '/' the caller added
  }
  String key = registry_root + prefix->subkey;
  if (key_length > 0) {
    key += u'\\';
    String below(rest, key_length);
    below.Replace(u'/', u'\\');
    key += below;
  }
  location.root = prefix->root;
  location.key = key;
  return kOk;
}

}  // namespace

Result MapPreferencePath(const String& registry_root, const char16_t* path,
                         PreferenceLocation& location) noexcept {
  if (!path) {
    location = PreferenceLocation();
    return kInvalidPath;
  }
  return Map(registry_root, path, TextLength(path), true, location);
}

Result MapPreferenceContainer(const String& registry_root, const String& path,
                              PreferenceLocation& location) noexcept {
  // "/User/Global" is the prefix without its final '/'.
  const String with_slash = path + u'/';
  return Map(registry_root, with_slash.Text(), with_slash.Length(), false, location);
}

}  // namespace vorn
