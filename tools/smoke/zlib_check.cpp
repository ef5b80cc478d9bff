// zlib: compress2 and uncompress round trip.
#include <zlib.h>

#include "smoke_checks.h"

namespace vorn::smoke {

std::string CheckZlib() {
  // A different major version behind the header would break the stream layout.
  if (zlibVersion()[0] != ZLIB_VERSION[0])
    return std::string("header is ") + ZLIB_VERSION + ", library is " + zlibVersion();
  const std::vector<unsigned char> input = SampleData();
  uLongf packed_size = compressBound(input.size());
  std::vector<unsigned char> packed(packed_size);
  if (compress2(packed.data(), &packed_size, input.data(), input.size(), Z_BEST_COMPRESSION) !=
      Z_OK) {
    return "compress2 failed";
  }
  if (packed_size >= input.size()) return "compress2 did not make the data smaller";
  std::vector<unsigned char> output(input.size() + 1);
  uLongf output_size = output.size();
  if (uncompress(output.data(), &output_size, packed.data(), packed_size) != Z_OK) {
    return "uncompress failed";
  }
  output.resize(output_size);
  if (output != input) return "the round trip changed the data";
  return {};
}

}  // namespace vorn::smoke
