// Preferences in the registry, through the registry key object: it opens
// the current user's own hive, reopens read-only when full access is
// refused and creates missing keys on writes.
#include "foundation/registry_key.h"
#include "resources/preference_store.h"

namespace vorn {
namespace {

class RegistryPreferenceStore final : public PreferenceStore {
 public:
  Result ReadDword(const PreferenceLocation& location, uint32_t& value) noexcept override {
    value = 0;
    RegistryKey key;
    if (Result r = key.SetRoot(location.root, location.key.Text()); r != kOk) return r;
    int32_t number = 0;
    const Result r = key.ReadInt32(location.name.Text(), number);
    if (r == kOk) value = static_cast<uint32_t>(number);
    return r;
  }

  Result ReadText(const PreferenceLocation& location, String& value) noexcept override {
    value = String();
    RegistryKey key;
    if (Result r = key.SetRoot(location.root, location.key.Text()); r != kOk) return r;
    return key.ReadText(location.name.Text(), value);
  }

  bool KeyExists(uint32_t root, const String& path) noexcept override {
    RegistryKey key;
    return key.SetRoot(root, path.Text()) == kOk && key.Open(false) == kOk;
  }

  Result WriteDword(const PreferenceLocation& location, uint32_t value) noexcept override {
    RegistryKey key;
    if (Result r = key.SetRoot(location.root, location.key.Text()); r != kOk) return r;
    return key.WriteInt32(location.name.Text(), static_cast<int32_t>(value));
  }

  Result WriteQword(const PreferenceLocation& location, uint64_t value) noexcept override {
    RegistryKey key;
    if (Result r = key.SetRoot(location.root, location.key.Text()); r != kOk) return r;
    return key.WriteInt64(location.name.Text(), static_cast<int64_t>(value));
  }

  Result WriteText(const PreferenceLocation& location, const String& value) noexcept override {
    RegistryKey key;
    if (Result r = key.SetRoot(location.root, location.key.Text()); r != kOk) return r;
    return key.WriteText(location.name.Text(), value.Text());
  }

  Result DeleteSubkey(uint32_t root, const String& path, const String& subkey) noexcept override {
    RegistryKey key;
    if (Result r = key.SetRoot(root, path.Text()); r != kOk) return r;
    return key.DeleteSubkey(subkey.Text());
  }
};

}  // namespace

PreferenceStore& SystemPreferenceStore() noexcept {
  static RegistryPreferenceStore store;
  return store;
}

}  // namespace vorn
