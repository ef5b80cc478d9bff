// The one table that turns system errors into result codes. Numbers are
// Windows error numbers; on POSIX the errno of the failed call is first
// mapped to the matching Windows number, so both platforms report a missing
// file, a full disk or a refused access with the same code.
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
// An errno value (POSIX calls, or the C runtime on Windows) to the Windows
// error number that means the same; unknown values give 31 (ERROR_GEN_FAILURE)
// so that they end up as code 1.
uint32_t SystemErrorFromErrno(int error) noexcept;
// An errno value to a result code (through its Windows number).
Result ResultFromErrno(int error) noexcept;

}  // namespace vorn
