// No rich-edit control without a window system: the model is all there is.
#include "ui/formatted_text.h"

namespace vorn {

Result ShowFormattedText(void* rich_edit, const FormattedText&) noexcept {
  return rich_edit ? kNotSupported : kInvalidHandle;
}

}  // namespace vorn
