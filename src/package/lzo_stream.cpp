#include "package/lzo_stream.h"

namespace vorn {

LZOStream::LZOStream() noexcept : BlockStream(kMethodLzo, kDefaultBlockSize, u"LZOStream") {}

LZOStream::~LZOStream() = default;

}  // namespace vorn
