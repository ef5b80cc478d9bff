// What the installer's window descriptions may say, as far as a wrong word
// breaks them: the element names that build windows and message boxes, and
// the attributes whose value is one of a list. A misspelt element is not
// created (and fails its whole page); a misspelt value fails the
// description or is silently ignored.
#pragma once

#include <string>

namespace vornpack {

// "Window", "DialogBox", "BrowseFolderDialog": top-level window
// descriptions, read with the window-description rules.
bool IsTopLevelWindow(const std::u16string& name);
// A child element that builds a window (the window-type table).
bool IsWindowType(const std::u16string& name);
// A child of a "MessageBox": its buttons and its texts.
bool IsMessageBoxPart(const std::u16string& name);

// The values an attribute of the element `kind` accepts, as a list ending
// in null; null when the value is free (or not one of a list).
const char16_t* const* EnumeratedValues(const std::u16string& kind,
                                        const std::u16string& attribute);
// Attributes that hold a colour.
bool IsColourAttribute(const std::u16string& attribute);
// The attribute of the element `kind` that names a picture by its package
// path ("Name" of a Picture, "Picture" of a button, "Pictures" of a strip);
// null when the element names none.
const char16_t* PictureAttribute(const std::u16string& kind);
// Attributes whose value is a text shown to the user, and so may be a
// "#Key" of the string files.
bool IsLocalizedAttribute(const std::u16string& attribute);

// "A, B or C" for a message.
std::string ListOfValues(const char16_t* const* values);

}  // namespace vornpack
