// A counting signal between the packer's main thread and its compression
// workers: Post adds one, Wait blocks until it can take one. The framework
// has locks but no waitable signal, and the tool must not use the standard
// library's threads (Windows XP), so this is a semaphore of the system's.
#pragma once

#include <cstdint>

#include "foundation/result.h"

namespace vornpack {

class WorkSignal {
 public:
  WorkSignal();
  ~WorkSignal();
  WorkSignal(const WorkSignal&) = delete;
  WorkSignal& operator=(const WorkSignal&) = delete;

  // False when the system could not create the signal.
  bool IsValid() const { return handle_ != nullptr; }
  void Post();
  void Wait();

 private:
  void* handle_ = nullptr;
};

}  // namespace vornpack
