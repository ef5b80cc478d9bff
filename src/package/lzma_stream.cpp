#include "package/lzma_stream.h"

namespace vorn {

LZMAStream::LZMAStream(PackMethod method, const PackageEncoders* encoders) noexcept
    : BlockStream(method, kDefaultBlockSize, u"LZMAStream", encoders) {}

LZMAStream::~LZMAStream() = default;

Result LZMAStream::SetEncoderProperties() noexcept {
  uint8_t properties[kPropertiesSize];
  encoder_->Properties(properties);
  return WritePacked(properties, kPropertiesSize);
}

Result LZMAStream::SetDecoderProperties() noexcept {
  // An empty entry has nothing to decode; one written without a properties
  // field is still a valid empty entry.
  if (Size() == 0 && PackedSize() < kPropertiesSize) return kOk;
  uint8_t properties[kPropertiesSize];
  Result result = ReadPacked(properties, kPropertiesSize);
  if (result != kOk) return result;
  return decoder_->SetProperties(properties);
}

}  // namespace vorn
