#include <cerrno>

#include "foundation/system_error.h"

namespace vorn {

Result LastSystemResult() noexcept {
  return ResultFromErrno(errno);
}

}  // namespace vorn
