// PlatformModule: the framework's own module, registered first and so
// updated last. Its initialize is the single-instance rule, its update the
// platform's message pump.
#pragma once

#include <cstdint>

#include "application/app_module.h"
#include "foundation/lock_object.h"
#include "foundation/string.h"

namespace vorn {

class PlatformModule : public AppModule {
 public:
  // Created on first use: OLE and the common controls are initialised and
  // the program path is read.
  static PlatformModule& Get() noexcept;
  ~PlatformModule() override;

  Result Initialize() noexcept override;
  bool IsIdle() noexcept override;
  Result Update(float frame_time) noexcept override;
  void Shutdown() noexcept override {}

  void* ModuleHandle() const noexcept { return module_handle_; }
  const String& ProgramPath() const noexcept { return program_path_; }
  // The common controls' version as major << 16 | minor (0 when unknown).
  uint32_t CommonControlsVersion() const noexcept { return common_controls_version_; }
  // The marker that other instances find (named "VornLib.{UUID}").
  const LockObject& InstanceMarker() const noexcept { return instance_marker_; }

 private:
  PlatformModule() noexcept;

  // The platform half of update: waits when idle, updates the main window
  // and dispatches every queued message.
  Result PumpMessages(float frame_time) noexcept;
  // Shows the window of the instance that was there first.
  static void BringOtherInstanceForward(const String& window_class) noexcept;

  int32_t ole_result_ = -1;  // the HRESULT of OleInitialize
  void* module_handle_ = nullptr;
  String program_path_;
  uint32_t common_controls_version_ = 0;
  LockObject instance_marker_;
};

}  // namespace vorn
