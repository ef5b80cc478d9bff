// A preference store in memory that behaves like the registry as the
// preferences see it: typed values in keys, keys created by writes,
// subtrees deleted whole.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "resources/preference_store.h"

namespace vorn::test {

class MemoryPreferenceStore : public PreferenceStore {
 public:
  enum class Type { kDword, kQword, kText };
  struct Value {
    Type type = Type::kText;
    uint64_t number = 0;
    std::u16string text;
  };
  using Key = std::pair<uint32_t, std::u16string>;

  Result ReadDword(const PreferenceLocation& location, uint32_t& value) noexcept override;
  Result ReadText(const PreferenceLocation& location, String& value) noexcept override;
  bool KeyExists(uint32_t root, const String& key) noexcept override;
  Result WriteDword(const PreferenceLocation& location, uint32_t value) noexcept override;
  Result WriteQword(const PreferenceLocation& location, uint64_t value) noexcept override;
  Result WriteText(const PreferenceLocation& location, const String& value) noexcept override;
  Result DeleteSubkey(uint32_t root, const String& key, const String& subkey) noexcept override;

  // Direct access for arranging and checking.
  void Put(uint32_t root, const std::u16string& key, const std::u16string& name, Value value);
  const Value* Get(uint32_t root, const std::u16string& key, const std::u16string& name) const;
  size_t ValueCount() const;
  // Refuses every write from now on (a read-only hive).
  void RefuseWrites(bool refuse) { refuse_writes_ = refuse; }
  int deletions = 0;

 private:
  Result Write(const PreferenceLocation& location, Value value);
  std::map<Key, std::map<std::u16string, Value>> keys_;
  bool refuse_writes_ = false;
};

}  // namespace vorn::test
