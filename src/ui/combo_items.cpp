#include "ui/combo_items.h"

#include <new>

#include "resources/localized_text.h"
#include "ui/control_defaults_values.h"
#include "ui/window_id.h"
#include "xml/xml_element.h"

namespace vorn {

ComboItems::~ComboItems() {
  Clear();
}

void ComboItems::Clear() noexcept {
  delete[] items_;
  items_ = nullptr;
  count_ = capacity_ = 0;
}

Result ComboItems::Add(ComboItem& item) noexcept {
  if (count_ == capacity_) {
    const uint32_t capacity = capacity_ ? capacity_ * 2 : 8;
    if (capacity <= capacity_) return kOutOfMemory;
    ComboItem* grown = new (std::nothrow) ComboItem[capacity];
    if (!grown) return kOutOfMemory;
    for (uint32_t i = 0; i < count_; ++i) grown[i] = static_cast<ComboItem&&>(items_[i]);
    delete[] items_;
    items_ = grown;
    capacity_ = capacity;
  }
  items_[count_++] = static_cast<ComboItem&&>(item);
  return kOk;
}

Result ComboItems::Read(ResourceManager& resources, const XmlElement* combo) noexcept {
  if (!combo) return kNullInput;
  for (const XmlElement* child = combo->FirstChild(); child; child = child->NextSibling()) {
    if (!child->Name()) continue;  // text of the combo box itself
    if (!SameAttributeText(child->Name(), u"Item")) return kWrongType;
    const XmlAttribute* id = child->FindAttribute(u"ID");
    if (!id) return kMissingData;
    ComboItem item;
    item.value = WindowIdOf(id->Value());
    if (item.value == kNoWindowId) return kLocalizedTextMissing;
    String raw;
    if (child->ReadText(&raw) != kOk || raw.IsEmpty()) return kMissingData;
    LocalizeText(resources, raw.Text(), item.label);
    if (const XmlAttribute* picture = child->FindAttribute(u"PictureIndex")) {
      item.image = ControlInteger(picture->Value());
    }
    child->ReadAttributeBoolean(u"Selected", item.selected, false);
    const Result added = Add(item);
    if (added != kOk) return added;
  }
  return kOk;
}

int32_t ComboItems::Selection() const noexcept {
  int32_t selection = -1;
  for (uint32_t i = 0; i < count_; ++i) {
    if (items_[i].selected) selection = static_cast<int32_t>(i);
  }
  return selection;
}

}  // namespace vorn
