#include "application/processor_check.h"

namespace vorn {

// The POSIX build runs only the portable core's tests; its compiler decides
// the instruction set.
bool CheckProcessor() noexcept {
  return true;
}

}  // namespace vorn
