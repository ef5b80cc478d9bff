// Acting on the installer's controls the way a user's click, typing or tab
// change reaches the page: the page sees the same notifications.
#include "e2e/driver/driver.h"

#include <commctrl.h>

#include <cwchar>

namespace e2e {
namespace {

// The control named by the first two arguments (window class, control path).
HWND Control(const Arguments& args, int& exit_code) {
  exit_code = kUsage;
  if (args.positional.size() < 2) return nullptr;
  exit_code = kNotFound;
  HWND top = FirstVisible(args.positional[0]);
  if (top == nullptr) return nullptr;
  HWND control = FindControl(top, args.positional[1]);
  if (control != nullptr) exit_code = kDone;
  return control;
}

bool Usable(HWND control) { return IsWindowVisible(control) && IsWindowEnabled(control); }

bool IsCheckBox(HWND control) {
  if (ClassOf(control) != L"Button") return false;
  const LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
         type == BS_AUTO3STATE || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

int Checked(HWND control) {
  return static_cast<int>(SendWithTimeout(control, BM_GETCHECK, 0, 0)) == BST_CHECKED ? 1 : 0;
}

void Notify(HWND control, WORD code) {
  SendWithTimeout(GetParent(control), WM_COMMAND,
                  MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(control)), code),
                  reinterpret_cast<LPARAM>(control));
}

bool IsComboEx(HWND control) { return ClassOf(control) == WC_COMBOBOXEXW; }

// The items of a combo box. ComboBoxEx items are read through memory in
// the installer's process: their messages carry pointers that are not
// copied across processes.
std::vector<std::wstring> Items(HWND combo) {
  std::vector<std::wstring> items;
  const LRESULT count = SendWithTimeout(combo, CB_GETCOUNT, 0, 0);
  if (IsComboEx(combo)) {
    constexpr size_t kText = 512;
    RemoteBuffer buffer(combo, sizeof(COMBOBOXEXITEMW) + kText * sizeof(wchar_t));
    if (!buffer.Valid()) return items;
    for (LRESULT i = 0; i < count; ++i) {
      COMBOBOXEXITEMW item{};
      item.mask = CBEIF_TEXT;
      item.iItem = i;
      item.pszText = static_cast<wchar_t*>(buffer.Address(sizeof(item)));
      item.cchTextMax = kText;
      const wchar_t empty = 0;
      buffer.Write(sizeof(item), &empty, sizeof(empty));
      buffer.Write(0, &item, sizeof(item));
      SendWithTimeout(combo, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(buffer.Address()));
      std::wstring text(kText, L'\0');
      buffer.Read(sizeof(item), text.data(), kText * sizeof(wchar_t));
      text.resize(wcsnlen(text.c_str(), kText));
      items.push_back(text);
    }
    return items;
  }
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendWithTimeout(combo, CB_GETLBTEXTLEN, i, 0);
    std::wstring text(length > 0 ? static_cast<size_t>(length) + 1 : 1, L'\0');
    SendWithTimeout(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcsnlen(text.c_str(), text.size()));
    items.push_back(text);
  }
  return items;
}

bool StateHolds(HWND control, const std::wstring& state) {
  if (control == nullptr) return state == L"gone";
  if (state == L"exists") return true;
  if (state == L"visible") return IsWindowVisible(control) != FALSE;
  if (state == L"hidden") return !IsWindowVisible(control);
  if (state == L"enabled") return Usable(control);
  if (state == L"disabled") return !IsWindowEnabled(control);
  if (state == L"checked") return Checked(control) == 1;
  if (state == L"unchecked") return Checked(control) == 0;
  return false;
}

void PrintState(HWND control) {
  PrintValue(L"window", Hex(reinterpret_cast<uintptr_t>(control)));
  PrintValue(L"class", ClassOf(control));
  PrintValue(L"visible", IsWindowVisible(control) ? L"1" : L"0");
  PrintValue(L"enabled", IsWindowEnabled(control) ? L"1" : L"0");
  if (IsCheckBox(control)) PrintValue(L"checked", std::to_wstring(Checked(control)));
  PrintValue(L"text", WindowText(control));
}

BOOL CALLBACK PrintDescendant(HWND window, LPARAM) {
  const int id = GetDlgCtrlID(window);
  PrintValue(L"control", std::to_wstring(id) + L" " + ClassOf(window) + L" visible=" +
                             (IsWindowVisible(window) ? L"1" : L"0") + L" enabled=" +
                             (IsWindowEnabled(window) ? L"1" : L"0") + L" text=" +
                             WindowText(window));
  return TRUE;
}

}  // namespace

int WaitControl(const Arguments& args) {
  if (args.positional.size() != 2) return kUsage;
  const std::wstring state = args.Option(L"state", L"visible");
  const bool want_text = args.Has(L"text");
  const std::wstring text = args.Option(L"text");
  // "A|B|C": the first of several controls to reach the state (which page
  // comes next, say); "matched" names it.
  std::vector<std::wstring> alternatives;
  for (size_t begin = 0;;) {
    const size_t bar = args.positional[1].find(L'|', begin);
    alternatives.push_back(args.positional[1].substr(begin, bar - begin));
    if (bar == std::wstring::npos) break;
    begin = bar + 1;
  }
  const DWORD start = GetTickCount();
  for (;;) {
    HWND top = FirstVisible(args.positional[0]);
    for (const std::wstring& path : alternatives) {
      HWND control = top != nullptr ? FindControl(top, path) : nullptr;
      if (top == nullptr && state != L"gone") continue;
      if (StateHolds(control, state) &&
          (!want_text || (control != nullptr && WindowText(control) == text))) {
        PrintValue(L"matched", path);
        if (control != nullptr) PrintState(control);
        return kDone;
      }
    }
    if (GetTickCount() - start >= args.Timeout()) return kTimedOut;
    Sleep(50);
  }
}

int ControlText(const Arguments& args) {
  int code = kDone;
  HWND control = Control(args, code);
  if (control == nullptr) return code;
  PrintValue(L"text", WindowText(control));
  return kDone;
}

int ControlState(const Arguments& args) {
  int code = kDone;
  HWND control = Control(args, code);
  if (control == nullptr) return code;
  PrintState(control);
  return kDone;
}

int ListControls(const Arguments& args) {
  if (args.positional.size() != 1) return kUsage;
  HWND top = FirstVisible(args.positional[0]);
  if (top == nullptr) return kNotFound;
  EnumChildWindows(top, &PrintDescendant, 0);
  return kDone;
}

int Click(const Arguments& args) {
  int code = kDone;
  HWND control = Control(args, code);
  if (control == nullptr) return code;
  if (!Usable(control)) {
    PrintState(control);
    return kWrongState;
  }
  // Opened before the click: the process may be gone when we ask later.
  HANDLE process = nullptr;
  if (args.Has(L"wait-exit")) {
    DWORD id = 0;
    GetWindowThreadProcessId(control, &id);
    process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, id);
    if (process == nullptr) return kSystemFailure;
  }
  // Posted, not sent: a click that opens a modal box must not hold us.
  const BOOL posted =
      args.Has(L"bm-click")
          ? PostMessageW(control, BM_CLICK, 0, 0)
          : PostMessageW(GetParent(control), WM_COMMAND,
                         MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(control)), BN_CLICKED),
                         reinterpret_cast<LPARAM>(control));
  if (!posted) {
    if (process != nullptr) CloseHandle(process);
    return kSystemFailure;
  }
  if (process == nullptr) return kDone;
  const DWORD waited = WaitForSingleObject(process, wcstoul(args.Option(L"wait-exit").c_str(), nullptr, 10));
  DWORD exit_code = 0;
  GetExitCodeProcess(process, &exit_code);
  CloseHandle(process);
  if (waited != WAIT_OBJECT_0) return kTimedOut;
  PrintValue(L"exit", std::to_wstring(exit_code));
  return kDone;
}

int SetCheck(const Arguments& args) {
  if (args.positional.size() != 3) return kUsage;
  int code = kDone;
  HWND control = Control(args, code);
  if (control == nullptr) return code;
  if (!IsCheckBox(control)) return kWrongState;
  const int wanted = args.positional[2] == L"1" ? 1 : 0;
  if (Checked(control) != wanted) {
    if (!Usable(control)) return kWrongState;
    // The box's own click: it toggles and tells its page, as a mouse click does.
    PostMessageW(control, BM_CLICK, 0, 0);
  }
  const DWORD start = GetTickCount();
  while (Checked(control) != wanted) {
    if (GetTickCount() - start >= args.Timeout(5000)) return kTimedOut;
    Sleep(50);
  }
  PrintState(control);
  return kDone;
}

int SetText(const Arguments& args) {
  if (args.positional.size() != 3) return kUsage;
  int code = kDone;
  HWND control = Control(args, code);
  if (control == nullptr) return code;
  if (!Usable(control)) return kWrongState;
  bool answered = false;
  SendWithTimeout(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args.positional[2].c_str()),
                  &answered);
  if (!answered) return kSystemFailure;
  // An edit box tells its page itself; a combo box's edit field reports to
  // the combo, which tells the page only when the user types: send it as
  // typing would.
  const std::wstring notify = args.Option(L"notify", L"auto");
  const std::wstring kind = ClassOf(control);
  if (notify == L"auto") {
    if (kind == WC_COMBOBOXEXW || kind == L"ComboBox") Notify(control, CBN_EDITCHANGE);
  } else if (notify != L"none") {
    Notify(control, static_cast<WORD>(wcstoul(notify.c_str(), nullptr, 0)));
  }
  PrintValue(L"text", WindowText(control));
  return kDone;
}

int SelectItem(const Arguments& args) {
  if (args.positional.size() != 3) return kUsage;
  int code = kDone;
  HWND control = Control(args, code);
  if (control == nullptr) return code;
  if (!Usable(control)) return kWrongState;
  const std::wstring& wanted = args.positional[2];
  const std::vector<std::wstring> items = Items(control);
  long index = -1;
  if (wanted.size() > 1 && wanted[0] == L'#') {
    index = wcstol(wanted.c_str() + 1, nullptr, 10);
  } else {
    for (size_t i = 0; i < items.size(); ++i) {
      if (_wcsicmp(items[i].c_str(), wanted.c_str()) == 0) index = static_cast<long>(i);
    }
  }
  if (index < 0 || static_cast<size_t>(index) >= items.size()) return kNotFound;
  SendWithTimeout(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  // What the combo tells its page when the user picks an item from the list.
  Notify(control, CBN_SELENDOK);
  Notify(control, CBN_SELCHANGE);
  PrintValue(L"item", items[static_cast<size_t>(index)]);
  PrintValue(L"text", WindowText(control));
  return kDone;
}

int ListItems(const Arguments& args) {
  int code = kDone;
  HWND control = Control(args, code);
  if (control == nullptr) return code;
  const std::vector<std::wstring> items = Items(control);
  PrintValue(L"count", std::to_wstring(items.size()));
  for (const std::wstring& item : items) PrintValue(L"item", item);
  return kDone;
}

int SelectTab(const Arguments& args) {
  if (args.positional.size() != 3) return kUsage;
  int code = kDone;
  HWND tabs = Control(args, code);
  if (tabs == nullptr) return code;
  const LRESULT wanted = wcstol(args.positional[2].c_str(), nullptr, 10);
  const LRESULT count = SendWithTimeout(tabs, TCM_GETITEMCOUNT, 0, 0);
  if (wanted < 0 || wanted >= count) return kNotFound;
  // Arrow keys given to the tab control itself: it changes the selection
  // and tells its parent (TCN_SELCHANGING, TCN_SELCHANGE) as for a user.
  for (LRESULT step = 0; step < count; ++step) {
    const LRESULT current = SendWithTimeout(tabs, TCM_GETCURSEL, 0, 0);
    if (current == wanted) break;
    const WPARAM key = current < wanted ? VK_RIGHT : VK_LEFT;
    SendWithTimeout(tabs, WM_KEYDOWN, key, 1);
    SendWithTimeout(tabs, WM_KEYUP, key, 0xC0000001);
  }
  if (SendWithTimeout(tabs, TCM_GETCURSEL, 0, 0) != wanted) {
    // A tab control that ignores keys: click the tab's middle.
    RemoteBuffer buffer(tabs, sizeof(RECT));
    if (!buffer.Valid()) return kSystemFailure;
    SendWithTimeout(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(wanted),
                    reinterpret_cast<LPARAM>(buffer.Address()));
    RECT rect{};
    buffer.Read(0, &rect, sizeof(rect));
    const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    SendWithTimeout(tabs, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendWithTimeout(tabs, WM_LBUTTONUP, 0, point);
  }
  const LRESULT now = SendWithTimeout(tabs, TCM_GETCURSEL, 0, 0);
  PrintValue(L"selected", std::to_wstring(now));
  return now == wanted ? kDone : kWrongState;
}

int PressKey(const Arguments& args) {
  if (args.positional.size() != 3) return kUsage;
  int code = kDone;
  HWND control = Control(args, code);
  if (control == nullptr) return code;
  const std::wstring& name = args.positional[2];
  WPARAM key = 0;
  if (name == L"escape") {
    key = VK_ESCAPE;
  } else if (name == L"enter") {
    key = VK_RETURN;
  } else {
    return kUsage;
  }
  // Posted into the program's queue, so that its dialog handling sees it.
  PostMessageW(control, WM_KEYDOWN, key, 1);
  PostMessageW(control, WM_KEYUP, key, 0xC0000001);
  return kDone;
}

}  // namespace e2e
