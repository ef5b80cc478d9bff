#include "resources/preference_store.h"

namespace vorn {
namespace {

class NoPreferenceStore final : public PreferenceStore {
 public:
  Result ReadDword(const PreferenceLocation&, uint32_t& value) noexcept override {
    value = 0;
    return kNotSupported;
  }
  Result ReadText(const PreferenceLocation&, String& value) noexcept override {
    value = String();
    return kNotSupported;
  }
  bool KeyExists(uint32_t, const String&) noexcept override { return false; }
  Result WriteDword(const PreferenceLocation&, uint32_t) noexcept override { return kNotSupported; }
  Result WriteQword(const PreferenceLocation&, uint64_t) noexcept override { return kNotSupported; }
  Result WriteText(const PreferenceLocation&, const String&) noexcept override {
    return kNotSupported;
  }
  Result DeleteSubkey(uint32_t, const String&, const String&) noexcept override {
    return kNotSupported;
  }
};

}  // namespace

PreferenceStore& SystemPreferenceStore() noexcept {
  static NoPreferenceStore store;
  return store;
}

}  // namespace vorn
