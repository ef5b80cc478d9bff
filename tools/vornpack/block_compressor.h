// Compresses the blocks of block-framed entries (methods 2 to 5) on a small
// pool of the framework's threads. A block's coded form depends only on
// its method, the encoder's block-size hint and its bytes, so the main
// thread can hand out blocks in any number, collect the results in order
// and write an archive that is byte for byte the same whatever the thread
// count. With one thread the blocks are coded on the calling thread.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "block_codec_cache.h"
#include "foundation/lock_object.h"
#include "foundation/result.h"
#include "package/package_format.h"
#include "work_signal.h"

namespace vornpack {

using vorn::Result;

struct BlockJob {
  vorn::PackMethod method = vorn::kMethodLzma;
  uint32_t block_size = 0;  // the encoder's size hint, the same for every block of a method
  std::vector<uint8_t> input;
  // Results: the framed block and the entry's properties field.
  std::vector<uint8_t> output;
  uint8_t properties[5] = {};
  Result result = vorn::kOk;
  bool done = false;  // guarded by the compressor's lock
};

class BlockCompressor {
 public:
  BlockCompressor();
  ~BlockCompressor();
  BlockCompressor(const BlockCompressor&) = delete;
  BlockCompressor& operator=(const BlockCompressor&) = delete;

  // Starts `threads` workers (none for 1). 12 or the system's error when
  // they cannot be created.
  Result Start(uint32_t threads);
  // Queues a job; the job must stay alive until WaitFor has returned for it.
  void Submit(BlockJob* job);
  void WaitFor(BlockJob* job);
  // Whether a submitted job is finished, without waiting.
  bool IsDone(BlockJob* job);
  // Ends the workers after the queued jobs; also done by the destructor.
  void Stop();

 private:
  class Worker;
  bool TakeJob(BlockJob*& job);
  void Complete(BlockJob* job);

  vorn::LockObject lock_;
  WorkSignal work_;
  WorkSignal finished_;
  std::deque<BlockJob*> queue_;
  bool stopping_ = false;
  std::vector<std::unique_ptr<Worker>> workers_;
  BlockCodecCache inline_codecs_;  // for the single-threaded case
};

}  // namespace vornpack
