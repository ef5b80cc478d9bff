#include "resources/resource_key.h"

namespace vorn {
namespace {

// SuperFastHash consumes four bytes (two units) a round; pieces of a key
// may split a pair, so one unit can wait for its partner.
class KeyHasher {
 public:
  explicit KeyHasher(uint32_t total_units) noexcept : hash_(total_units * 2) {}

  void Add(const char16_t* units, uint32_t count) noexcept {
    uint32_t i = 0;
    if (pending_ && count > 0) {
      Round(waiting_, units[0]);
      pending_ = false;
      i = 1;
    }
    for (; i + 1 < count; i += 2) Round(units[i], units[i + 1]);
    if (i < count) {
      waiting_ = units[i];
      pending_ = true;
    }
  }

  uint32_t Finish() noexcept {
    if (pending_) {
      // Two bytes left over.
      hash_ += waiting_;
      hash_ ^= hash_ << 11;
      hash_ += hash_ >> 17;
    }
    hash_ ^= hash_ << 3;
    hash_ += hash_ >> 5;
    hash_ ^= hash_ << 4;
    hash_ += hash_ >> 17;
    hash_ ^= hash_ << 25;
    hash_ += hash_ >> 6;
    return hash_;
  }

 private:
  void Round(char16_t low, char16_t high) noexcept {
    hash_ += low;
    const uint32_t tmp = (static_cast<uint32_t>(high) << 11) ^ hash_;
    hash_ = (hash_ << 16) ^ tmp;
    hash_ += hash_ >> 11;
  }

  uint32_t hash_;
  char16_t waiting_ = 0;
  bool pending_ = false;
};

}  // namespace

uint32_t KeyHash(const KeyPiece* pieces, uint32_t count) noexcept {
  uint32_t total = 0;
  for (uint32_t i = 0; i < count; ++i) total += pieces[i].text ? pieces[i].length : 0;
  // The reference implementation gives 0 for no data.
  if (total == 0) return 0;
  KeyHasher hasher(total);
  for (uint32_t i = 0; i < count; ++i) {
    if (pieces[i].text) hasher.Add(pieces[i].text, pieces[i].length);
  }
  return hasher.Finish();
}

uint32_t KeyHash(const char16_t* units, uint32_t count) noexcept {
  const KeyPiece piece = {units, count};
  return KeyHash(&piece, 1);
}

uint32_t KeyHash(const String& key) noexcept {
  return KeyHash(key.Text(), key.Length());
}

uint32_t ElementKeyHash(const char16_t* name, const char16_t* id,
                        const char16_t* language) noexcept {
  const KeyPiece pieces[] = {{kElementKeyPrefix, TextLength(kElementKeyPrefix)},
                             {name, TextLength(name)},
                             {u":", 1},
                             {id, TextLength(id)},
                             {u":", 1},
                             {language, TextLength(language)}};
  return KeyHash(pieces, 6);
}

uint32_t PathKeyHash(const char16_t* prefix, const char16_t* path) noexcept {
  const KeyPiece pieces[] = {{prefix, TextLength(prefix)}, {path, TextLength(path)}};
  return KeyHash(pieces, 2);
}

}  // namespace vorn
