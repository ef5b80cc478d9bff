// The tab control's page list and description, the same on every platform.
#include "ui/tab_control.h"

#include <cstdlib>
#include <cstring>

#include "resources/picture.h"
#include "resources/resource_manager.h"
#include "ui/page.h"
#include "ui/window_services.h"
#include "xml/xml_element.h"

namespace vorn {

int32_t NeighbourTab(uint32_t count, int32_t current, bool forward) noexcept {
  if (count == 0) return -1;
  const int32_t last = static_cast<int32_t>(count) - 1;
  if (current < 0 || current > last) return forward ? 0 : last;
  if (forward) return current == last ? 0 : current + 1;
  return current == 0 ? last : current - 1;
}

TabControl::TabControl() noexcept {
  SetClassCode(kWindowClassTabControl);
  SetPlatformClass(u"SysTabControl32");
  SetStyle(0x54030000u);
}

TabControl::~TabControl() {
  FreeThemedBackground();
  std::free(pages_);
  delete strip_;
}

Result TabControl::ReadDescription(const XmlElement* element) noexcept {
  Result result = TextControl::ReadDescription(element);
  if (result != kOk) return result;
  String strip;
  if (element->ReadOptionalAttributeText(u"Pictures", strip) == kOk) {
    Picture* picture = nullptr;
    result = UiResources().GetPicture(strip.Text(), picture);
    if (result != kOk) return result;
    Picture* copy = picture->CreateEmpty();
    const bool copied = copy != nullptr && copy->CopyFrom(picture) == kOk;
    UiResources().Release(picture);
    if (!copied) {
      delete copy;
      return kOutOfMemory;
    }
    delete strip_;
    strip_ = copy;
    item_width_ = strip_->Height();
  }
  int32_t width = 0;
  if (element->ReadOptionalAttributeInt32(u"PictureItemWidth", width) == kOk && width > 0)
    item_width_ = static_cast<uint32_t>(width);
  return kOk;
}

Result TabControl::AddPage(Page* page, int32_t image) noexcept {
  if (page == nullptr) return kNullInput;
  if (count_ == capacity_) {
    const uint32_t capacity = capacity_ == 0 ? 16 : capacity_ * 2;
    void* grown = std::realloc(pages_, capacity * sizeof(Entry));
    if (grown == nullptr) return kOutOfMemory;
    pages_ = static_cast<Entry*>(grown);
    capacity_ = capacity;
  }
  pages_[count_] = Entry{page, image};
  ++count_;
  if (Exists()) AddTab(count_ - 1);
  return kOk;
}

}  // namespace vorn
