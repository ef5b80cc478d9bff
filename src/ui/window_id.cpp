#include "ui/window_id.h"

#include "foundation/format.h"

namespace vorn {

WindowId WindowIdOfAddress(const void* address) noexcept {
  const String text = Format(u"{0}", FormatAddress(address));
  return WindowIdOf(text.Text(), text.Length());
}

}  // namespace vorn
