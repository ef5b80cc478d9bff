#include "ui/window_attributes.h"

#include "xml/xml_element.h"
#include "xml/xml_text.h"

namespace vorn {
namespace {

constexpr uint32_t kCount = static_cast<uint32_t>(WindowAttribute::kCount);

// In the order of WindowAttribute.
constexpr const char16_t* kNames[kCount] = {
    u"ID",
    u"Type",
    u"Title",
    u"Tooltip",
    u"BackgroundColor",
    u"HorizontalGradientColor",
    u"VerticalGradientColor",
    u"Border",
    u"Visible",
    u"ClipChildren",
    u"ClipSiblings",
    u"AcceptFiles",
    u"SystemMenu",
    u"FirstOfGroup",
    u"Enabled",
    u"CloseButton",
    u"Caption",
    u"DoubleBuffered",
    u"Font",
    u"Redraw",
    u"HorizontalRedraw",
    u"VerticalRedraw",
    u"EnableFocus",
    u"MouseCursor",
    u"ShortcutKeys",
    u"Position",
    u"Top",
    u"MinTop",
    u"MaxTop",
    u"Left",
    u"MinLeft",
    u"MaxLeft",
    u"Width",
    u"MinWidth",
    u"MaxWidth",
    u"ClientWidth",
    u"MinClientWidth",
    u"MaxClientWidth",
    u"Height",
    u"MinHeight",
    u"MaxHeight",
    u"ClientHeight",
    u"MinClientHeight",
    u"MaxClientHeight",
    u"Bottom",
    u"MinBottom",
    u"MaxBottom",
    u"Right",
    u"MinRight",
    u"MaxRight",
};

constexpr uint32_t kTableSize = 256;

constexpr uint32_t HashName(const char16_t* name) noexcept {
  uint32_t hash = 2166136261u;
  for (; *name != 0; ++name) hash = (hash ^ *name) * 16777619u;
  return hash;
}

struct NameTable {
  // Slot + 1 of each name, 0 for an empty place (open addressing).
  uint8_t entries[kTableSize] = {};
};

constexpr NameTable BuildTable() noexcept {
  NameTable table;
  for (uint32_t i = 0; i < kCount; ++i) {
    uint32_t place = HashName(kNames[i]) & (kTableSize - 1);
    while (table.entries[place] != 0) place = (place + 1) & (kTableSize - 1);
    table.entries[place] = static_cast<uint8_t>(i + 1);
  }
  return table;
}

constexpr NameTable kTable = BuildTable();

// The slot of a name, or kCount for a name the window base does not read.
uint32_t SlotOf(const char16_t* name) noexcept {
  for (uint32_t place = HashName(name) & (kTableSize - 1); kTable.entries[place] != 0;
       place = (place + 1) & (kTableSize - 1)) {
    const uint32_t slot = kTable.entries[place] - 1u;
    if (XmlTextEquals(name, kNames[slot])) return slot;
  }
  return kCount;
}

}  // namespace

WindowAttributes::WindowAttributes(const XmlElement& element) noexcept {
  for (const XmlAttribute* attribute = element.FirstAttribute(); attribute;
       attribute = attribute->Next()) {
    if (attribute->Name() == nullptr) continue;
    const uint32_t slot = SlotOf(attribute->Name());
    if (slot < kCount && found_[slot] == nullptr) found_[slot] = attribute;
  }
}

WindowAttribute GeometryAttributeOf(Edge edge) noexcept {
  switch (edge) {
    case Edge::kTop:
      return WindowAttribute::kTop;
    case Edge::kLeft:
      return WindowAttribute::kLeft;
    case Edge::kWidth:
      return WindowAttribute::kWidth;
    case Edge::kClientWidth:
      return WindowAttribute::kClientWidth;
    case Edge::kHeight:
      return WindowAttribute::kHeight;
    case Edge::kClientHeight:
      return WindowAttribute::kClientHeight;
    case Edge::kBottom:
      return WindowAttribute::kBottom;
    case Edge::kRight:
      return WindowAttribute::kRight;
  }
  return WindowAttribute::kTop;
}

}  // namespace vorn
