// The tab control on Windows: tabs, the picture strip, placing and showing
// the pages, keys, the selection-changed notification and the themed
// background its pages paint with.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "foundation/system_library.h"
#include "resources/picture.h"
#include "resources/picture_bitmap.h"
#include "ui/control_text_win.h"
#include "ui/page.h"
#include "ui/picture_strip_win.h"
#include "ui/tab_control.h"

namespace vorn {
namespace {

using IsAppThemedFunction = BOOL(WINAPI*)();

// Looked up once: systems before XP have no themes library, and on XP the
// user may have switched themes off.
bool ApplicationThemed() noexcept {
  static bool looked_up = false;
  static IsAppThemedFunction entry = nullptr;
  if (!looked_up) {
    looked_up = true;
    // Kept loaded for the life of the process; from the system folder only.
    void* module = LoadSystemLibrary(u"uxtheme.dll");
    entry = reinterpret_cast<IsAppThemedFunction>(SystemLibraryFunction(module, "IsAppThemed"));
  }
  return entry != nullptr && entry() != FALSE;
}

}  // namespace

void* TabControl::BackgroundBrush() noexcept {
  if (themed_brush_ != nullptr) return themed_brush_;
  return TextControl::BackgroundBrush();
}

void TabControl::FreeThemedBackground() noexcept {
  if (themed_brush_ != nullptr) DeleteObject(static_cast<HBRUSH>(themed_brush_));
  if (themed_bitmap_ != nullptr) DeleteObject(static_cast<HBITMAP>(themed_bitmap_));
  themed_brush_ = nullptr;
  themed_bitmap_ = nullptr;
}

void TabControl::BuildThemedBackground() noexcept {
  FreeThemedBackground();
  if (!Exists() || !ApplicationThemed()) return;
  HWND window = static_cast<HWND>(Handle());
  RECT outer = {};
  GetWindowRect(window, &outer);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  if (width <= 0 || height <= 0) return;
  HDC screen = GetDC(window);
  if (screen == nullptr) return;
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = memory != nullptr ? CreateCompatibleBitmap(screen, width, height) : nullptr;
  if (bitmap != nullptr) {
    // The themed tab body is a picture, not a colour: the control paints
    // itself (frame, background, body) and the picture becomes the brush.
    HGDIOBJ previous = SelectObject(memory, bitmap);
    SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(memory),
                 PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND);
    SelectObject(memory, previous);
    HBRUSH brush = CreatePatternBrush(bitmap);
    if (brush != nullptr) {
      themed_bitmap_ = bitmap;
      themed_brush_ = brush;
    } else {
      DeleteObject(bitmap);
    }
  }
  if (memory != nullptr) DeleteDC(memory);
  ReleaseDC(window, screen);
}

Result TabControl::OnCreated() noexcept {
  HWND window = static_cast<HWND>(Handle());
  if (image_list_ == nullptr) {
    image_list_ = MakePictureStripImageList(strip_, item_width_);
    if (image_list_ != nullptr)
      SendMessageW(window, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(image_list_));
  }
  BuildThemedBackground();
  for (uint32_t i = 0; i < count_; ++i) AddTab(i);
  return TextControl::OnCreated();
}

void TabControl::AddTab(uint32_t index) noexcept {
  Page* page = pages_[index].page;
  page->SetOwner(this);
  if (page->Parent() != Parent()) page->Attach(Parent());
  PlacePage(index);
  if (!page->Exists()) page->Create(nullptr);
  page->Enable(false);
  TCITEMW item = {};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(ControlWideText(page->Title()));
  if (pages_[index].image >= 0) {
    item.mask |= TCIF_IMAGE;
    item.iImage = pages_[index].image;
  }
  HWND window = static_cast<HWND>(Handle());
  SendMessageW(window, TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item));
  // The first tab gives the control its header row: the body moves down.
  if (index == 0) BuildThemedBackground();
  if (index == 0) Select(0, true);
  InvalidateRect(window, nullptr, TRUE);
}

void TabControl::PlacePage(uint32_t index) noexcept {
  Page* page = pages_[index].page;
  RECT area = {};
  GetClientRect(static_cast<HWND>(Handle()), &area);
  SendMessageW(static_cast<HWND>(Handle()), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  page->SetConstant(static_cast<uint32_t>(Edge::kLeft), Value(Edge::kLeft) + area.left - 2);
  page->SetConstant(static_cast<uint32_t>(Edge::kTop), Value(Edge::kTop) + area.top);
  page->SetConstant(static_cast<uint32_t>(Edge::kWidth), area.right - area.left + 2);
  page->SetConstant(static_cast<uint32_t>(Edge::kHeight), area.bottom - area.top);
  page->Layout();
}

void TabControl::ShowPage(int32_t index, bool focus) noexcept {
  if (index < 0 || static_cast<uint32_t>(index) >= count_) return;
  Page* page = pages_[index].page;
  PlacePage(static_cast<uint32_t>(index));
  if (!page->Exists()) page->Create(nullptr);
  page->Enable(true);
  SetWindowPos(static_cast<HWND>(page->Handle()), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  page->Show(true);
  if (focus) SetFocus(static_cast<HWND>(page->Handle()));
  if (selected_ >= 0 && selected_ != index && static_cast<uint32_t>(selected_) < count_) {
    Page* previous = pages_[selected_].page;
    previous->Show(false);
    previous->Enable(false);
  }
  selected_ = index;
}

void TabControl::Select(int32_t index, bool focus) noexcept {
  if (index < 0 || static_cast<uint32_t>(index) >= count_) return;
  if (Exists()) SendMessageW(static_cast<HWND>(Handle()), TCM_SETCURSEL, index, 0);
  ShowPage(index, focus);
}

void TabControl::OnDestroying() noexcept {
  if (Exists()) SendMessageW(static_cast<HWND>(Handle()), TCM_DELETEALLITEMS, 0, 0);
  for (uint32_t i = 0; i < count_; ++i) pages_[i].page->Destroy();
  selected_ = -1;
  if (image_list_ != nullptr) {
    ImageList_Destroy(static_cast<HIMAGELIST>(image_list_));
    image_list_ = nullptr;
  }
  FreeThemedBackground();
}

bool TabControl::HandleMessage(WindowMessage& message) noexcept {
  if (message.handle == Handle()) {
    if (message.message == WM_KEYDOWN) {
      const bool control = (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
      const bool back = message.wparam == VK_LEFT || (control && message.wparam == VK_PRIOR);
      const bool next = message.wparam == VK_RIGHT || (control && message.wparam == VK_NEXT);
      if (back || next) {
        const int32_t target = NeighbourTab(count_, selected_, next);
        if (target >= 0) Select(target, false);
        message.result = 0;
        return true;
      }
    } else if (message.message == WM_SIZE) {
      BuildThemedBackground();
      if (selected_ >= 0) {
        PlacePage(static_cast<uint32_t>(selected_));
        // The page repaints with the new picture of the tab body.
        Page* page = pages_[selected_].page;
        if (page->Exists()) {
          RedrawWindow(static_cast<HWND>(page->Handle()), nullptr, nullptr,
                       RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
        }
      }
    } else if (message.message == WM_THEMECHANGED) {
      BuildThemedBackground();
    }
  } else if (message.message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(message.lparam);
    if (header->code == static_cast<UINT>(TCN_SELCHANGE)) {
      ShowPage(static_cast<int32_t>(SendMessageW(static_cast<HWND>(Handle()), TCM_GETCURSEL, 0, 0)),
               true);
      message.result = 0;
      return true;
    }
  }
  return TextControl::HandleMessage(message);
}

}  // namespace vorn
