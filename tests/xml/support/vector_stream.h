// A read-only Stream over a copy of some bytes, for handing documents to
// the parser as a stream.
#pragma once

#include <cstring>
#include <vector>

#include "package/stream.h"

namespace vorn {

class VectorStream : public Stream {
 public:
  explicit VectorStream(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {}
  Result Close() override { return kOk; }
  Result Read(void* buffer, uint32_t count) override {
    if (count == 0) return kOk;
    if (!buffer) return kNullInput;
    if (count > bytes_.size() - position_) return kEndOfData;
    std::memcpy(buffer, bytes_.data() + position_, count);
    position_ += count;
    return kOk;
  }
  Result Write(const void*, uint32_t) override { return kNotWritable; }
  Result Flush(int) override { return kOk; }
  uint64_t Position() override { return position_; }
  Result Seek(uint64_t offset) override {
    if (offset > bytes_.size()) return kIndexOutOfRange;
    position_ = offset;
    return kOk;
  }
  uint64_t Size() override { return bytes_.size(); }
  String Describe() override { return String(u"Vector"); }

 private:
  std::vector<unsigned char> bytes_;
  size_t position_ = 0;
};

}  // namespace vorn
