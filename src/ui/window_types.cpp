#include "ui/window_types.h"

#include <new>

#include "ui/window.h"
#include "xml/xml_text.h"

namespace vorn {
namespace {

// A window of this base class standing for a class that builds nothing more
// than its class code (the docking and chrome classes, and the controls
// until their own classes are registered).
class PlainWindow final : public Window {
 public:
  explicit PlainWindow(uint32_t class_code) noexcept { SetClassCode(class_code); }
};

struct TypeEntry {
  const char16_t* name;
  uint32_t class_code;
  WindowFactory factory;  // null: a plain window with the class code
};

constexpr uint32_t kTableCapacity = 48;

// In the order names are tried.
TypeEntry g_types[kTableCapacity] = {
    {u"Static", kWindowClassStatic, nullptr},
    {u"List", kWindowClassListView, nullptr},
    {u"Slider", kWindowClassSlider, nullptr},
    {u"Button", kWindowClassButton, nullptr},
    {u"ToolBar", kWindowClassToolBar, nullptr},
    {u"StatusBar", kWindowClassStatusBar, nullptr},
    {u"ControlBar", kWindowClassControlBar, nullptr},
    {u"Window", kWindowClassPlain, nullptr},
    {u"DockWindow", kWindowClassDockWindow, nullptr},
    {u"ProgressBar", kWindowClassProgressBar, nullptr},
    {u"Picture", kWindowClassPicture, nullptr},
    {u"GroupBox", kWindowClassGroupBox, nullptr},
    {u"ComboBox", kWindowClassComboBox, nullptr},
    {u"URL", kWindowClassStatic, nullptr},
    {u"CheckBox", kWindowClassButton, nullptr},
    {u"RichEdit", kWindowClassRichEdit, nullptr},
    {u"EditBox", kWindowClassEditBox, nullptr},
    {u"HintCtrl", kWindowClassHintControl, nullptr},
    {u"TabCtrl", kWindowClassTabControl, nullptr},
    {u"Separator", kWindowClassSeparator, nullptr},
    {u"PropertySheet", kWindowClassPropertySheet, nullptr},
};
uint32_t g_type_count = 21;

TypeEntry* FindType(const char16_t* name) noexcept {
  if (name == nullptr) return nullptr;
  for (uint32_t i = 0; i < g_type_count; ++i) {
    if (XmlTextEquals(g_types[i].name, name)) return &g_types[i];
  }
  return nullptr;
}

}  // namespace

Result CreateWindowOfType(const char16_t* element_name, Window*& window) noexcept {
  window = nullptr;
  const TypeEntry* entry = FindType(element_name);
  if (entry == nullptr) return kWrongType;
  window = entry->factory != nullptr ? entry->factory()
                                     : new (std::nothrow) PlainWindow(entry->class_code);
  return window != nullptr ? kOk : kOutOfMemory;
}

bool IsWindowTypeName(const char16_t* element_name) noexcept {
  return FindType(element_name) != nullptr;
}

Result RegisterWindowType(const char16_t* element_name, WindowFactory factory) noexcept {
  if (element_name == nullptr || factory == nullptr) return kNullInput;
  TypeEntry* entry = FindType(element_name);
  if (entry == nullptr) {
    if (g_type_count == kTableCapacity) return kNoRoom;
    entry = &g_types[g_type_count++];
    entry->name = element_name;
    entry->class_code = kWindowClassPlain;
  }
  entry->factory = factory;
  return kOk;
}

uint32_t DefaultClassCodeOfType(const char16_t* element_name) noexcept {
  const TypeEntry* entry = FindType(element_name);
  return entry != nullptr ? entry->class_code : kWindowClassPlain;
}

}  // namespace vorn
