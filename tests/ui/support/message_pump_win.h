// Runs the queued messages through the toolkit, as the frame loop does.
#pragma once

#include <windows.h>

#include "ui/main_window.h"

namespace vorn::test {

inline void PumpWindowMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (PreTranslateWindowMessage(&message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace vorn::test
