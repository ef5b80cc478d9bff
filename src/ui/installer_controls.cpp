// The controls' description readers and default sizes, the same on every
// platform; the platform halves live in installer_controls_win.cpp.
#include "ui/installer_controls.h"

#include <new>

#include "resources/localized_text.h"
#include "resources/picture.h"
#include "resources/resource_manager.h"
#include "ui/dialog_box.h"
#include "ui/page_controls.h"
#include "ui/window_services.h"
#include "ui/window_types.h"
#include "xml/xml_element.h"
#include "xml/xml_text.h"

namespace vorn {
namespace {

bool Is(const char16_t* value, const char16_t* word) noexcept {
  return value != nullptr && XmlTextEquals(value, word);
}

void SetBits(uint32_t& bits, uint32_t mask, bool on) noexcept {
  bits = on ? (bits | mask) : (bits & ~mask);
}

// The style of a wrapped control: the window base's upper bits without
// clip siblings and without the low (class) bits, then the class's own.
uint32_t ControlStyle(uint32_t style, uint32_t own) noexcept {
  return ((style & 0xFFFF0000u) & ~kStyleClipSiblings) | own;
}

template <typename T>
Window* Make() noexcept {
  return new (std::nothrow) T();
}

}  // namespace

Result RegisterInstallerControls() noexcept {
  struct Entry {
    const char16_t* name;
    WindowFactory factory;
  };
  static const Entry kEntries[] = {
      {u"Static", &Make<StaticText>},   {u"Button", &Make<Button>},
      {u"CheckBox", &Make<CheckBox>},   {u"GroupBox", &Make<GroupBox>},
      {u"EditBox", &Make<EditBox>},     {u"ProgressBar", &Make<ProgressBar>},
      {u"URL", &Make<Hyperlink>},       {u"Picture", &Make<PictureControl>},
      {u"Separator", &Make<Separator>},
  };
  for (const Entry& entry : kEntries) {
    const Result result = RegisterWindowType(entry.name, entry.factory);
    if (result != kOk) return result;
  }
  return RegisterPageControls();
}

// ---- Text control ----

TextControl::TextControl() noexcept {
  SetClassCode(kWindowClassStatic);
  SetWrapsPlatformControl(true);
  SetPlatformClass(u"Static");
  SetStyle(ControlStyle(Style(), kStaticNoPrefix | kStaticNotify));
}

Result TextControl::ReadDescription(const XmlElement* element) noexcept {
  Result result = Window::ReadDescription(element);
  if (result != kOk) return result;
  uint32_t style = Style();
  String value;
  if (element->ReadOptionalAttributeText(u"TextColor", value) == kOk) {
    Color color;
    result = ParseColor(value.Text(), color);
    if (result != kOk) return result;
    text_color_ = color;
  }
  if (UsesTextAlignment() && element->ReadOptionalAttributeText(u"HorizontalAlign", value) == kOk) {
    if (Is(value.Text(), u"Left")) {
      style &= ~(kStaticCenter | kStaticRight);
    } else if (Is(value.Text(), u"Center")) {
      style = (style & ~kStaticRight) | kStaticCenter;
    } else if (Is(value.Text(), u"Right")) {
      style = (style & ~kStaticCenter) | kStaticRight;
    }
  }
  if (element->ReadOptionalAttributeText(u"VerticalAlign", value) == kOk &&
      Is(value.Text(), u"Center")) {
    style |= kStaticCenterVertically;
  }
  bool flag = false;
  if (element->ReadOptionalAttributeBoolean(u"WordEllipsis", flag) == kOk && flag) {
    style = (style & ~kStaticEllipsisMask) | kStaticWordEllipsis;
  }
  if (element->ReadOptionalAttributeBoolean(u"PathEllipsis", flag) == kOk && flag) {
    style = (style & ~kStaticEllipsisMask) | kStaticPathEllipsis;
  }
  SetStyle(style);
  const char16_t* text = nullptr;
  if (element->ReadTextPointer(text) == kOk && text != nullptr && text[0] != 0) {
    String localized;
    LocalizeText(UiResources(), text, localized);
    SetTitle(localized);
  }
  ApplyDefaultSize();
  return kOk;
}

void TextControl::ApplyDefaultSize() noexcept {
  // Of the plain text controls only static texts have a default height; a
  // picture takes its picture's size.
  if (DefaultSizeKind() == ControlKind::kStaticText && ClassCode() != kWindowClassStatic) return;
  GivenGeometry given;
  given.width = ExtentDetermined(Edge::kWidth, Edge::kLeft, Edge::kRight);
  given.height = ExtentDetermined(Edge::kHeight, Edge::kTop, Edge::kBottom);
  const DefaultSize size = ControlDefaultSize(DefaultSizeKind(), Style(), given);
  if (size.width.apply)
    SetConstant(static_cast<uint32_t>(Edge::kWidth), size.width.pixels, size.width.dialog_units);
  if (size.height.apply)
    SetConstant(static_cast<uint32_t>(Edge::kHeight), size.height.pixels, size.height.dialog_units);
}

void TextControl::SetText(const String& text) noexcept {
  SetTitle(text);
  RefreshAutomaticTooltip();
}

// ---- Push button, check box, group box ----

Button::Button() noexcept {
  SetClassCode(kWindowClassButton);
  SetPlatformClass(u"Button");
  SetStyle((Style() & 0xFFFF0000u) | kStyleTabStop);
}

Button::~Button() {
  FreeImageList();
  DestroyBitmap(bitmap_);
}

Result Button::ReadType(const char16_t* type) noexcept {
  uint32_t style = Style();
  bool is_default = false;
  const Result result = ButtonTypeStyle(type, style, is_default);
  if (result != kOk) return result;
  SetStyle(style);
  default_button_ = is_default;
  // The dialog answers Enter with its default button.
  if (is_default && Parent() != nullptr && Parent()->IsDialog())
    static_cast<DialogBox*>(Parent())->SetDefaultButton(Id());
  return kOk;
}

Result Button::ReadDescription(const XmlElement* element) noexcept {
  Result result = TextControl::ReadDescription(element);
  if (result != kOk) return result;
  String value;
  if (element->ReadOptionalAttributeText(u"HorizontalAlign", value) == kOk &&
      Is(value.Text(), u"Center")) {
    SetStyle(Style() | kButtonCenter);
  }
  if (element->ReadOptionalAttributeText(u"Picture", value) == kOk) {
    Picture* picture = nullptr;
    result = UiResources().GetPicture(value.Text(), picture);
    if (result != kOk) return result;
    result = SetPicture(picture);
    UiResources().Release(picture);
    if (result != kOk) return result;
  }
  return kOk;
}

Result CheckBox::ReadDescription(const XmlElement* element) noexcept {
  const Result result = Button::ReadDescription(element);
  // After the default size, so that a check box is as high as a button.
  SetStyle((Style() & ~0xFu) | kStyleGroup | kButtonAutoCheckBox);
  return result;
}

GroupBox::GroupBox() noexcept {
  SetClassCode(kWindowClassGroupBox);
  SetStyle(kStyleChild | kStyleVisible | kStyleClipSiblings | kButtonGroupBox);
}

Result GroupBox::ReadDescription(const XmlElement* element) noexcept {
  const Result result = Button::ReadDescription(element);
  // The box is painted beneath the controls it frames.
  if (Parent() != nullptr) Parent()->SetStyle(Parent()->Style() & ~kStyleClipChildren);
  SetStyle((Style() & ~(kStyleTabStop | 0xFFFFu)) | kButtonGroupBox);
  return result;
}

// ---- Edit box ----

EditBox::EditBox() noexcept {
  SetClassCode(kWindowClassEditBox);
  SetPlatformClass(u"Edit");
  SetStyle((Style() & 0xFFFF0000u) | kStyleTabStop | kEditAutoHorizontalScroll);
  SetExStyle(ExStyle() | kExStyleClientEdge);
}

Result EditBox::ReadDescription(const XmlElement* element) noexcept {
  Result result = TextControl::ReadDescription(element);
  if (result != kOk) return result;
  uint32_t style = Style();
  bool flag = false;
  if (element->ReadOptionalAttributeBoolean(u"ReadOnly", flag) == kOk && flag) {
    style = (style | kEditReadOnly) & ~kEditWantReturn;
  }
  if (element->ReadOptionalAttributeBoolean(u"WantReturn", flag) == kOk)
    SetBits(style, kEditWantReturn, flag);
  String value;
  if (element->ReadOptionalAttributeText(u"Case", value) == kOk) {
    if (Is(value.Text(), u"Upper")) {
      style = (style & ~kEditLowerCase) | kEditUpperCase;
    } else if (Is(value.Text(), u"Lower")) {
      style = (style & ~kEditUpperCase) | kEditLowerCase;
    }
  }
  if (element->ReadOptionalAttributeText(u"OnReturn", value) == kOk)
    return_command_ = WindowIdOf(value.Text());
  if (element->ReadOptionalAttributeBoolean(u"Password", flag) == kOk)
    SetBits(style, kEditPassword, flag);
  SetStyle(style);
  return kOk;
}

// ---- Progress bar ----

ProgressBar::ProgressBar() noexcept {
  SetClassCode(kWindowClassProgressBar);
  SetPlatformClass(u"msctls_progress32");
  SetStyle((Style() & 0xFFFF0000u) | kProgressSmooth);
}

// ---- Hyperlink ----

Hyperlink::Hyperlink() noexcept {
  Color link;
  link.system_index = 26;
  SetTextColor(link);
}

Result Hyperlink::ReadDescription(const XmlElement* element) noexcept {
  const Result result = TextControl::ReadDescription(element);
  if (result != kOk) return result;
  // A link that goes nowhere is a fault of the description.
  if (element->ReadOptionalAttributeText(u"Address", address_) != kOk) return kMissingData;
  return kOk;
}

// ---- Picture ----

PictureControl::PictureControl() noexcept {
  SetClassCode(kWindowClassPicture);
  SetToolkitPaints(true);
  SetBackgroundColor(Color::Transparent());
}

PictureControl::~PictureControl() {
  DestroyBitmap(bitmap_);
  delete picture_;
}

Result PictureControl::ReadDescription(const XmlElement* element) noexcept {
  Result result = TextControl::ReadDescription(element);
  if (result != kOk) return result;
  String name;
  if (element->ReadOptionalAttributeText(u"Name", name) != kOk) return kOk;
  Picture* picture = nullptr;
  result = UiResources().GetPicture(name.Text(), picture);
  if (result != kOk) return result;
  result = SetPicture(picture);
  UiResources().Release(picture);
  return result;
}

Result PictureControl::SetPicture(const Picture* picture) noexcept {
  if (picture == nullptr || picture->Width() == 0 || picture->Height() == 0) return kInvalidState;
  Picture* copy = picture->CreateEmpty();
  if (copy == nullptr) return kOutOfMemory;
  const Result result = copy->CopyFrom(picture);
  if (result != kOk) {
    delete copy;
    return result;
  }
  delete picture_;
  picture_ = copy;
  DestroyBitmap(bitmap_);
  SetConstant(static_cast<uint32_t>(Edge::kWidth), static_cast<int32_t>(picture_->Width()));
  SetConstant(static_cast<uint32_t>(Edge::kHeight), static_cast<int32_t>(picture_->Height()));
  // Pictures with transparency let the parent's painting show through.
  const uint32_t format = picture_->Format();
  if ((format == 2 || format == 3 || format == 4 || format == 8) && Parent() != nullptr)
    Parent()->SetStyle(Parent()->Style() & ~kStyleClipChildren);
  if (Exists()) Layout();
  return kOk;
}

// ---- Separator ----

Separator::Separator() noexcept {
  SetClassCode(kWindowClassSeparator);
  SetStyle(Style() | kStaticSunken);
}

}  // namespace vorn
