// The installer's pages hand over to each other with one private window
// message: the tab pages post it to the main page, the other pages and the
// main page to the main window, and the file-transfer worker posts its
// outcome the same way. The action travels in wParam.
#pragma once

#include <cstdint>

namespace vorn {

// WM_APP + 0x100.
constexpr uint32_t kSetupActionMessage = 0x8100;

enum class SetupAction : uint32_t {
  ShowCanceled = 0,
  ShowFailure = 1,
  ShowSuccess = 2,
  QuitSetup = 3,
  RunProduct = 4,
  StartTransfer = 5,
  EnableInstall = 6,
  DisableInstall = 7,
  ShowLicense = 8,
};

// Posts the action to a platform window (any thread); false when the
// window is gone or the platform has no windows.
bool PostSetupAction(void* window_handle, SetupAction action) noexcept;

}  // namespace vorn
