// The pages the installation ends on: "SuccessPage", "FailurePage" and
// "CanceledPage". Each quits the installer with its quit button or Escape;
// the success page also offers to start the product.
#pragma once

#include "setup/setup_action.h"
#include "ui/page.h"

namespace vorn {

enum class LastPageKind : uint32_t { kSuccess, kFailure, kCanceled };

class LastPage : public Page {
 public:
  explicit LastPage(LastPageKind kind) noexcept : kind_(kind) {}

  // The description of the same name as the kind.
  Result Load() noexcept;
  LastPageKind Kind() const noexcept { return kind_; }

  bool OnCommand(WindowId command, uint32_t code, Window* sender) noexcept override;
  // Escape leaves the installer.
  void OnCancel() noexcept override;

 protected:
  Result OnCreated() noexcept override;

 private:
  void PostToOwner(SetupAction action) noexcept;

  LastPageKind kind_;
};

}  // namespace vorn
