// The message box on Windows: the task dialog of the common controls when
// they have one (Vista and later, looked up at run time: Windows XP has no
// TaskDialogIndirect), else MessageBoxW with the composed plain text.
#include <windows.h>
// The system headers below need windows.h first.
#include <shellapi.h>

#include "ui/message_box.h"

namespace vorn {

namespace {

// The task dialog's structures as the common controls 6 define them. The
// SDK headers declare them only for Vista targets; the shipping build
// targets XP, so they are spelt out here, packed as the headers pack them.
#pragma pack(push, 1)
struct TaskDialogButton {
  int id;
  const wchar_t* text;
};

struct TaskDialogConfig {
  UINT size;
  HWND parent;
  HINSTANCE instance;
  DWORD flags;
  DWORD common_buttons;
  const wchar_t* window_title;
  const wchar_t* main_icon;
  const wchar_t* main_instruction;
  const wchar_t* content;
  UINT button_count;
  const TaskDialogButton* buttons;
  int default_button;
  UINT radio_button_count;
  const TaskDialogButton* radio_buttons;
  int default_radio_button;
  const wchar_t* verification_text;
  const wchar_t* expanded_information;
  const wchar_t* expanded_control_text;
  const wchar_t* collapsed_control_text;
  const wchar_t* footer_icon;
  const wchar_t* footer;
  HRESULT(CALLBACK* callback)(HWND, UINT, WPARAM, LPARAM, LONG_PTR);
  LONG_PTR callback_data;
  UINT width;
};
#pragma pack(pop)

using TaskDialogIndirectFunction = HRESULT(WINAPI*)(const TaskDialogConfig*, int*, int*, BOOL*);

constexpr DWORD kEnableHyperlinks = 0x0001;
constexpr DWORD kAllowCancellation = 0x0008;
constexpr DWORD kUseCommandLinks = 0x0010;
constexpr DWORD kPositionRelativeToWindow = 0x1000;
constexpr UINT kCreated = 0;
constexpr UINT kHyperlinkClicked = 3;
constexpr UINT kDialogConstructed = 7;

const wchar_t* Wide(const String& text) noexcept {
  return reinterpret_cast<const wchar_t*>(text.Text());
}

// Null for an empty part, so that the dialog leaves its area out.
const wchar_t* PartOrNull(const String& text) noexcept {
  return text.IsEmpty() ? nullptr : Wide(text);
}

const wchar_t* TaskDialogIcon(MessageBoxType type) noexcept {
  switch (type) {
    case MessageBoxType::kInformation:
      return MAKEINTRESOURCEW(-3);
    case MessageBoxType::kWarning:
      return MAKEINTRESOURCEW(-1);
    case MessageBoxType::kError:
      return MAKEINTRESOURCEW(-2);
    default:
      return nullptr;
  }
}

UINT PlainIcon(MessageBoxType type) noexcept {
  switch (type) {
    case MessageBoxType::kInformation:
      return MB_ICONINFORMATION;
    case MessageBoxType::kWarning:
      return MB_ICONWARNING;
    case MessageBoxType::kError:
      return MB_ICONERROR;
    default:
      return 0;
  }
}

// A dialog without an owner belongs in the middle of the screen that shows
// it. Windows puts it there; Wine's task dialog opens in the screen's corner.
void CenterOnItsMonitor(HWND window) noexcept {
  RECT frame;
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  if (!GetWindowRect(window, &frame) ||
      !GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
    return;
  }
  const RECT& area = monitor.rcWork;
  const LONG width = frame.right - frame.left;
  const LONG height = frame.bottom - frame.top;
  LONG left = area.left + (area.right - area.left - width) / 2;
  LONG top = area.top + (area.bottom - area.top - height) / 2;
  if (left < area.left) left = area.left;
  if (top < area.top) top = area.top;
  SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The callback's data: whether the dialog has an owner window.
HRESULT CALLBACK OnTaskDialogNotification(HWND window, UINT notification, WPARAM, LPARAM parameter,
                                          LONG_PTR has_owner) {
  if ((notification == kDialogConstructed || notification == kCreated) && !has_owner) {
    CenterOnItsMonitor(window);
  } else if (notification == kHyperlinkClicked && parameter != 0) {
    ShellExecuteW(window, L"open", reinterpret_cast<const wchar_t*>(parameter), nullptr, nullptr,
                  SW_SHOWNORMAL);
  }
  return S_OK;
}

// The common controls the process already has loaded are the ones its
// manifest chose (version 6 when it asks for them): that module is asked
// first, without loading anything by a bare name. Otherwise the system
// folder's own copy is loaded by its full path, never through the search
// path where a planted DLL could answer.
TaskDialogIndirectFunction FindTaskDialog() noexcept {
  HMODULE module = GetModuleHandleW(L"comctl32.dll");
  if (!module) {
    wchar_t path[MAX_PATH + 16];
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    lstrcpyW(path + length, L"\\comctl32.dll");
    module = LoadLibraryW(path);
    if (!module) return nullptr;
  }
  return reinterpret_cast<TaskDialogIndirectFunction>(
      reinterpret_cast<void*>(GetProcAddress(module, "TaskDialogIndirect")));
}

class WindowsMessageBoxDisplay final : public MessageBoxDisplay {
 public:
  explicit WindowsMessageBoxDisplay(bool task_dialog) noexcept : use_task_dialog_(task_dialog) {}

  Result ShowTaskDialog(void* owner, const MessageBoxRequest& request,
                        int32_t& answer) noexcept override {
    answer = 0;
    const TaskDialogIndirectFunction show = use_task_dialog_ ? FindTaskDialog() : nullptr;
    if (!show) return kNotSupported;
    TaskDialogButton buttons[3] = {};
    for (uint32_t i = 0; i < request.button_count && i < 3; ++i) {
      buttons[i].id = request.buttons[i].id;
      buttons[i].text = Wide(request.buttons[i].label);
    }
    TaskDialogConfig config = {};
    config.size = sizeof config;
    config.parent = static_cast<HWND>(owner);
    config.flags = kEnableHyperlinks | kPositionRelativeToWindow;
    if (request.command_links) config.flags |= kUseCommandLinks;
    if (request.cancellable) config.flags |= kAllowCancellation;
    config.window_title = Wide(request.caption);
    config.main_icon = TaskDialogIcon(request.type);
    config.main_instruction = PartOrNull(request.header);
    config.content = PartOrNull(request.body);
    config.button_count = request.button_count;
    config.buttons = buttons;
    config.default_button = request.default_id;
    config.expanded_information = PartOrNull(request.details);
    config.footer = PartOrNull(request.footer);
    if (config.footer) config.footer_icon = TaskDialogIcon(request.footer_icon);
    config.callback = OnTaskDialogNotification;
    config.callback_data = owner != nullptr ? 1 : 0;
    int pressed = 0;
    if (FAILED(show(&config, &pressed, nullptr, nullptr))) return kFailed;
    answer = pressed;
    return kOk;
  }

  Result ShowPlainMessageBox(void* owner, const MessageBoxRequest& request,
                             int32_t& answer) noexcept override {
    static constexpr UINT kDefaultButtons[3] = {MB_DEFBUTTON1, MB_DEFBUTTON2, MB_DEFBUTTON3};
    const UINT style =
        MB_TASKMODAL | static_cast<UINT>(request.button_set) |
        kDefaultButtons[request.default_position < 3 ? request.default_position : 0] |
        PlainIcon(request.type);
    answer = MessageBoxW(static_cast<HWND>(owner), Wide(request.plain_text), Wide(request.caption),
                         style);
    return answer == 0 ? kFailed : kOk;
  }

  String WindowTitle(void* window) noexcept override {
    HWND handle = static_cast<HWND>(window);
    const int length = GetWindowTextLengthW(handle);
    if (length <= 0) return String();
    String title;
    wchar_t* buffer = static_cast<wchar_t*>(
        HeapAlloc(GetProcessHeap(), 0, (static_cast<SIZE_T>(length) + 1) * sizeof(wchar_t)));
    if (!buffer) return String();
    const int copied = GetWindowTextW(handle, buffer, length + 1);
    if (copied > 0) title.Assign(reinterpret_cast<const char16_t*>(buffer), copied);
    HeapFree(GetProcessHeap(), 0, buffer);
    return title;
  }

 private:
  bool use_task_dialog_;
};

WindowsMessageBoxDisplay system_display(true);
WindowsMessageBoxDisplay plain_display(false);

}  // namespace

MessageBoxDisplay& SystemMessageBoxDisplay() noexcept {
  return system_display;
}

MessageBoxDisplay& PlainMessageBoxDisplay() noexcept {
  return plain_display;
}

}  // namespace vorn
