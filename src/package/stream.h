// Stream: the byte-stream interface every input and output of the framework
// goes through. A Read delivers exactly the requested count or fails (19 at
// the end); a count of 0 succeeds at once.
#pragma once

#include <cstdint>

#include "foundation/result.h"
#include "foundation/string.h"

namespace vorn {

class Stream {
 public:
  virtual ~Stream() = default;
  virtual Result Close() = 0;
  virtual Result Read(void* buffer, uint32_t count) = 0;
  virtual Result Write(const void* buffer, uint32_t count) = 0;
  virtual Result Flush(int durable) = 0;
  virtual uint64_t Position() = 0;
  virtual Result Seek(uint64_t offset) = 0;
  virtual uint64_t Size() = 0;
  virtual String Describe() = 0;
  virtual bool IsAtEnd() { return Position() >= Size(); }
};

}  // namespace vorn
