// SetupModule: the installer's module. Its set-up decides the process's
// role: the process that shows the pages (elevated, or on Windows before
// Vista), or the non-elevated parent that only starts the installer again
// with administrator rights, waits for it, and starts the product when the
// child asks for it with exit code 41.
#pragma once

#include <cstdint>

#include "application/app_module.h"
#include "foundation/lock_object.h"

namespace vorn {

class SetupWindow;

// The exit code with which the elevated child asks its parent to start the
// product.
inline constexpr uint32_t kStartProductExitCode = 41;

// Whether this process shows the pages itself: Windows before Vista has no
// elevation to ask for, and the relaunched child has it already.
bool ShowsPagesItself(uint32_t windows_version, bool launched_as_administrator) noexcept;

class SetupModule : public AppModule {
 public:
  static SetupModule& Get() noexcept;

  Result Initialize() noexcept override;
  bool IsIdle() noexcept override { return true; }
  Result Update(float) noexcept override { return kOk; }
  // Destroys the main window object.
  void Shutdown() noexcept override;

  SetupWindow* Window() const noexcept { return window_; }

 private:
  SetupModule() noexcept = default;
  Result ShowPages() noexcept;
  Result RelaunchAndWait() noexcept;
  void DestroyWindow() noexcept;

  SetupWindow* window_ = nullptr;
  // Exists exactly while the product runs (the product guards its own
  // single instance with it).
  LockObject product_marker_;
};

}  // namespace vorn
