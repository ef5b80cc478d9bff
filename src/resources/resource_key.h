// Resource keys and their hashes. A key is a text such as
// "res:file:Data/Pictures/Logo.png" or
// "res:xml:element:String:OKButton:fr"; the cache knows it only by its
// SuperFastHash over the key's UTF-16 units as little-endian bytes, seeded
// with the byte length. The hash can be computed over the pieces of a key
// without joining them.
#pragma once

#include <cstdint>

#include "foundation/string.h"

namespace vorn {

// The prefixes of the four kinds.
inline constexpr char16_t kFileKeyPrefix[] = u"res:file:";
inline constexpr char16_t kPictureKeyPrefix[] = u"res:picture:";
inline constexpr char16_t kDocumentKeyPrefix[] = u"res:xml:document:";
inline constexpr char16_t kElementKeyPrefix[] = u"res:xml:element:";

// SuperFastHash of `count` units.
uint32_t KeyHash(const char16_t* units, uint32_t count) noexcept;
uint32_t KeyHash(const String& key) noexcept;

// The hash of the concatenation of the pieces (null pieces are empty),
// equal to KeyHash of the joined text.
struct KeyPiece {
  const char16_t* text;
  uint32_t length;
};
uint32_t KeyHash(const KeyPiece* pieces, uint32_t count) noexcept;

// "res:xml:element:" + name + ":" + id + ":" + language.
uint32_t ElementKeyHash(const char16_t* name, const char16_t* id,
                        const char16_t* language) noexcept;
// prefix + path, for the file, picture and document kinds.
uint32_t PathKeyHash(const char16_t* prefix, const char16_t* path) noexcept;

}  // namespace vorn
