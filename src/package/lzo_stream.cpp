#include "package/lzo_stream.h"

namespace vorn {

LZOStream::LZOStream(const PackageEncoders* encoders) noexcept
    : BlockStream(kMethodLzo, kDefaultBlockSize, u"LZOStream", encoders) {}

LZOStream::~LZOStream() = default;

}  // namespace vorn
