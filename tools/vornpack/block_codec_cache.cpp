#include "block_codec_cache.h"

#include "block_compressor.h"

namespace vornpack {

BlockCodecCache::~BlockCodecCache() {
  for (Slot& slot : slots_) delete slot.encoder;
}

vorn::BlockEncoder* BlockCodecCache::EncoderFor(vorn::PackMethod method, uint32_t block_size) {
  for (const Slot& slot : slots_) {
    if (slot.method == method && slot.block_size == block_size) return slot.encoder;
  }
  vorn::BlockEncoder* encoder = vorn::NewBlockEncoder(method, block_size);
  if (encoder != nullptr) slots_.push_back({method, block_size, encoder});
  return encoder;
}

vorn::Result BlockCodecCache::Encode(BlockJob& job) {
  job.output.clear();
  vorn::BlockEncoder* encoder = EncoderFor(job.method, job.block_size);
  if (encoder == nullptr) return vorn::kOutOfMemory;
  encoder->Properties(job.properties);
  // An empty entry is its properties field alone, as the archive writer's
  // own streams leave it: no block at all.
  if (job.input.empty()) return vorn::kOk;
  const uint32_t size = static_cast<uint32_t>(job.input.size());
  job.output.resize(vorn::FramedBlockBound(*encoder, size));
  uint32_t framed = 0;
  vorn::Result r =
      vorn::EncodeFramedBlock(*encoder, job.input.data(), size, job.output.data(), framed);
  job.output.resize(r == vorn::kOk ? framed : 0);
  return r;
}

}  // namespace vornpack
