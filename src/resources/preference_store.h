// Where preferences persist between runs: on Windows the registry, below
// the current user's or the local machine's root. The preferences reach it
// only through this interface, so their logic is the same on every platform
// and testable without a registry.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

// The two roots, numbered as the registry key object numbers them.
constexpr uint32_t kPreferenceUserRoot = 2;
constexpr uint32_t kPreferenceMachineRoot = 3;

// One value: a key path below a root ('\' separators) and the value's name.
struct PreferenceLocation {
  uint32_t root = kPreferenceUserRoot;
  String key;
  String name;
};

class PreferenceStore {
 public:
  virtual ~PreferenceStore() = default;

  // Reads give 29 for a missing key or value and 39 for a value of another
  // type: ReadDword wants a 32-bit number, ReadText a text of at most
  // 16,384 bytes.
  virtual Result ReadDword(const PreferenceLocation& location, uint32_t& value) noexcept = 0;
  virtual Result ReadText(const PreferenceLocation& location, String& value) noexcept = 0;
  // Whether the key can be opened for reading.
  virtual bool KeyExists(uint32_t root, const String& key) noexcept = 0;
  // Writes create the key when it is missing.
  virtual Result WriteDword(const PreferenceLocation& location, uint32_t value) noexcept = 0;
  virtual Result WriteQword(const PreferenceLocation& location, uint64_t value) noexcept = 0;
  virtual Result WriteText(const PreferenceLocation& location, const String& value) noexcept = 0;
  // Deletes key\subkey with everything below it; a missing key is no error.
  virtual Result DeleteSubkey(uint32_t root, const String& key, const String& subkey) noexcept = 0;
};

// The process's store: the registry on Windows. Elsewhere there is no
// persistent store: every operation gives 2, so reads fall through to the
// defaults and a save writes nothing.
PreferenceStore& SystemPreferenceStore() noexcept;

}  // namespace vorn
