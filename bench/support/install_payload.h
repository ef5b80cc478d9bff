// The product payload of the installer benchmark: 100 MiB of incompressible
// media, 60 MiB of executable-like modules and 200 licence texts, generated
// from a seed so that every run (and every machine) packs the same bytes.
// `scale` shrinks the two large shares for quick checks (1.0 = full size;
// the licence texts stay as they are).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/result.h"

namespace bench {

enum class PayloadKind { kIncompressible, kExecutable, kLicence };

struct PayloadFile {
  std::string path;  // relative, "/" separators
  uint64_t size;
  PayloadKind kind;
};

inline constexpr uint32_t kPayloadSeed = 20261209;

// The files, in the order they are written; sizes follow from `scale`.
// An empty list when scale is not above 0 or above 1.
std::vector<PayloadFile> PayloadLayout(double scale);

// Writes the payload below `folder` (created with its parents when missing);
// files already there with the same paths are replaced, others are left
// alone. 5 for a bad scale or an empty folder name, 31 when the folder cannot
// be created, 13 when the disk is full, 1 for any other write failure.
vorn::Result WritePayload(const std::string& folder, double scale, uint32_t seed);

}  // namespace bench
