// The rich edit and the combo box without a window system: the state only.
#include "ui/page_controls.h"

namespace vorn {

RichEdit::RichEdit() noexcept {
  SetClassCode(kWindowClassRichEdit);
  SetPlatformClass(u"RichEdit20W");
  SetStyle((Style() & 0xFFFF0000u) | 0x04211044u);
}
Result RichEdit::OnCreated() noexcept {
  return kOk;
}
void RichEdit::ShowStoredText() noexcept {}
void RichEdit::FollowLink(uint32_t, uint32_t) noexcept {}
void RichEdit::ShowContextMenu(int32_t, int32_t) noexcept {}
bool RichEdit::HandleMessage(WindowMessage& message) noexcept {
  return EditBox::HandleMessage(message);
}

Result ComboBox::OnCreated() noexcept {
  return kOk;
}
void ComboBox::OnDestroying() noexcept {}
int32_t ComboBox::Selection() const noexcept {
  return selection_;
}

}  // namespace vorn
