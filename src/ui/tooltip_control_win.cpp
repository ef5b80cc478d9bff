// The common controls' header depends on windows.h.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "ui/tooltip_control.h"

namespace vorn {
namespace {

TOOLINFOW ToolInfo(HWND holder, HWND tool) noexcept {
  TOOLINFOW info{};
  // The size Windows XP's controls know (without the reserved field).
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = holder;
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = LPSTR_TEXTCALLBACKW;
  return info;
}

}  // namespace

Result TooltipControl::OnCreated() noexcept {
  SendMessageW(static_cast<HWND>(Handle()), TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
  return kOk;
}

void TooltipControl::AddPlatformTool(Tool& tool) noexcept {
  if (!Exists() || !holder_.Exists() || !tool.window->Exists()) return;
  TOOLINFOW info =
      ToolInfo(static_cast<HWND>(holder_.Handle()), static_cast<HWND>(tool.window->Handle()));
  tool.added = SendMessageW(static_cast<HWND>(Handle()), TTM_ADDTOOLW, 0,
                            reinterpret_cast<LPARAM>(&info)) != 0;
}

void TooltipControl::RemovePlatformTool(Tool& tool) noexcept {
  if (!tool.added) return;
  tool.added = false;
  if (!Exists() || !holder_.Exists() || !tool.window->Exists()) return;
  TOOLINFOW info =
      ToolInfo(static_cast<HWND>(holder_.Handle()), static_cast<HWND>(tool.window->Handle()));
  SendMessageW(static_cast<HWND>(Handle()), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

}  // namespace vorn
