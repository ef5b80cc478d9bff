// The controls without a window system: no platform window ever exists, so
// only the state the descriptions and the program set is kept.
#include "ui/installer_controls.h"

namespace vorn {

Result TextControl::OnCreated() noexcept {
  return kOk;
}
void TextControl::RefreshAutomaticTooltip() noexcept {}
bool TextControl::HandleControlColor(WindowMessage&) noexcept {
  return false;
}
bool TextControl::HandleMessage(WindowMessage& message) noexcept {
  return Window::HandleMessage(message);
}

Result Button::SetPicture(const Picture* picture) noexcept {
  DestroyBitmap(bitmap_);
  return picture != nullptr ? MakeBitmap(picture, false, bitmap_) : kOk;
}
void Button::ApplyPicture() noexcept {}
void Button::FreeImageList() noexcept {}
Result Button::OnCreated() noexcept {
  return kOk;
}
void Button::OnDestroying() noexcept {}
bool Button::Checked() const noexcept {
  return checked_;
}
void Button::SetChecked(bool checked) noexcept {
  checked_ = checked;
}
bool Button::HandleMessage(WindowMessage& message) noexcept {
  return TextControl::HandleMessage(message);
}

Result EditBox::OnCreated() noexcept {
  return kOk;
}
String EditBox::CurrentText() const noexcept {
  return Title();
}
bool EditBox::PreTranslate(void* platform_message) noexcept {
  return TextControl::PreTranslate(platform_message);
}
bool EditBox::HandleMessage(WindowMessage& message) noexcept {
  return TextControl::HandleMessage(message);
}

Result ProgressBar::OnCreated() noexcept {
  return kOk;
}
void ProgressBar::SetProgress(double value) noexcept {
  ProgressPosition position;
  if (scale_.Compute(value, position)) last_position_ = position.position;
}

Result Hyperlink::OnCreated() noexcept {
  return kOk;
}
void Hyperlink::OnDestroying() noexcept {}
bool Hyperlink::TextHit(int32_t, int32_t) noexcept {
  return false;
}
void Hyperlink::Open() noexcept {}
bool Hyperlink::HandleMessage(WindowMessage& message) noexcept {
  return TextControl::HandleMessage(message);
}

void PictureControl::Paint(void*, int32_t, int32_t, int32_t, int32_t) noexcept {}
void PictureControl::OnDestroying() noexcept {}

}  // namespace vorn
