#include "resources/picture_loader.h"

#include <cstdlib>

#include "package/stream.h"
#include "resources/picture_decoders.h"

namespace vorn {

Result LoadPictureFromMemory(const uint8_t* bytes, size_t size, Picture*& picture) noexcept {
  picture = nullptr;
  const Result png = DecodePng(bytes, size, picture);
  if (png == kOk) return kOk;
  const Result jpeg = DecodeJpeg(bytes, size, picture);
  if (jpeg == kOk) return kOk;
  // 33 from a decoder means "not my format"; anything else is the verdict
  // of the decoder that recognised the file.
  if (png != kInvalidContent) return png;
  if (jpeg != kInvalidContent) return jpeg;
  return kBadFormat;
}

Result LoadPicture(Stream* stream, Picture*& picture) noexcept {
  picture = nullptr;
  if (!stream) return kNullInput;
  const uint64_t size = stream->Size();
  const uint64_t position = stream->Position();
  const uint64_t remaining = size > position ? size - position : 0;
  // No picture file is larger than the largest decoded picture we accept.
  if (remaining > kMaxPictureBytes) return kInvalidSize;
  uint8_t* bytes = static_cast<uint8_t*>(std::malloc(remaining ? remaining : 1));
  if (!bytes) return kOutOfMemory;
  Result result = stream->Read(bytes, static_cast<uint32_t>(remaining));
  if (result == kOk) result = LoadPictureFromMemory(bytes, static_cast<size_t>(remaining), picture);
  std::free(bytes);
  return result;
}

}  // namespace vorn
