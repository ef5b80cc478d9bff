#include <windows.h>

#include "application/command_line.h"

namespace vorn {

String SystemCommandLine() noexcept {
  // The process's own copy, valid for its lifetime; never null.
  return String(reinterpret_cast<const char16_t*>(GetCommandLineW()));
}

}  // namespace vorn
