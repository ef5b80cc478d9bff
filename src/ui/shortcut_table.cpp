#include "ui/shortcut_table.h"

#include <cstdlib>

#include "resources/resource_manager.h"
#include "ui/window_services.h"
#include "xml/xml_element.h"
#include "xml/xml_text.h"

namespace vorn {
namespace {

struct KeyName {
  const char16_t* name;
  uint16_t key;
};

constexpr KeyName kKeyNames[] = {
    {u"O", 0x4F},      {u"C", 0x43},     {u"S", 0x53},   {u"V", 0x56},      {u"F1", 0x70},
    {u"F2", 0x71},     {u"F3", 0x72},    {u"F4", 0x73},  {u"F5", 0x74},     {u"F6", 0x75},
    {u"F7", 0x76},     {u"F8", 0x77},    {u"F9", 0x78},  {u"F10", 0x79},    {u"F11", 0x7A},
    {u"F12", 0x7B},    {u"F13", 0x7C},   {u"F14", 0x7D}, {u"F15", 0x7E},    {u"F16", 0x7F},
    {u"F17", 0x80},    {u"F18", 0x81},   {u"F19", 0x82}, {u"ESCAPE", 0x1B}, {u"PAUSE", 0x13},
    {u"RETURN", 0x0D}, {u"SPACE", 0x20}, {u"TAB", 0x09},
};
static_assert(sizeof kKeyNames / sizeof kKeyNames[0] == 28);

bool StartsWith(const char16_t* text, const char16_t* prefix, uint32_t& length) noexcept {
  length = 0;
  while (prefix[length] != 0) {
    if (text[length] != prefix[length]) return false;
    ++length;
  }
  return true;
}

}  // namespace

Result ParseShortcutKeys(const char16_t* text, Shortcut& shortcut) noexcept {
  shortcut.modifiers = Shortcut::kVirtualKey;
  shortcut.key = 0;
  if (text == nullptr) return kNullInput;
  const struct {
    const char16_t* prefix;
    uint8_t bit;
  } prefixes[] = {
      {u"Ctrl+", Shortcut::kControl}, {u"Alt+", Shortcut::kAlt}, {u"Shift+", Shortcut::kShift}};
  bool more = true;
  while (more) {
    more = false;
    for (const auto& prefix : prefixes) {
      uint32_t length = 0;
      if (StartsWith(text, prefix.prefix, length)) {
        shortcut.modifiers |= prefix.bit;
        text += length;
        more = true;
      }
    }
  }
  for (const KeyName& key : kKeyNames) {
    if (XmlTextEquals(text, key.name)) {
      shortcut.key = key.key;
      return kOk;
    }
  }
  return kInvalidContent;
}

ShortcutTable::~ShortcutTable() {
  Clear();
}

void ShortcutTable::Clear() noexcept {
  ReleasePlatformTable();
  std::free(entries_);
  entries_ = nullptr;
  count_ = 0;
}

Result ShortcutTable::Load(const char16_t* name) noexcept {
  Clear();
  ResourceManager& resources = UiResources();
  XmlElement* table = nullptr;
  const Result found = resources.GetElement(u"ShortcutKeys", name, table);
  if (found != kOk) return found;
  const Result result = Read(table);
  resources.Release(table);
  return result;
}

Result ShortcutTable::Read(const XmlElement* table) noexcept {
  Clear();
  if (table == nullptr) return kNullInput;
  uint32_t count = 0;
  for (const XmlElement* child = table->FirstChild(); child; child = child->NextSibling()) {
    if (child->Name() != nullptr) ++count;
  }
  if (count == 0) return kOk;
  auto* entries = static_cast<Shortcut*>(std::malloc(sizeof(Shortcut) * count));
  if (entries == nullptr) return kOutOfMemory;
  uint32_t filled = 0;
  for (const XmlElement* child = table->FirstChild(); child; child = child->NextSibling()) {
    if (child->Name() == nullptr) continue;
    const XmlAttribute* id = child->FindAttribute(u"ID");
    const XmlAttribute* keys = child->FindAttribute(u"Keys");
    Shortcut shortcut;
    if (!XmlTextEquals(child->Name(), u"Command") || id == nullptr || keys == nullptr ||
        ParseShortcutKeys(keys->Value(), shortcut) != kOk) {
      std::free(entries);
      return kInvalidContent;
    }
    shortcut.command = WindowIdOf(id->Value());
    entries[filled++] = shortcut;
  }
  entries_ = entries;
  count_ = filled;
  return kOk;
}

}  // namespace vorn
