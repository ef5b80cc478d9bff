// LZMAStream: entries of methods 3 (LZMA), 4 (PPMd) and 5 (LZMA2). One class
// whose coder is chosen at construction; the entry's data starts with the
// coder's 5-byte properties field, then the blocks.
#pragma once

#include "package/block_stream.h"

namespace vorn {

class LZMAStream : public BlockStream {
 public:
  static constexpr uint32_t kDefaultBlockSize = 262144;

  // `method` is kMethodLzma, kMethodPpmd or kMethodLzma2; a writer passes
  // the encoders (&kPackageEncoders).
  explicit LZMAStream(PackMethod method, const PackageEncoders* encoders = nullptr) noexcept;
  ~LZMAStream() override;

  PackMethod Method() const noexcept { return method_; }

 protected:
  // Writes the properties field before the first block.
  Result SetEncoderProperties() noexcept override;
  // Reads the properties field and hands it to the decoder (rejection: 7).
  Result SetDecoderProperties() noexcept override;
};

}  // namespace vorn
