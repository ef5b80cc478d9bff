#include "ui/page.h"

namespace vorn {

Page::Page() noexcept {
  SetClassCode(kWindowClassPage);
  // Child, clip siblings and the dialog font styles.
  SetStyle(0x4400004C);
  SetBackgroundColor(Color::Transparent());
}

bool Page::PaintsWithOwnerBrush() const noexcept {
  const Color& own = BackgroundColor();
  return Owner() != nullptr && (own.IsTransparent() || own.IsNotSet());
}

}  // namespace vorn
