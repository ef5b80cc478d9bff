// The rich edit and the combo box on Windows.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>
#include <shellapi.h>
// clang-format on

#include "application/application_core.h"
#include "application/application_window.h"
#include "foundation/system_library.h"
#include "resources/localized_text.h"
#include "resources/picture.h"
#include "resources/picture_bitmap.h"
#include "resources/resource_manager.h"
#include "ui/control_text_win.h"
#include "ui/picture_strip_win.h"
#include "ui/hyperlink_address.h"
#include "ui/page_controls.h"
#include "ui/window_services.h"
#include "xml/xml_element.h"

namespace vorn {
namespace {

constexpr uint32_t kRichEditStyle = 0x04211044;
// Long item texts end with an ellipsis (not declared for every target version).
constexpr LPARAM kComboTextEndEllipsis = 0x20;

}  // namespace

// ---- Rich edit ----

RichEdit::RichEdit() noexcept {
  // The class exists once its library is loaded; it stays for the process.
  static void* library = LoadSystemLibrary(u"riched20.dll");
  (void)library;
  SetClassCode(kWindowClassRichEdit);
  SetPlatformClass(u"RichEdit20W");
  SetStyle((Style() & 0xFFFF0000u) | kRichEditStyle);
}

Result RichEdit::OnCreated() noexcept {
  HWND window = static_cast<HWND>(Handle());
  SendMessageW(window, EM_SETEVENTMASK, 0, ENM_LINK | (bottomless_ ? ENM_REQUESTRESIZE : 0));
  const Color& background = BackgroundColor();
  if (!background.IsNotSet() && !background.IsTransparent())
    SendMessageW(window, EM_SETBKGNDCOLOR, 0, ControlColorRef(ResolveColor(background)));
  if (detect_urls_) SendMessageW(window, EM_AUTOURLDETECT, TRUE, 0);
  SendMessageW(window, EM_SETTYPOGRAPHYOPTIONS, TO_ADVANCEDTYPOGRAPHY, TO_ADVANCEDTYPOGRAPHY);
  ShowStoredText();
  return EditBox::OnCreated();
}

void RichEdit::ShowStoredText() noexcept {
  if (!Exists()) return;
  HWND window = static_cast<HWND>(Handle());
  switch (text_mode_) {
    case RichTextMode::kDefault:
      SetWindowTextW(window, ControlWideText(stored_));
      break;
    case RichTextMode::kPlain:
      if ((SendMessageW(window, EM_GETTEXTMODE, 0, 0) & TM_PLAINTEXT) == 0) {
        SendMessageW(window, WM_SETREDRAW, FALSE, 0);
        SetWindowTextW(window, L"");
        SendMessageW(window, EM_SETTEXTMODE, TM_PLAINTEXT, 0);
        SendMessageW(window, WM_SETREDRAW, TRUE, 0);
      }
      SetWindowTextW(window, ControlWideText(stored_));
      break;
    case RichTextMode::kFormatted:
      ShowFormattedText(window, formatted_);
      break;
  }
  if (bottomless_) SendMessageW(window, EM_REQUESTRESIZE, 0, 0);
}

void RichEdit::FollowLink(uint32_t first, uint32_t end) noexcept {
  String target;
  const int32_t link = text_mode_ == RichTextMode::kFormatted ? formatted_.LinkAt(first) : -1;
  if (link >= 0) {
    target = formatted_.LinkTarget(static_cast<uint32_t>(link));
  } else if (end > first && end - first < 4096) {
    wchar_t buffer[4096] = {};
    TEXTRANGEW range = {{static_cast<LONG>(first), static_cast<LONG>(end)}, buffer};
    SendMessageW(static_cast<HWND>(Handle()), EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    target = reinterpret_cast<const char16_t*>(buffer);
  }
  if (target.IsEmpty()) return;
  const LinkOpening opening = RichEditLinkOpening(target);
  if (opening.action == LinkAction::kPostCommand) {
    const ApplicationWindow* main = ApplicationCore::Get().MainWindow();
    if (main != nullptr && main->SystemHandle() != nullptr)
      PostMessageW(static_cast<HWND>(main->SystemHandle()), WM_COMMAND, opening.command, 0);
    return;
  }
  ShellExecuteW(static_cast<HWND>(Handle()), L"open", ControlWideText(opening.target), nullptr,
                nullptr, SW_SHOWNORMAL);
}

namespace {

// Builds the "RichEditMenu" description into a popup menu: its groups
// separated by lines, each command shown and enabled by the control's state.
HMENU BuildRichEditMenu(const RichEditMenuState& state) noexcept {
  ResourceManager& resources = UiResources();
  XmlElement* menu = nullptr;
  if (resources.GetElement(u"Menu", u"RichEditMenu", menu) != kOk) return nullptr;
  HMENU popup = CreatePopupMenu();
  bool separate = false;
  for (const XmlElement* group = menu->FirstChild(); popup && group; group = group->NextSibling()) {
    if (group->Name() == nullptr) continue;
    bool any = false;
    for (const XmlElement* command = group->FirstChild(); command;
         command = command->NextSibling()) {
      if (command->Name() == nullptr) continue;
      const XmlAttribute* id = command->FindAttribute(u"ID");
      if (id == nullptr) continue;
      const WindowId identifier = WindowIdOf(id->Value());
      const uint32_t item = RichEditMenuItemState(identifier, state);
      if ((item & kMenuShown) == 0) continue;
      if (separate && !any) AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
      any = true;
      String text;
      if (const XmlAttribute* label = command->FindAttribute(u"Text"))
        LocalizeText(resources, label->Value(), text);
      AppendMenuW(popup, MF_STRING | ((item & kMenuEnabled) != 0 ? 0u : MF_GRAYED), identifier,
                  ControlWideText(text));
    }
    separate = separate || any;
  }
  resources.Release(menu);
  return popup;
}

}  // namespace

void RichEdit::ShowContextMenu(int32_t x, int32_t y) noexcept {
  HWND window = static_cast<HWND>(Handle());
  RichEditMenuState state;
  state.can_undo = SendMessageW(window, EM_CANUNDO, 0, 0) != 0;
  state.can_redo = SendMessageW(window, EM_CANREDO, 0, 0) != 0;
  CHARRANGE selection = {};
  SendMessageW(window, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  state.has_selection = selection.cpMax > selection.cpMin;
  state.can_paste = SendMessageW(window, EM_CANPASTE, 0, 0) != 0;
  const LONG length = GetWindowTextLengthW(window);
  state.all_selected = selection.cpMin == 0 && selection.cpMax >= length;
  state.read_only = (GetWindowLongPtrW(window, GWL_STYLE) & ES_READONLY) != 0;
  HMENU popup = BuildRichEditMenu(state);
  if (popup == nullptr) return;
  if (x == -1 && y == -1) {
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    x = origin.x;
    y = origin.y;
  }
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, window, nullptr));
  DestroyMenu(popup);
  if (chosen == WindowIdOf(u"RichEditUndoCmd")) {
    SendMessageW(window, EM_UNDO, 0, 0);
  } else if (chosen == WindowIdOf(u"RichEditRedoCmd")) {
    SendMessageW(window, EM_REDO, 0, 0);
  } else if (chosen == WindowIdOf(u"RichEditCutCmd")) {
    SendMessageW(window, WM_CUT, 0, 0);
  } else if (chosen == WindowIdOf(u"RichEditCopyCmd")) {
    SendMessageW(window, WM_COPY, 0, 0);
  } else if (chosen == WindowIdOf(u"RichEditPasteCmd")) {
    SendMessageW(window, WM_PASTE, 0, 0);
  } else if (chosen == WindowIdOf(u"RichEditSelectAllCmd")) {
    SendMessageW(window, EM_SETSEL, 0, -1);
  }
}

bool RichEdit::HandleMessage(WindowMessage& message) noexcept {
  if (message.message == WM_CONTEXTMENU && message.handle == Handle() && FocusAllowed()) {
    ShowContextMenu(static_cast<int16_t>(LOWORD(message.lparam)),
                    static_cast<int16_t>(HIWORD(message.lparam)));
    message.result = 0;
    return true;
  }
  if (message.message == WM_NOTIFY && message.handle != Handle()) {
    const auto* header = reinterpret_cast<const NMHDR*>(message.lparam);
    if (header->code == EN_LINK) {
      const auto* link = reinterpret_cast<const ENLINK*>(header);
      if (link->msg == WM_LBUTTONUP) {
        FollowLink(static_cast<uint32_t>(link->chrg.cpMin),
                   static_cast<uint32_t>(link->chrg.cpMax));
        message.result = 1;
        return true;
      }
      message.result = 0;
      return true;
    }
  }
  return EditBox::HandleMessage(message);
}

// ---- Combo box ----

Result ComboBox::OnCreated() noexcept {
  HWND window = static_cast<HWND>(Handle());
  SendMessageW(window, CBEM_SETEXTENDEDSTYLE, kComboTextEndEllipsis, kComboTextEndEllipsis);
  if (image_list_ == nullptr) {
    image_list_ = MakePictureStripImageList(strip_, item_width_);
    if (image_list_ != nullptr) SendMessageW(window, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(image_list_));
  }
  for (uint32_t i = 0; i < items_.Count(); ++i) {
    const ComboItem& item = items_.Item(i);
    COMBOBOXEXITEMW entry = {};
    entry.mask = CBEIF_TEXT | CBEIF_LPARAM;
    entry.iItem = static_cast<INT_PTR>(i);
    entry.pszText = const_cast<wchar_t*>(ControlWideText(item.label));
    entry.lParam = item.value;
    if (item.image >= 0) {
      entry.mask |= CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
      entry.iImage = entry.iSelectedImage = item.image;
    }
    SendMessageW(window, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&entry));
  }
  if (selection_ >= 0) SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(selection_), 0);
  return TextControl::OnCreated();
}

void ComboBox::OnDestroying() noexcept {
  selection_ = Selection();
  if (image_list_ != nullptr) {
    ImageList_Destroy(static_cast<HIMAGELIST>(image_list_));
    image_list_ = nullptr;
  }
}

int32_t ComboBox::Selection() const noexcept {
  if (!Exists()) return selection_;
  return static_cast<int32_t>(SendMessageW(static_cast<HWND>(Handle()), CB_GETCURSEL, 0, 0));
}

}  // namespace vorn
