// The tab control whose tabs are pages: the pages are siblings of the tab
// control laid over its display area, one shown at a time.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "ui/installer_controls.h"

namespace vorn {

class Page;
class Picture;

// The tab a key moves to among `count` tabs: forward from the last is the
// first, backward from the first the last; -1 without tabs.
int32_t NeighbourTab(uint32_t count, int32_t current, bool forward) noexcept;

class TabControl : public TextControl {
 public:
  TabControl() noexcept;
  ~TabControl() override;
  const char16_t* TypeName() const noexcept override { return u"TabCtrl"; }
  Result ReadDescription(const XmlElement* element) noexcept override;
  bool HandleMessage(WindowMessage& message) noexcept override;

  // Appends the page (image index -1 for none). On a created control the
  // page joins the tab control's parent, gets its tab, and the first page
  // is selected and shown with the focus.
  Result AddPage(Page* page, int32_t image) noexcept;
  uint32_t PageCount() const noexcept { return count_; }
  Page* PageAt(uint32_t index) const noexcept {
    return index < count_ ? pages_[index].page : nullptr;
  }
  int32_t Selected() const noexcept { return selected_; }
  void Select(int32_t index, bool focus) noexcept;
  void ShowPage(int32_t index, bool focus) noexcept;
  // Under a visual theme, the tab control's own picture of itself, so that
  // its pages show the themed tab body; otherwise the parent's background.
  void* BackgroundBrush() noexcept override;
  bool HasThemedBackground() const noexcept { return themed_brush_ != nullptr; }

 protected:
  Result OnCreated() noexcept override;
  void OnDestroying() noexcept override;

 private:
  struct Entry {
    Page* page;
    int32_t image;
  };
  void AddTab(uint32_t index) noexcept;
  void PlacePage(uint32_t index) noexcept;
  void BuildThemedBackground() noexcept;
  void FreeThemedBackground() noexcept;

  Entry* pages_ = nullptr;
  uint32_t count_ = 0;
  uint32_t capacity_ = 0;
  int32_t selected_ = -1;
  Picture* strip_ = nullptr;
  uint32_t item_width_ = 0;
  void* image_list_ = nullptr;
  void* themed_bitmap_ = nullptr;
  void* themed_brush_ = nullptr;
};

}  // namespace vorn
