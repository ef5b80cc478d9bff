// Message boxes: the system's own box and the task dialog are both dialog
// windows of class "#32770" whose buttons carry the standard identifiers.
#include <cwchar>

#include "e2e/driver/driver.h"

namespace e2e {
namespace {

struct ButtonSearch {
  int id;
  const std::wstring* text;
  HWND found;
};

std::wstring WithoutMnemonic(const std::wstring& text) {
  std::wstring plain;
  for (wchar_t c : text)
    if (c != L'&') plain += c;
  return plain;
}

BOOL CALLBACK FindButton(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<ButtonSearch*>(context);
  if (ClassOf(window) != L"Button" || !IsWindowVisible(window)) return TRUE;
  const bool match = search->id != 0
                         ? GetDlgCtrlID(window) == search->id
                         : _wcsicmp(WithoutMnemonic(WindowText(window)).c_str(),
                                    WithoutMnemonic(*search->text).c_str()) == 0;
  if (match) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK PrintPart(HWND window, LPARAM) {
  if (!IsWindowVisible(window)) return TRUE;
  const std::wstring text = WindowText(window);
  if (ClassOf(window) == L"Button") {
    PrintValue(L"button", std::to_wstring(GetDlgCtrlID(window)) + L" " + WithoutMnemonic(text));
  } else if (!text.empty()) {
    PrintValue(L"text", text);
  }
  return TRUE;
}

// A visible message box; with an owner class, only one shown by a process
// that has a window of that class (shown or not).
HWND FindDialog(const Arguments& args) {
  const std::vector<HWND> boxes = TopLevelWindows(L"#32770", false);
  if (!args.Has(L"owner")) return boxes.empty() ? nullptr : boxes.front();
  const std::vector<HWND> owners = TopLevelWindows(args.Option(L"owner"), true);
  for (HWND box : boxes) {
    DWORD box_process = 0;
    GetWindowThreadProcessId(box, &box_process);
    for (HWND owner : owners) {
      DWORD owner_process = 0;
      GetWindowThreadProcessId(owner, &owner_process);
      if (owner_process == box_process) return box;
    }
  }
  return nullptr;
}

int ButtonId(const std::wstring& name) {
  if (_wcsicmp(name.c_str(), L"yes") == 0) return IDYES;
  if (_wcsicmp(name.c_str(), L"no") == 0) return IDNO;
  if (_wcsicmp(name.c_str(), L"ok") == 0) return IDOK;
  if (_wcsicmp(name.c_str(), L"cancel") == 0) return IDCANCEL;
  if (!name.empty() && iswdigit(name[0])) return static_cast<int>(wcstol(name.c_str(), nullptr, 10));
  return 0;
}

}  // namespace

int WaitDialog(const Arguments& args) {
  if (!args.positional.empty()) return kUsage;
  HWND box = WaitFor(args.Timeout(), [&] { return FindDialog(args); }, [](HWND) { return true; });
  if (box == nullptr) return kTimedOut;
  DWORD process = 0;
  GetWindowThreadProcessId(box, &process);
  PrintValue(L"pid", std::to_wstring(process));
  PrintValue(L"title", WindowText(box));
  EnumChildWindows(box, &PrintPart, 0);
  return kDone;
}

int PressDialog(const Arguments& args) {
  if (args.positional.size() != 1) return kUsage;
  HWND box = WaitFor(args.Timeout(), [&] { return FindDialog(args); }, [](HWND) { return true; });
  if (box == nullptr) return kTimedOut;
  ButtonSearch search{ButtonId(args.positional[0]), &args.positional[0], nullptr};
  EnumChildWindows(box, &FindButton, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr) {
    EnumChildWindows(box, &PrintPart, 0);
    return kNotFound;
  }
  PrintValue(L"title", WindowText(box));
  EnumChildWindows(box, &PrintPart, 0);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(search.found)), BN_CLICKED),
               reinterpret_cast<LPARAM>(search.found));
  const DWORD start = GetTickCount();
  while (IsWindow(box)) {
    if (GetTickCount() - start >= args.Timeout()) return kTimedOut;
    Sleep(50);
  }
  return kDone;
}

}  // namespace e2e
