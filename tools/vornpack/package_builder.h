// Writes a package archive from a list of inputs, in the given order, with
// the framework's archive writer. Entries of the block-framed methods are
// cut into blocks (4 MiB for LZMA, PPMd and LZMA2) that the block
// compressor codes on every core, while the main thread reads ahead and
// writes finished blocks in order; a bounded window of blocks in flight
// keeps memory use flat whatever the files' sizes. Stored and deflated
// entries are copied through the writer on the main thread.
//
// A sampled input's first block is coded like any other; the coded block
// decides whether the entry is LZMA (the block is kept as its first) or
// stored. Its later blocks wait, uncoded, until that is known, so no work
// is spent on a file that will be stored, and the decision, made from the
// first block's bytes alone, is the same whatever the thread count.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "foundation/date_time.h"
#include "foundation/result.h"
#include "package/package_format.h"
#include "package/stream.h"
#include "progress.h"

namespace vornpack {

using vorn::Result;

struct PackageInput {
  std::u16string package_path;
  std::u16string disk_path;  // empty for generated content
  std::string generated;     // the content when there is no disk file
  uint64_t size = 0;         // as listed; a file of another size has changed
  vorn::DateTime last_write;
  vorn::PackMethod method = vorn::kMethodStored;
  // LZMA only when the first block compresses (CompressionPays), else
  // stored; `method` must then be LZMA.
  bool sampled = false;
};

struct BuildSettings {
  uint32_t threads = 1;
  uint32_t creation_date = 0;  // digit-coded, as the archive header holds them
  uint32_t creation_time = 0;
  ProgressReporter* progress = nullptr;
  // Called as each disk file is opened for packing (tests change files here).
  std::function<void(const PackageInput&)> on_file_opened;
};

struct BuildSummary {
  uint64_t entries = 0;
  uint64_t input_bytes = 0;
  uint64_t archive_bytes = 0;
  // Sampled inputs that were stored because their first block did not
  // compress, and their size.
  uint64_t incompressible_files = 0;
  uint64_t incompressible_bytes = 0;
};

// The block size of each block-framed method in this tool's packages.
uint32_t PackageBlockSize(vorn::PackMethod method);

// Writes the archive to `sink` (seekable, at position 0). A file that
// cannot be read or that changed since it was listed stops the build with
// its name in `error`; the sink then holds garbage for the caller to drop.
Result WritePackage(const std::vector<PackageInput>& inputs, const BuildSettings& settings,
                    vorn::Stream& sink, BuildSummary& summary, std::string& error);

}  // namespace vornpack
