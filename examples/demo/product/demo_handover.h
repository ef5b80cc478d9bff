// What a second start of Vorn Demo hands to the window of the first: the
// document or the link it was given (the shell starts the program again for
// every document opened while it runs). The second start then ends as the
// framework's single-instance rule has it, bringing the first forward.
#pragma once

#include <cstdint>

#include "foundation/string.h"

namespace demo {

enum class HandOverKind : uintptr_t {
  kDocument = 0x564F4431,  // the full path of a document
  kLink = 0x564F4432,      // a "vorndemo:" link
};

// The longest text handed over, in UTF-16 units.
inline constexpr uint32_t kMaxHandOverUnits = 32768;

// Sends the command line's first document (made a full path) or its /Link
// value to the running instance's window of that class; true when it took
// it. Nothing is sent when the command line names neither, when multiple
// instances are allowed, or when there is no such window.
bool HandOverToRunningInstance(const vorn::String& window_class) noexcept;

// The receiving half: the text of a hand-over message, checked (a known
// kind, a whole number of units, not empty, not too long). False for
// anything else, which is then ignored.
bool ReadHandOver(uintptr_t kind, const void* data, uint32_t size, HandOverKind& which,
                  vorn::String& text) noexcept;

}  // namespace demo
