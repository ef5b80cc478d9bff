#include "ui/dialog_box.h"

#include "application/application_core.h"
#include "xml/xml_element.h"
#include "xml/xml_text.h"

namespace vorn {
namespace {

struct DialogType {
  const char16_t* name;
  uint32_t style;
  uint32_t ex_style;
};

constexpr DialogType kDialogTypes[] = {
    {u"Popup", 0x96C800CC, 0x00000101},
    {u"StatusPopup", 0x964000CC, 0x00000101},
    {u"SimplePopup", 0x96C0004C, 0},
    {u"ThinPopup", 0x9680004C, 0},
};

WantSetting ReadWant(const XmlElement& element, const char16_t* name,
                     WantSetting current) noexcept {
  bool value = false;
  if (element.ReadOptionalAttributeBoolean(name, value) != kOk) return current;
  return value ? WantSetting::kTrue : WantSetting::kFalse;
}

}  // namespace

DialogBox::DialogBox() noexcept {
  SetIsDialog(true);
  SetExStyle(ExStyle() | kExStyleControlParent);
  SetBackgroundColor(Color::System(15));
  SetTitle(ApplicationCore::Get().Description().name);
}

Result DialogBox::ReadDescription(const XmlElement* element) noexcept {
  const Result result = Window::ReadDescription(element);
  if (element == nullptr) return result;
  want_ok_ = ReadWant(*element, u"WantOK", want_ok_);
  want_cancel_ = ReadWant(*element, u"WantCancel", want_cancel_);
  return result;
}

Result DialogBox::ReadType(const char16_t* type) noexcept {
  for (const DialogType& entry : kDialogTypes) {
    if (!XmlTextEquals(type, entry.name)) continue;
    if (WrapsPlatformControl()) return kOk;
    SetStyle(entry.style);
    SetExStyle(entry.ex_style);
    SetBackgroundColor(Color::System(15));
    SetConstant(static_cast<uint32_t>(Edge::kLeft), 0);
    SetConstant(static_cast<uint32_t>(Edge::kTop), 0);
    SetConstant(static_cast<uint32_t>(Edge::kWidth), 128);
    SetConstant(static_cast<uint32_t>(Edge::kHeight), 128);
    return kOk;
  }
  return Window::ReadType(type);
}

bool DialogBox::CanBeCancelled() const noexcept {
  const WindowId standard[] = {1, 2, kOkId, kCancelId};
  for (WindowId id : standard) {
    if (FindChild(id) != nullptr) return true;
  }
  return SystemMenuCloseEnabled();
}

bool DialogBox::AcceptsClose() const noexcept {
  if (Owner() != nullptr) return false;
  return EndsOnCancel();
}

bool DialogBox::EndsOnOK() const noexcept {
  return want_ok_ == WantSetting::kTrue || (want_ok_ == WantSetting::kNotGiven && CanBeCancelled());
}

bool DialogBox::EndsOnCancel() const noexcept {
  return want_cancel_ == WantSetting::kTrue ||
         (want_cancel_ == WantSetting::kNotGiven && CanBeCancelled());
}

void DialogBox::OnOK() noexcept {
  if (EndsOnOK()) EndDialog(kOkId);
}

void DialogBox::OnCancel() noexcept {
  if (EndsOnCancel()) EndDialog(kCancelId);
}

void DialogBox::OnClose() noexcept {
  if (AcceptsClose()) EndDialog(kCancelId);
}

void DialogBox::EndDialog(WindowId result) noexcept {
  if (!MayClose()) return;
  result_ = result;
  if (modal_) {
    ended_ = true;
    WakeLoop();
    return;
  }
  ended_ = true;
  accepted_pending_ = result == kOkId;
  if (Exists()) Destroy();
}

}  // namespace vorn
