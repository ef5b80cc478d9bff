#include <windows.h>

#include "console.h"
#include "tool_text.h"

namespace vornpack {
namespace {

HANDLE Handle(Channel channel) {
  return GetStdHandle(channel == Channel::kOut ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

}  // namespace

bool IsTerminal(Channel channel) {
  DWORD mode = 0;
  return GetConsoleMode(Handle(channel), &mode) != 0;
}

void WriteText(Channel channel, const std::string& utf8) {
  HANDLE handle = Handle(channel);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
  DWORD done = 0;
  if (IsTerminal(channel)) {
    const std::u16string text = FromUtf8(utf8);
    // A failed console write has nowhere to be reported; the output is lost.
    WriteConsoleW(handle, reinterpret_cast<const wchar_t*>(text.data()),
                  static_cast<DWORD>(text.size()), &done, nullptr);
  } else {
    WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &done, nullptr);
  }
}

int TerminalWidth(Channel channel) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (GetConsoleScreenBufferInfo(Handle(channel), &info) != 0) {
    const int width = info.srWindow.Right - info.srWindow.Left + 1;
    if (width > 20) return width;
  }
  return 80;
}

}  // namespace vornpack
