// LZOStream: entries of method 2, LZO1X blocks with no properties field.
#pragma once

#include "package/block_stream.h"

namespace vorn {

class LZOStream : public BlockStream {
 public:
  static constexpr uint32_t kDefaultBlockSize = 65536;

  // A writer passes the encoders (&kPackageEncoders).
  explicit LZOStream(const PackageEncoders* encoders = nullptr) noexcept;
  ~LZOStream() override;

 protected:
  Result SetEncoderProperties() noexcept override { return kOk; }
  Result SetDecoderProperties() noexcept override { return kOk; }
};

}  // namespace vorn
