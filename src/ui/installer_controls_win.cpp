// The controls on Windows: colours, the automatic tooltip, button pictures
// and check states, Enter in edit boxes, the progress position and its
// taskbar mirror, hyperlink hit testing and opening, picture painting.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
// clang-format on

#include "application/application_core.h"
#include "application/application_window.h"
#include "resources/picture.h"
#include "ui/control_text_win.h"
#include "ui/hyperlink_address.h"
#include "ui/installer_controls.h"
#include "ui/taskbar.h"

namespace vorn {
namespace {

// The control's font selected into a screen device context for measuring.
class MeasuringContext {
 public:
  explicit MeasuringContext(HWND window) noexcept : window_(window), dc_(GetDC(window)) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    if (dc_ != nullptr && font != nullptr) old_ = SelectObject(dc_, font);
  }
  ~MeasuringContext() {
    if (dc_ == nullptr) return;
    if (old_ != nullptr) SelectObject(dc_, old_);
    ReleaseDC(window_, dc_);
  }
  HDC Get() const noexcept { return dc_; }

 private:
  HWND window_;
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

bool OlderThanVista() noexcept {
  return LOBYTE(LOWORD(GetVersion())) < 6;
}

}  // namespace

// ---- Text control ----

Result TextControl::OnCreated() noexcept {
  RefreshAutomaticTooltip();
  return kOk;
}

void TextControl::RefreshAutomaticTooltip() noexcept {
  if (ClassCode() != kWindowClassStatic || !Exists()) return;
  if ((Style() & kStaticEllipsisMask) != 0) return;
  HWND window = static_cast<HWND>(Handle());
  RECT client = {};
  GetClientRect(window, &client);
  const String& text = Title();
  bool fits = true;
  if (text.Length() != 0) {
    MeasuringContext context(window);
    if (context.Get() == nullptr) return;
    UINT format = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS;
    if ((Style() & kStaticNoPrefix) != 0) format |= DT_NOPREFIX;
    RECT needed = {0, 0, client.right - client.left, 0};
    DrawTextW(context.Get(), ControlWideText(text), static_cast<int>(text.Length()), &needed,
              format);
    fits = needed.right - needed.left <= client.right - client.left &&
           needed.bottom - needed.top <= client.bottom - client.top;
  }
  SetTooltip(fits ? String() : text);
}

bool TextControl::HandleControlColor(WindowMessage& message) noexcept {
  HDC dc = reinterpret_cast<HDC>(message.wparam);
  // The parent's default colours first, then the control's own.
  message.result = DefWindowProcW(static_cast<HWND>(message.handle), message.message,
                                  message.wparam, message.lparam);
  if (!text_color_.IsNotSet()) ::SetTextColor(dc, ControlColorRef(ResolveColor(text_color_)));
  const Color& background = BackgroundColor();
  const bool opaque = !background.IsNotSet() && !background.IsTransparent();
  if (opaque) {
    SetBkColor(dc, ControlColorRef(ResolveColor(background)));
    if (void* brush = BackgroundBrush()) message.result = reinterpret_cast<intptr_t>(brush);
    return true;
  }
  if (ClassCode() == kWindowClassEditBox && !background.IsTransparent()) return true;
  Window* parent = Parent();
  void* brush = parent != nullptr ? parent->BackgroundBrush() : nullptr;
  if (brush == nullptr || parent->Handle() == nullptr) return true;
  // The parent's brush lined up with the parent, so its gradient continues
  // behind the control.
  POINT origin = {0, 0};
  MapWindowPoints(static_cast<HWND>(Handle()), static_cast<HWND>(parent->Handle()), &origin, 1);
  SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
  SetBkMode(dc, TRANSPARENT);
  message.result = reinterpret_cast<intptr_t>(brush);
  return true;
}

bool TextControl::HandleMessage(WindowMessage& message) noexcept {
  switch (message.message) {
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      // Reflected from the parent: the message names the parent's window.
      if (message.handle != Handle()) return HandleControlColor(message);
      break;
    case WM_SETTEXT:
      break;
    default:
      break;
  }
  return Window::HandleMessage(message);
}

// ---- Push button ----

Result Button::SetPicture(const Picture* picture) noexcept {
  DestroyBitmap(bitmap_);
  if (picture == nullptr) {
    ApplyPicture();
    return kOk;
  }
  Result result = kOk;
  if (OlderThanVista() && picture->Format() == 8) {
    // Older systems draw button images without alpha: compose over the
    // dialog face first.
    Picture* composed = picture->CreateEmpty();
    if (composed == nullptr) return kOutOfMemory;
    result = composed->CopyFrom(picture);
    if (result == kOk) {
      const COLORREF face = GetSysColor(COLOR_BTNFACE);
      const uint32_t back[3] = {GetRValue(face), GetGValue(face), GetBValue(face)};
      for (uint32_t i = 0; i < composed->PixelCount(); ++i) {
        const uint32_t rgba = composed->GetPixel(i);
        const uint32_t alpha = rgba >> 24;
        uint32_t out = 0xFF000000u;
        for (uint32_t c = 0; c < 3; ++c) {
          const uint32_t value = (rgba >> (8 * c)) & 0xFF;
          out |= ((value * alpha + back[c] * (255 - alpha) + 127) / 255) << (8 * c);
        }
        composed->SetPixel(i, out);
      }
      result = MakeBitmap(composed, false, bitmap_);
    }
    delete composed;
  } else {
    result = MakeBitmap(picture, false, bitmap_);
  }
  ApplyPicture();
  return result;
}

void Button::ApplyPicture() noexcept {
  if (!Exists()) return;
  SendMessageW(static_cast<HWND>(Handle()), BM_SETIMAGE, IMAGE_BITMAP,
               reinterpret_cast<LPARAM>(bitmap_.handle));
}

Result Button::OnCreated() noexcept {
  if (checked_) SendMessageW(static_cast<HWND>(Handle()), BM_SETCHECK, BST_CHECKED, 0);
  if (bitmap_.handle != nullptr) ApplyPicture();
  return TextControl::OnCreated();
}

void Button::OnDestroying() noexcept {
  checked_ = Checked();
}

bool Button::Checked() const noexcept {
  if (!Exists()) return checked_;
  return SendMessageW(static_cast<HWND>(Handle()), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Button::SetChecked(bool checked) noexcept {
  checked_ = checked;
  if (Exists())
    SendMessageW(static_cast<HWND>(Handle()), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED,
                 0);
}

bool Button::HandleMessage(WindowMessage& message) noexcept {
  return TextControl::HandleMessage(message);
}

// ---- Edit box ----

Result EditBox::OnCreated() noexcept {
  return TextControl::OnCreated();
}

String EditBox::CurrentText() const noexcept {
  if (!Exists()) return Title();
  return PlatformWindowText(static_cast<HWND>(Handle()));
}

bool EditBox::PreTranslate(void* platform_message) noexcept {
  const MSG* message = static_cast<const MSG*>(platform_message);
  if (message->hwnd == Handle() && message->message == WM_KEYDOWN && message->wParam == VK_RETURN &&
      return_command_ != kNoWindowId && Parent() != nullptr && Parent()->Exists()) {
    // The command arrives like a click on a button, with the edit box as sender.
    PostMessageW(static_cast<HWND>(Parent()->Handle()), WM_COMMAND, return_command_,
                 reinterpret_cast<LPARAM>(Handle()));
    return true;
  }
  return TextControl::PreTranslate(platform_message);
}

bool EditBox::HandleMessage(WindowMessage& message) noexcept {
  if (message.message == WM_GETDLGCODE && message.handle == Handle() &&
      (Style() & ES_MULTILINE) != 0) {
    // Focus reaching a multi-line box leaves its text unselected.
    message.result = CallDefault(message) & ~static_cast<intptr_t>(DLGC_HASSETSEL);
    return true;
  }
  return TextControl::HandleMessage(message);
}

// ---- Progress bar ----

Result ProgressBar::OnCreated() noexcept {
  HWND window = static_cast<HWND>(Handle());
  if (ProgressIsVertical(Value(Edge::kWidth), Value(Edge::kHeight))) {
    SetStyle(Style() | kProgressVertical);
    SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(window, GWL_STYLE) | kProgressVertical);
  }
  SendMessageW(window, PBM_SETRANGE32, 0, kProgressRange);
  return TextControl::OnCreated();
}

void ProgressBar::SetProgress(double value) noexcept {
  ProgressPosition position;
  if (!scale_.Compute(value, position)) return;
  last_position_ = position.position;
  if (Exists()) PostMessageW(static_cast<HWND>(Handle()), PBM_SETPOS, position.position, 0);
  const ApplicationWindow* main = ApplicationCore::Get().MainWindow();
  void* main_handle = main != nullptr ? main->SystemHandle() : nullptr;
  if (main_handle == nullptr) return;
  Taskbar& taskbar = Taskbar::Get();
  if (position.done) {
    if (taskbar_started_) taskbar.SetState(main_handle, Taskbar::kNoProgress);
    taskbar_started_ = false;
    return;
  }
  if (!taskbar_started_) {
    taskbar.SetState(main_handle, Taskbar::kNormal);
    taskbar_started_ = true;
  }
  taskbar.SetProgress(main_handle, position.position, kProgressRange);
}

// ---- Hyperlink ----

Result Hyperlink::OnCreated() noexcept {
  // Some desktop themes leave the hyperlink colour nearly white; a link
  // must stay readable on a light window.
  const Color& color = TextColor();
  if (color.IsSystem() && color.system_index == COLOR_HOTLIGHT) {
    const COLORREF link = GetSysColor(COLOR_HOTLIGHT);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const auto luminance = [](COLORREF value) {
      return (GetRValue(value) * 299 + GetGValue(value) * 587 + GetBValue(value) * 114) / 1000;
    };
    const int difference = static_cast<int>(luminance(link)) - static_cast<int>(luminance(window));
    if (difference > -96 && difference < 96) {
      Color readable;
      readable.rgba = 0xFFCC6600u;  // #0066CC
      SetTextColor(readable);
    }
  }
  if (Font() == nullptr) {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
      metrics.lfMessageFont.lfUnderline = TRUE;
      HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
      if (font != nullptr) {
        underlined_font_ = font;
        SendMessageW(static_cast<HWND>(Handle()), WM_SETFONT, reinterpret_cast<WPARAM>(font),
                     FALSE);
      }
    }
  }
  return TextControl::OnCreated();
}

void Hyperlink::OnDestroying() noexcept {
  if (underlined_font_ != nullptr) {
    DeleteObject(static_cast<HFONT>(underlined_font_));
    underlined_font_ = nullptr;
  }
}

bool Hyperlink::TextHit(int32_t x, int32_t y) noexcept {
  HWND window = static_cast<HWND>(Handle());
  RECT client = {};
  GetClientRect(window, &client);
  MeasuringContext context(window);
  if (context.Get() == nullptr) return true;
  const String& text = Title();
  const char16_t* at = text.Text();
  const char16_t* end = at + text.Length();
  int32_t line_top = 0;
  for (uint32_t line = 0; line < 257; ++line) {
    const char16_t* stop = at;
    while (stop < end && *stop != u'\n') ++stop;
    SIZE size = {0, 0};
    if (stop > at) {
      GetTextExtentPoint32W(context.Get(), reinterpret_cast<const wchar_t*>(at),
                            static_cast<int>(stop - at), &size);
    } else {
      TEXTMETRICW metrics = {};
      GetTextMetricsW(context.Get(), &metrics);
      size.cy = metrics.tmHeight;
    }
    int32_t left = 0;
    const int32_t width = client.right - client.left;
    if ((Style() & kStaticCenter) != 0) {
      left = (width - size.cx) / 2;
    } else if ((Style() & kStaticRight) != 0) {
      left = width - size.cx;
    }
    if (y >= line_top && y < line_top + size.cy && x >= left && x < left + size.cx) return true;
    line_top += size.cy;
    if (stop >= end) break;
    at = stop + 1;
  }
  return false;
}

void Hyperlink::Open() noexcept {
  const LinkOpening opening = HyperlinkOpening(address_, subject_, body_);
  if (opening.action == LinkAction::kNavigate) {
    if (Parent() != nullptr) Parent()->Navigate(opening.target.Text());
    return;
  }
  ShellExecuteW(static_cast<HWND>(Handle()), L"open", ControlWideText(opening.target), nullptr,
                nullptr, SW_SHOWNORMAL);
}

bool Hyperlink::HandleMessage(WindowMessage& message) noexcept {
  if (message.handle == Handle()) {
    switch (message.message) {
      case WM_NCHITTEST: {
        POINT point = {static_cast<int16_t>(LOWORD(message.lparam)),
                       static_cast<int16_t>(HIWORD(message.lparam))};
        ScreenToClient(static_cast<HWND>(Handle()), &point);
        message.result = TextHit(point.x, point.y) ? HTCLIENT : HTTRANSPARENT;
        return true;
      }
      case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        message.result = TRUE;
        return true;
      case WM_LBUTTONDOWN:
        Open();
        message.result = 0;
        return true;
      default:
        break;
    }
  }
  return TextControl::HandleMessage(message);
}

// ---- Picture ----

void PictureControl::Paint(void* device_context, int32_t, int32_t, int32_t, int32_t) noexcept {
  if (picture_ == nullptr) return;
  if (bitmap_.handle == nullptr && MakeBitmap(picture_, true, bitmap_) != kOk) return;
  DrawBitmap(device_context, bitmap_);
}

void PictureControl::OnDestroying() noexcept {
  DestroyBitmap(bitmap_);
}

}  // namespace vorn
