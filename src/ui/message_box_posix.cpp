// Without a window system there is nothing to show: both displays report
// that they are not supported, and every box answers 5.
#include "ui/message_box.h"

namespace vorn {

namespace {

class NoMessageBoxDisplay final : public MessageBoxDisplay {
 public:
  Result ShowTaskDialog(void*, const MessageBoxRequest&, int32_t& answer) noexcept override {
    answer = 0;
    return kNotSupported;
  }
  Result ShowPlainMessageBox(void*, const MessageBoxRequest&, int32_t& answer) noexcept override {
    answer = 0;
    return kNotSupported;
  }
  String WindowTitle(void*) noexcept override { return String(); }
};

NoMessageBoxDisplay no_display;

}  // namespace

MessageBoxDisplay& SystemMessageBoxDisplay() noexcept {
  return no_display;
}

MessageBoxDisplay& PlainMessageBoxDisplay() noexcept {
  return no_display;
}

}  // namespace vorn
