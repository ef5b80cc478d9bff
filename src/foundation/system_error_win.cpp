#include <windows.h>

#include "foundation/system_error.h"

namespace vorn {

Result LastSystemResult() noexcept {
  return ResultFromSystemError(GetLastError());
}

}  // namespace vorn
