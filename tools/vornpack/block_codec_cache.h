// The block encoders one thread uses, created on first use per method and
// reused for every later block (the LZMA and PPMd encoders are costly to
// set up: PPMd reserves its model memory).
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/result.h"
#include "package/block_codec.h"

namespace vornpack {

struct BlockJob;

class BlockCodecCache {
 public:
  BlockCodecCache() = default;
  ~BlockCodecCache();
  BlockCodecCache(const BlockCodecCache&) = delete;
  BlockCodecCache& operator=(const BlockCodecCache&) = delete;

  // Codes the job's input into its framed output and properties.
  vorn::Result Encode(BlockJob& job);

 private:
  struct Slot {
    vorn::PackMethod method;
    uint32_t block_size;
    vorn::BlockEncoder* encoder;
  };
  vorn::BlockEncoder* EncoderFor(vorn::PackMethod method, uint32_t block_size);
  std::vector<Slot> slots_;
};

}  // namespace vornpack
