// The window-type table: the element name of a child description selects
// the class built for it. Every name of the table builds a plain window with
// the name's class code until a control class registers its factory, which
// the control files do from their registration function at start-up:
//
//   Window* MakeButton() noexcept { return new (std::nothrow) Button(); }
//   RegisterWindowType(u"Button", &MakeButton);
//
// Names outside the table can be added the same way; any other name fails
// with 39.
#pragma once

#include <cstdint>

#include "foundation/result.h"

namespace vorn {

class Window;

// Makes a new, unattached window object; null when out of memory.
using WindowFactory = Window* (*)() noexcept;

// A new object for the element name: 39 for a name not in the table, 12
// when the factory returns null.
Result CreateWindowOfType(const char16_t* element_name, Window*& window) noexcept;
// Replaces the factory of a table name, or adds the name after the table.
// 15 for a null name or factory, 24 when the table is full.
Result RegisterWindowType(const char16_t* element_name, WindowFactory factory) noexcept;
// True for a name the table holds (what a description may use).
bool IsWindowTypeName(const char16_t* element_name) noexcept;
// The class code a table name builds by default (0 for names outside it).
uint32_t DefaultClassCodeOfType(const char16_t* element_name) noexcept;

}  // namespace vorn
