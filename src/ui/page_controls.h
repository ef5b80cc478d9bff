// The controls of the installer's pages that carry more logic: the rich
// edit showing formatted text and the combo box with its items.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"
#include "ui/combo_items.h"
#include "ui/formatted_text.h"
#include "ui/installer_controls.h"

namespace vorn {

enum class RichTextMode : uint32_t { kDefault = 0, kPlain = 1, kFormatted = 2 };

// What the rich edit's context menu ("RichEditMenu") offers at a moment.
struct RichEditMenuState {
  bool can_undo = false;
  bool can_redo = false;
  bool has_selection = false;
  bool can_paste = false;
  bool all_selected = false;
  bool read_only = false;
};
enum RichEditMenuItem : uint32_t {
  kMenuShown = 1,
  kMenuEnabled = 2,
};
// For one of the menu's six commands: shown (a read-only control has no
// undo, redo, cut or paste) and enabled; 0 for any other command.
uint32_t RichEditMenuItemState(WindowId command, const RichEditMenuState& state) noexcept;

class RichEdit : public EditBox {
 public:
  RichEdit() noexcept;
  const char16_t* TypeName() const noexcept override { return u"RichEdit"; }
  Result ReadDescription(const XmlElement* element) noexcept override;
  bool HandleMessage(WindowMessage& message) noexcept override;

  RichTextMode TextMode() const noexcept { return text_mode_; }
  bool DetectsUrls() const noexcept { return detect_urls_; }
  bool Bottomless() const noexcept { return bottomless_; }
  // Sets the text by the text mode. In the formatted mode a text that is
  // not well-formed gives the parser's code and leaves the content as it was.
  Result SetRichText(const String& text) noexcept;
  const String& StoredText() const noexcept { return stored_; }
  const FormattedText& Formatted() const noexcept { return formatted_; }

 protected:
  Result OnCreated() noexcept override;

 private:
  void ShowStoredText() noexcept;
  void FollowLink(uint32_t first, uint32_t end) noexcept;
  // The "RichEditMenu" at the screen point (-1, -1: the control's corner).
  void ShowContextMenu(int32_t x, int32_t y) noexcept;

  RichTextMode text_mode_ = RichTextMode::kDefault;
  bool detect_urls_ = true;
  bool bottomless_ = false;
  String stored_;
  FormattedText formatted_;
};

class ComboBox : public TextControl {
 public:
  ComboBox() noexcept;
  ~ComboBox() override;
  const char16_t* TypeName() const noexcept override { return u"ComboBox"; }
  Result ReadDescription(const XmlElement* element) noexcept override;
  Result ReadType(const char16_t* type) noexcept override;
  Result CreateChild(const char16_t* element_name, Window*& child) noexcept override;

  const ComboItems& Items() const noexcept { return items_; }
  // The selected item's index (-1 for none), from the platform control
  // when it exists.
  int32_t Selection() const noexcept;
  // The selected item's value, kNoWindowId for none.
  WindowId SelectedValue() const noexcept;

 protected:
  ControlKind DefaultSizeKind() const noexcept override { return ControlKind::kComboBox; }
  Result OnCreated() noexcept override;
  void OnDestroying() noexcept override;

 private:
  void DropItemPlaceholders() noexcept;

  ComboItems items_;
  Picture* strip_ = nullptr;
  uint32_t item_width_ = 0;
  void* image_list_ = nullptr;
  int32_t selection_ = -1;
};

// Registers the classes above and the tab control ("RichEdit", "ComboBox",
// "TabCtrl").
Result RegisterPageControls() noexcept;

}  // namespace vorn
