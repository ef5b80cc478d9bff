// What the application core asks of the usage analytics, which live in a
// layer above it: the tracker installs itself here when it is created.
#pragma once

#include "foundation/result.h"

namespace vorn {

class UsageReporter {
 public:
  virtual ~UsageReporter() = default;
  virtual Result SetScreenName(const char16_t* name) noexcept = 0;
  virtual Result StartScreenView() noexcept = 0;
  // One event of the current screen (the uninstallation reports how it
  // ended); reporters that keep no events ignore it.
  virtual Result ReportUsageEvent(const char16_t* action, const char16_t* label) noexcept {
    return kOk;
  }
  // Program exit: send what is pending (the end hit included) and release
  // everything the analytics hold, the network session too.
  virtual void EndOfProgram() noexcept = 0;
};

}  // namespace vorn
