#include <windows.h>

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
      // The owner's brush, aligned with the owner: its origin moves by the
      // page's offset inside the owner.
      POINT offset{0, 0};
      MapWindowPoints(static_cast<HWND>(Handle()), static_cast<HWND>(Owner()->Handle()), &offset,
                      1);
      POINT previous{};
      SetBrushOrgEx(context, -offset.x, -offset.y, &previous);
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
