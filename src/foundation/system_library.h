// Libraries of the system, loaded at run time (Windows only). A program that
// is started from a download folder, and then elevated, must never pick up a
// library planted next to it: every library the framework loads itself is
// loaded by its full path in the system folder, and the search for the
// libraries those load is kept out of the program's folder and the current
// folder.
#pragma once

#include "foundation/string.h"

namespace vorn {

// First thing at program entry, before any library is loaded: dependent
// libraries are searched in the system folder only where the system can be
// told so (Windows 7 with its update, 8 and later), and the current folder
// is taken out of the search everywhere.
void RestrictLibrarySearch() noexcept;

// The full path of a library in the system folder ("C:\Windows\system32\" +
// file name); empty when the system folder cannot be read or the name is
// null, empty or holds a separator.
String SystemLibraryPath(const char16_t* file_name) noexcept;

// Loads a library of the system folder by its full path; null when it is
// missing there (the caller switches its feature off). The libraries it
// needs in turn are searched in the system folder first. A handle is freed
// with FreeSystemLibrary.
void* LoadSystemLibrary(const char16_t* file_name) noexcept;
void FreeSystemLibrary(void* library) noexcept;
// The address of an exported function, or null.
void* SystemLibraryFunction(void* library, const char* name) noexcept;

}  // namespace vorn
