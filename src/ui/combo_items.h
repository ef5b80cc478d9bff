// The items a combo box description lists ("Item" children), read when the
// description is read and inserted when the control is created.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

class ResourceManager;
class XmlElement;

struct ComboItem {
  uint16_t value = 0;  // the identifier of its "ID"
  String label;        // localized
  int32_t image = -1;  // index in the picture strip, -1 for none
  bool selected = false;
};

class ComboItems {
 public:
  ComboItems() noexcept = default;
  ~ComboItems();
  ComboItems(const ComboItems&) = delete;
  ComboItems& operator=(const ComboItems&) = delete;

  // Reads the "Item" children of a combo box description in document order,
  // after the items already held. The first bad child ends the reading, and
  // the items before it stay: 39 for a child other than "Item", 6 for an
  // item without "ID" or without text, 36 for an empty "ID", 12 out of
  // memory.
  Result Read(ResourceManager& resources, const XmlElement* combo) noexcept;
  void Clear() noexcept;

  uint32_t Count() const noexcept { return count_; }
  const ComboItem& Item(uint32_t index) const noexcept { return items_[index]; }
  // The last item marked "Selected" (each one selects as it is inserted),
  // -1 for none.
  int32_t Selection() const noexcept;

 private:
  Result Add(ComboItem& item) noexcept;

  ComboItem* items_ = nullptr;
  uint32_t count_ = 0;
  uint32_t capacity_ = 0;
};

}  // namespace vorn
