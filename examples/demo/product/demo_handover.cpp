#include "demo_handover.h"

#include <windows.h>

#include "application/application_core.h"
#include "application/command_line.h"

namespace demo {

namespace {

using vorn::String;

const wchar_t* Wide(const char16_t* text) noexcept {
  return reinterpret_cast<const wchar_t*>(text);
}

// The running instance resolves names against its own current folder.
String FullPath(const String& path) noexcept {
  wchar_t buffer[MAX_PATH];
  const DWORD length = GetFullPathNameW(Wide(path.Text()), MAX_PATH, buffer, nullptr);
  if (length == 0 || length >= MAX_PATH) return path;
  return String(reinterpret_cast<const char16_t*>(buffer), length);
}

// What this start was asked to open: its first document, else its link.
bool WhatToHandOver(HandOverKind& kind, String& text) noexcept {
  vorn::CommandLine& command_line = vorn::CommandLine::Get();
  for (uint32_t i = 0; i < command_line.TokenCount(); ++i) {
    const vorn::CommandLineToken& token = command_line.Token(i);
    if (!token.is_switch && !token.file.IsEmpty()) {
      kind = HandOverKind::kDocument;
      text = FullPath(token.file);
      return true;
    }
  }
  if (const vorn::CommandLineToken* link = command_line.FindSwitch(u"Link")) {
    kind = HandOverKind::kLink;
    text = link->switch_value;
    return !text.IsEmpty();
  }
  return false;
}

}  // namespace

bool HandOverToRunningInstance(const String& window_class) noexcept {
  if (vorn::ApplicationCore::Get().Description().multiple_instances_allowed ||
      vorn::CommandLine::Get().HasSwitch(u"AllowMultipleInstances")) {
    return false;
  }
  HandOverKind kind;
  String text;
  if (!WhatToHandOver(kind, text) || text.Length() > kMaxHandOverUnits) return false;
  HWND window = FindWindowW(Wide(window_class.Text()), nullptr);
  if (window == nullptr) return false;
  COPYDATASTRUCT data = {};
  data.dwData = static_cast<ULONG_PTR>(kind);
  data.cbData = text.Length() * sizeof(char16_t);
  data.lpData = const_cast<char16_t*>(text.Text());
  DWORD_PTR answer = 0;
  // A first instance that hangs must not hang this one too.
  return SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                             SMTO_ABORTIFHUNG | SMTO_BLOCK, 5000, &answer) != 0 &&
         answer == TRUE;
}

bool ReadHandOver(uintptr_t kind, const void* data, uint32_t size, HandOverKind& which,
                  String& text) noexcept {
  text = String();
  if (kind != static_cast<uintptr_t>(HandOverKind::kDocument) &&
      kind != static_cast<uintptr_t>(HandOverKind::kLink)) {
    return false;
  }
  if (data == nullptr || size == 0 || size % sizeof(char16_t) != 0 ||
      size / sizeof(char16_t) > kMaxHandOverUnits) {
    return false;
  }
  which = static_cast<HandOverKind>(kind);
  text = String(static_cast<const char16_t*>(data), size / sizeof(char16_t));
  return true;
}

}  // namespace demo
