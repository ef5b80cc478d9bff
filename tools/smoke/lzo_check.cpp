// LZO: lzo1x_1_compress and lzo1x_decompress_safe round trip.
#include <lzo/lzo1x.h>

#include "smoke_checks.h"

namespace vorn::smoke {

std::string CheckLzo() {
  // lzo_init also checks that the library was built with the header's types.
  if (lzo_init() != LZO_E_OK) return "lzo_init failed: header and library do not match";
  const std::vector<unsigned char> input = SampleData();
  std::vector<unsigned char> work(LZO1X_1_MEM_COMPRESS);
  // The worst case of LZO1X for incompressible input.
  std::vector<unsigned char> packed(input.size() + input.size() / 16 + 64 + 3);
  lzo_uint packed_size = packed.size();
  if (lzo1x_1_compress(input.data(), input.size(), packed.data(), &packed_size, work.data()) !=
      LZO_E_OK) {
    return "lzo1x_1_compress failed";
  }
  if (packed_size >= input.size()) return "lzo1x_1_compress did not make the data smaller";
  std::vector<unsigned char> output(input.size());
  lzo_uint output_size = output.size();
  if (lzo1x_decompress_safe(packed.data(), packed_size, output.data(), &output_size, nullptr) !=
      LZO_E_OK) {
    return "lzo1x_decompress_safe failed";
  }
  output.resize(output_size);
  if (output != input) return "the round trip changed the data";
  // A truncated block must be refused, not read past its end.
  output_size = output.size();
  if (lzo1x_decompress_safe(packed.data(), packed_size / 2, output.data(), &output_size, nullptr) ==
      LZO_E_OK) {
    return "lzo1x_decompress_safe accepted a truncated block";
  }
  return {};
}

}  // namespace vorn::smoke
