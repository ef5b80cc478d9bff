// Reading the rich edit's and the combo box's descriptions, the same on
// every platform.
#include "ui/page_controls.h"

#include <new>

#include "resources/picture.h"
#include "resources/resource_manager.h"
#include "ui/tab_control.h"
#include "ui/window_services.h"
#include "ui/window_types.h"
#include "xml/xml_element.h"
#include "xml/xml_text.h"

namespace vorn {
namespace {

bool Is(const char16_t* value, const char16_t* word) noexcept {
  return value != nullptr && XmlTextEquals(value, word);
}

template <typename T>
Window* Make() noexcept {
  return new (std::nothrow) T();
}

// Stands in for an "Item" child while the window base reads the children;
// the combo box reads its items itself and drops these.
class ComboItemPlaceholder : public Window {
 public:
  ComboItemPlaceholder() noexcept { SetStyle(0); }
  const char16_t* TypeName() const noexcept override { return u"Item"; }
  Result ReadDescription(const XmlElement*) noexcept override { return kOk; }
};

}  // namespace

Result RegisterPageControls() noexcept {
  Result result = RegisterWindowType(u"RichEdit", &Make<RichEdit>);
  if (result == kOk) result = RegisterWindowType(u"ComboBox", &Make<ComboBox>);
  if (result == kOk) result = RegisterWindowType(u"TabCtrl", &Make<TabControl>);
  return result;
}

// ---- Rich edit ----

uint32_t RichEditMenuItemState(WindowId command, const RichEditMenuState& state) noexcept {
  bool editing = false;
  bool enabled = false;
  if (command == WindowIdOf(u"RichEditUndoCmd")) {
    editing = true;
    enabled = state.can_undo;
  } else if (command == WindowIdOf(u"RichEditRedoCmd")) {
    editing = true;
    enabled = state.can_redo;
  } else if (command == WindowIdOf(u"RichEditCutCmd")) {
    editing = true;
    enabled = state.has_selection;
  } else if (command == WindowIdOf(u"RichEditCopyCmd")) {
    enabled = state.has_selection;
  } else if (command == WindowIdOf(u"RichEditPasteCmd")) {
    editing = true;
    enabled = state.can_paste;
  } else if (command == WindowIdOf(u"RichEditSelectAllCmd")) {
    enabled = !state.all_selected;
  } else {
    return 0;
  }
  if (editing && state.read_only) return 0;
  return kMenuShown | (enabled ? kMenuEnabled : 0u);
}

Result RichEdit::ReadDescription(const XmlElement* element) noexcept {
  Result result = EditBox::ReadDescription(element);
  if (result != kOk) return result;
  bool flag = false;
  if (element->ReadOptionalAttributeBoolean(u"BottomLess", flag) == kOk) bottomless_ = flag;
  String value;
  if (element->ReadOptionalAttributeText(u"TextMode", value) == kOk) {
    if (Is(value.Text(), u"Default")) {
      text_mode_ = RichTextMode::kDefault;
      detect_urls_ = true;
    } else if (Is(value.Text(), u"Plain")) {
      text_mode_ = RichTextMode::kPlain;
      detect_urls_ = true;
    } else if (Is(value.Text(), u"HTML")) {
      text_mode_ = RichTextMode::kFormatted;
      detect_urls_ = false;
    }
  }
  if (element->ReadOptionalAttributeBoolean(u"AutoDetectURL", flag) == kOk) detect_urls_ = flag;
  // The element's text was taken as the title by the text control.
  if (!Title().IsEmpty()) SetRichText(Title());
  return kOk;
}

Result RichEdit::SetRichText(const String& text) noexcept {
  if (text_mode_ == RichTextMode::kFormatted) {
    FormattedText parsed;
    const Result result = parsed.Parse(text.Text());
    if (result != kOk) return result;
    formatted_.Swap(parsed);
  }
  stored_ = text;
  ShowStoredText();
  return kOk;
}

// ---- Combo box ----

ComboBox::ComboBox() noexcept {
  SetClassCode(kWindowClassComboBox);
  SetPlatformClass(u"ComboBoxEx32");
  SetStyle((Style() & 0xFFFF0000u) | kComboBoxStyle);
}

ComboBox::~ComboBox() {
  delete strip_;
}

Result ComboBox::ReadType(const char16_t* type) noexcept {
  uint32_t style = Style();
  const Result result = ComboBoxTypeStyle(type, style);
  if (result == kOk) SetStyle(style);
  return result;
}

Result ComboBox::CreateChild(const char16_t* element_name, Window*& child) noexcept {
  child = nullptr;
  if (!Is(element_name, u"Item")) return kWrongType;
  child = new (std::nothrow) ComboItemPlaceholder();
  return child != nullptr ? kOk : kOutOfMemory;
}

void ComboBox::DropItemPlaceholders() noexcept {
  while (Window* child = FirstChild()) {
    child->Attach(nullptr);
    delete child;
  }
}

Result ComboBox::ReadDescription(const XmlElement* element) noexcept {
  Result result = TextControl::ReadDescription(element);
  DropItemPlaceholders();
  // The items' own faults (a missing "ID" or text, the empty identifier, a
  // child that is no item) come from the item reader.
  const Result items = items_.Read(UiResources(), element);
  if (result == kOk) result = items;
  if (result != kOk) return result;
  String strip;
  if (element->ReadOptionalAttributeText(u"Pictures", strip) == kOk) {
    Picture* picture = nullptr;
    result = UiResources().GetPicture(strip.Text(), picture);
    if (result != kOk) return result;
    Picture* copy = picture->CreateEmpty();
    if (copy == nullptr || copy->CopyFrom(picture) != kOk) {
      delete copy;
      UiResources().Release(picture);
      return kOutOfMemory;
    }
    UiResources().Release(picture);
    delete strip_;
    strip_ = copy;
    item_width_ = strip_->Height();
  }
  int32_t width = 0;
  if (element->ReadOptionalAttributeInt32(u"PictureItemWidth", width) == kOk && width > 0)
    item_width_ = static_cast<uint32_t>(width);
  selection_ = items_.Selection();
  return kOk;
}

WindowId ComboBox::SelectedValue() const noexcept {
  const int32_t index = Selection();
  if (index < 0 || static_cast<uint32_t>(index) >= items_.Count()) return kNoWindowId;
  return items_.Item(static_cast<uint32_t>(index)).value;
}

}  // namespace vorn
