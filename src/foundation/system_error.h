// The one table that turns system errors into result codes. Numbers are
// Windows error numbers; on POSIX the errno of the failed call is first
// mapped to the matching Windows number.
#pragma once

#include <cstdint>

#include "foundation/result.h"

namespace vorn {

// A Windows system error number to a result code; unknown numbers give 1.
Result ResultFromSystemError(uint32_t error) noexcept;
// A COM result (HRESULT) to a result code; unknown values give 1.
Result ResultFromComResult(int32_t hr) noexcept;
// The calling thread's last system error (GetLastError or errno), mapped.
Result LastSystemResult() noexcept;
// POSIX only: an errno value to a result code (through its Windows number).
Result ResultFromErrno(int error) noexcept;

}  // namespace vorn
