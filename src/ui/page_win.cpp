#include <windows.h>

#include "ui/background_brush_win.h"
#include "ui/page.h"

namespace vorn {

void* Page::BackgroundBrush() noexcept {
  if (PaintsWithOwnerBrush()) return Owner()->BackgroundBrush();
  return DialogBox::BackgroundBrush();
}

bool Page::HandleMessage(WindowMessage& message) noexcept {
  if (message.message == WM_ERASEBKGND && PaintsWithOwnerBrush() && Handle() != nullptr &&
      Owner()->Handle() != nullptr) {
    void* brush = Owner()->BackgroundBrush();
    if (brush != nullptr) {
      HDC context = reinterpret_cast<HDC>(message.wparam);
      // The owner's brush, aligned with the window it belongs to: its
      // origin moves by the page's offset inside that window.
      POINT previous{};
      GetBrushOrgEx(context, &previous);
      AlignBrush(context, static_cast<HWND>(Handle()), this, brush);
      RECT client{};
      GetClientRect(static_cast<HWND>(Handle()), &client);
      FillRect(context, &client, static_cast<HBRUSH>(brush));
      SetBrushOrgEx(context, previous.x, previous.y, nullptr);
      message.result = 1;
      return true;
    }
  }
  return DialogBox::HandleMessage(message);
}

}  // namespace vorn
