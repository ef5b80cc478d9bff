#include "resources/support/memory_preference_store.h"

namespace vorn::test {
namespace {

std::u16string Text(const String& s) {
  return std::u16string(s.Text(), s.Length());
}

bool IsAtOrBelow(const std::u16string& key, const std::u16string& top) {
  return key == top || (key.size() > top.size() && key.compare(0, top.size(), top) == 0 &&
                        key[top.size()] == u'\\');
}

}  // namespace

Result MemoryPreferenceStore::ReadDword(const PreferenceLocation& location,
                                        uint32_t& value) noexcept {
  value = 0;
  const Value* stored = Get(location.root, Text(location.key), Text(location.name));
  if (!stored) return kNotFound;
  if (stored->type != Type::kDword) return kWrongType;
  value = static_cast<uint32_t>(stored->number);
  return kOk;
}

Result MemoryPreferenceStore::ReadText(const PreferenceLocation& location, String& value) noexcept {
  value = String();
  const Value* stored = Get(location.root, Text(location.key), Text(location.name));
  if (!stored) return kNotFound;
  // The registry's limit: 16,384 bytes with the terminating 0.
  if (stored->type != Type::kText || (stored->text.size() + 1) * 2 > 16384) return kWrongType;
  value = String(stored->text.c_str());
  return kOk;
}

bool MemoryPreferenceStore::KeyExists(uint32_t root, const String& key) noexcept {
  for (const auto& entry : keys_) {
    if (entry.first.first == root && IsAtOrBelow(entry.first.second, Text(key))) return true;
  }
  return false;
}

Result MemoryPreferenceStore::Write(const PreferenceLocation& location, Value value) {
  if (refuse_writes_) return kAccessDenied;
  keys_[{location.root, Text(location.key)}][Text(location.name)] = std::move(value);
  return kOk;
}

Result MemoryPreferenceStore::WriteDword(const PreferenceLocation& location,
                                         uint32_t value) noexcept {
  return Write(location, {Type::kDword, value, {}});
}

Result MemoryPreferenceStore::WriteQword(const PreferenceLocation& location,
                                         uint64_t value) noexcept {
  return Write(location, {Type::kQword, value, {}});
}

Result MemoryPreferenceStore::WriteText(const PreferenceLocation& location,
                                        const String& value) noexcept {
  return Write(location, {Type::kText, 0, Text(value)});
}

Result MemoryPreferenceStore::DeleteSubkey(uint32_t root, const String& key,
                                           const String& subkey) noexcept {
  ++deletions;
  const std::u16string top = Text(key) + u"\\" + Text(subkey);
  for (auto it = keys_.begin(); it != keys_.end();) {
    if (it->first.first == root && IsAtOrBelow(it->first.second, top)) {
      it = keys_.erase(it);
    } else {
      ++it;
    }
  }
  return kOk;
}

void MemoryPreferenceStore::Put(uint32_t root, const std::u16string& key,
                                const std::u16string& name, Value value) {
  keys_[{root, key}][name] = std::move(value);
}

const MemoryPreferenceStore::Value* MemoryPreferenceStore::Get(uint32_t root,
                                                               const std::u16string& key,
                                                               const std::u16string& name) const {
  const auto k = keys_.find({root, key});
  if (k == keys_.end()) return nullptr;
  const auto v = k->second.find(name);
  return v == k->second.end() ? nullptr : &v->second;
}

size_t MemoryPreferenceStore::ValueCount() const {
  size_t count = 0;
  for (const auto& key : keys_) count += key.second.size();
  return count;
}

}  // namespace vorn::test
