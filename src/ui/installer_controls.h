// The installer's controls: static texts, push buttons, check boxes, group
// boxes, edit boxes, the progress bar, hyperlinks, pictures and separators.
// Each wraps a platform control, reads its own attributes after the window
// base's and gives itself a default size where the description left one
// open. RegisterInstallerControls plugs them into the window-type table.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"
#include "resources/picture_bitmap.h"
#include "ui/color.h"
#include "ui/control_defaults.h"
#include "ui/progress_scale.h"
#include "ui/window.h"

namespace vorn {

class Picture;

// Registers every control class of this file under its element name
// ("Static", "Button", "CheckBox", "GroupBox", "EditBox", "ProgressBar",
// "URL", "Picture", "Separator", "RichEdit", "ComboBox"). The installer
// calls it once at start-up.
Result RegisterInstallerControls() noexcept;

// Style bits of the static, button and edit classes that the readers set.
enum ControlStyleBits : uint32_t {
  kStaticCenter = 0x1,
  kStaticRight = 0x2,
  kStaticNoPrefix = 0x80,
  kStaticNotify = 0x100,
  kStaticCenterVertically = 0x200,
  kStaticSunken = 0x1000,
  kStaticPathEllipsis = 0x8000,
  kStaticWordEllipsis = 0xC000,
  kStaticEllipsisMask = 0xC000,
  kButtonDefault = 0x1,
  kButtonCenter = 0x300,
  kButtonAutoCheckBox = 0x3,
  kButtonGroupBox = 0x7,
  kButtonPushLike = 0x1000,
  kEditUpperCase = 0x8,
  kEditLowerCase = 0x10,
  kEditPassword = 0x20,
  kEditAutoHorizontalScroll = 0x80,
  kEditReadOnly = 0x800,
  kEditWantReturn = 0x1000,
  kProgressSmooth = 0x1,
  kProgressVertical = 0x4,
};

// The common base: a platform static text by default, with a text colour,
// alignment, ellipsis styles and the element's text as its own.
class TextControl : public Window {
 public:
  TextControl() noexcept;
  const char16_t* TypeName() const noexcept override { return u"Static"; }
  Result ReadDescription(const XmlElement* element) noexcept override;
  bool HandleMessage(WindowMessage& message) noexcept override;

  const String& Text() const noexcept { return Title(); }
  void SetText(const String& text) noexcept;
  const Color& TextColor() const noexcept { return text_color_; }
  void SetTextColor(const Color& color) noexcept { text_color_ = color; }

 protected:
  Result OnCreated() noexcept override;
  // Which default size the control takes after its attributes are read.
  virtual ControlKind DefaultSizeKind() const noexcept { return ControlKind::kStaticText; }
  // Whether the alignment attributes use the static/edit bits.
  virtual bool UsesTextAlignment() const noexcept { return true; }
  void ApplyDefaultSize() noexcept;
  // A static text without ellipsis shows its whole text as its tooltip when
  // the text does not fit.
  void RefreshAutomaticTooltip() noexcept;
  // The colour request reflected from the parent.
  bool HandleControlColor(WindowMessage& message) noexcept;
  // Multi-line static texts are painted by the toolkit so that they show
  // whole lines only, the last one ending in an ellipsis when cut short.
  bool PaintsWholeLines() const noexcept;
  void PaintWholeLines(void* device_context) noexcept;

 private:
  Color text_color_ = Color::NotSet();
};

class StaticText : public TextControl {};

class Button : public TextControl {
 public:
  Button() noexcept;
  const char16_t* TypeName() const noexcept override { return u"Button"; }
  Result ReadDescription(const XmlElement* element) noexcept override;
  Result ReadType(const char16_t* type) noexcept override;
  bool HandleMessage(WindowMessage& message) noexcept override;
  ~Button() override;

  bool Checked() const noexcept;
  void SetChecked(bool checked) noexcept;
  // A copy of the picture becomes the button's image; null removes it.
  Result SetPicture(const Picture* picture) noexcept;
  bool IsDefaultButton() const noexcept { return default_button_; }

 protected:
  ControlKind DefaultSizeKind() const noexcept override { return ControlKind::kPushButton; }
  bool UsesTextAlignment() const noexcept override { return false; }
  Result OnCreated() noexcept override;
  void OnDestroying() noexcept override;
  void ApplyPicture() noexcept;
  void FreeImageList() noexcept;

 private:
  bool default_button_ = false;
  bool checked_ = false;
  PictureBitmap bitmap_;
  void* image_list_ = nullptr;  // the picture as the platform button shows it
};

class CheckBox : public Button {
 public:
  CheckBox() noexcept = default;
  const char16_t* TypeName() const noexcept override { return u"CheckBox"; }
  Result ReadDescription(const XmlElement* element) noexcept override;
};

class GroupBox : public Button {
 public:
  GroupBox() noexcept;
  const char16_t* TypeName() const noexcept override { return u"GroupBox"; }
  Result ReadDescription(const XmlElement* element) noexcept override;
};

class EditBox : public TextControl {
 public:
  EditBox() noexcept;
  const char16_t* TypeName() const noexcept override { return u"EditBox"; }
  Result ReadDescription(const XmlElement* element) noexcept override;
  bool HandleMessage(WindowMessage& message) noexcept override;
  bool PreTranslate(void* platform_message) noexcept override;
  // The platform window's text when it exists, else the description's.
  String CurrentText() const noexcept;
  WindowId ReturnCommand() const noexcept { return return_command_; }

 protected:
  ControlKind DefaultSizeKind() const noexcept override { return ControlKind::kEditBox; }
  Result OnCreated() noexcept override;

 private:
  WindowId return_command_ = kNoWindowId;
};

class ProgressBar : public TextControl {
 public:
  ProgressBar() noexcept;
  const char16_t* TypeName() const noexcept override { return u"ProgressBar"; }
  ProgressScale& Scale() noexcept { return scale_; }
  // Posts the position for `value` units of the current step; negative
  // values are ignored. The taskbar button mirrors it until the work is
  // done, then its progress is removed.
  void SetProgress(double value) noexcept;
  uint32_t LastPosition() const noexcept { return last_position_; }

 protected:
  ControlKind DefaultSizeKind() const noexcept override { return ControlKind::kProgressBar; }
  Result OnCreated() noexcept override;

 private:
  ProgressScale scale_;
  uint32_t last_position_ = 0;
  bool taskbar_started_ = false;
};

class Hyperlink : public TextControl {
 public:
  Hyperlink() noexcept;
  const char16_t* TypeName() const noexcept override { return u"URL"; }
  Result ReadDescription(const XmlElement* element) noexcept override;
  bool HandleMessage(WindowMessage& message) noexcept override;
  const String& Address() const noexcept { return address_; }
  void SetAddress(const String& address) noexcept { address_ = address; }
  void SetSubject(const String& subject) noexcept { subject_ = subject; }
  void SetBody(const String& body) noexcept { body_ = body; }
  // What a click does: shell open or navigate inside the program.
  void Open() noexcept;

 protected:
  ControlKind DefaultSizeKind() const noexcept override { return ControlKind::kHyperlink; }
  Result OnCreated() noexcept override;
  void OnDestroying() noexcept override;
  bool TextHit(int32_t x, int32_t y) noexcept;

 private:
  void* underlined_font_ = nullptr;  // made when the control has no font of its own
  String address_;
  String subject_;
  String body_;
};

class PictureControl : public TextControl {
 public:
  PictureControl() noexcept;
  ~PictureControl() override;
  const char16_t* TypeName() const noexcept override { return u"Picture"; }
  Result ReadDescription(const XmlElement* element) noexcept override;
  // Copies the picture; its size becomes the control's constant size. 32
  // without a picture.
  Result SetPicture(const Picture* picture) noexcept;
  const Picture* CurrentPicture() const noexcept { return picture_; }
  void Paint(void* device_context, int32_t left, int32_t top, int32_t right,
             int32_t bottom) noexcept override;

 protected:
  void OnDestroying() noexcept override;

 private:
  Picture* picture_ = nullptr;
  PictureBitmap bitmap_;
};

class Separator : public TextControl {
 public:
  Separator() noexcept;
  const char16_t* TypeName() const noexcept override { return u"Separator"; }

 protected:
  ControlKind DefaultSizeKind() const noexcept override { return ControlKind::kSeparator; }
};

}  // namespace vorn
