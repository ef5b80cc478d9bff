// What Vorn Demo shows of a document: its first line of text. A .vorndemo
// file is plain text (UTF-8, with or without a byte-order mark, or UTF-16
// with one); anything else still opens, shown as whatever text it decodes to.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"

namespace demo {

// The longest first line shown; a longer one ends in "…".
inline constexpr uint32_t kMaxFirstLine = 200;
// How much of a file is read to find its first line.
inline constexpr uint32_t kDocumentHead = 4096;

// The first line of the text in `bytes`: the encoding told by the
// byte-order mark (UTF-8 without one), up to the first line end, control
// characters shown as blanks, surrounding blanks trimmed, cut at
// kMaxFirstLine units. Empty for an empty document.
vorn::String FirstLineOf(const uint8_t* bytes, uint32_t size) noexcept;

// Reads the head of the file at `path` and gives its first line: 0, or the
// file system's code (29 for a missing file, 17 when it may not be read, 31
// for an empty path); `line` is empty then.
vorn::Result ReadFirstLine(const vorn::String& path, vorn::String& line) noexcept;

}  // namespace demo
