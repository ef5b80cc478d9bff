// The plain-copy reference of the installer benchmark: every file of a
// folder tree copied with CopyFileW into another folder, creating the
// sub-folders on the way, as a program without any installer logic would.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/result.h"

namespace probe {

struct CopyTotals {
  uint64_t files = 0;
  uint64_t bytes = 0;
};

// Copies `source` (a folder) below `target` (created when missing); existing
// files are replaced. 29 when the source folder does not exist, 31 when a
// target folder cannot be made; any other failure is the first copy's error
// (17 access denied, 13 disk full, 1 otherwise). The totals count what was
// copied before a failure.
vorn::Result CopyTree(const std::wstring& source, const std::wstring& target, CopyTotals& totals);

}  // namespace probe
