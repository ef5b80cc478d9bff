// Writes a package archive into a copy of a Windows executable as resource
// RCDATA 4096, by rebuilding the resource section: no resource compiler is
// needed, on any platform. Every other resource of the stub (icons, group
// icons, manifest, version information) is kept. The new resource section is
// the image's last section: the old one is rewritten in place when it is
// already last, otherwise a new section is appended and the resource
// directory points at it. A certificate (signature) of the stub is removed:
// it would not match the new image, so the result has to be signed again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/result.h"

namespace vornpack {

using vorn::Result;

// The new executable in three parts, so that a large package can be
// streamed from its file between them: `head`, then the package's bytes,
// then `tail`. The checksum field (at `checksum_field`, inside head) is left
// zero; PeChecksum over the three parts gives its value.
struct EmbeddingPlan {
  std::vector<uint8_t> head;
  uint64_t package_size = 0;
  std::vector<uint8_t> tail;
  uint64_t checksum_field = 0;
  std::vector<std::string> notes;  // what the rebuild changed that the user must know
};

// Plans the executable. A stub that is not a PE image, has no room for a
// new section header, or carries data after its last section that is neither
// a certificate nor a symbol table gives 33 with the reason; a package too
// large for the image gives 40.
Result PlanPackageEmbedding(const uint8_t* stub, uint64_t stub_size, uint64_t package_size,
                            EmbeddingPlan& plan, std::string& error);

// The whole executable in memory, checksum included.
Result EmbedPackage(const uint8_t* stub, uint64_t stub_size, const uint8_t* package,
                    uint64_t package_size, std::vector<uint8_t>& executable,
                    std::vector<std::string>& notes, std::string& error);

}  // namespace vornpack
