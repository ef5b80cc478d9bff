#include "foundation/system_error.h"

#include <cerrno>
#include <cstddef>

namespace vorn {
namespace {

struct ErrorMapping {
  uint32_t system_error;
  Result result;
};

// Sorted by system error number for the binary search below.
constexpr ErrorMapping kSystemErrors[] = {
    {0, kOk},                   // success
    {2, kNotFound},             // file not found
    {3, kInvalidPath},          // path not found
    {5, kAccessDenied},         // access denied
    {6, kInvalidHandle},        // invalid handle
    {8, kOutOfMemory},          // not enough memory
    {18, kNoMoreItems},         // no more files
    {21, kNotReady},            // device not ready
    {23, kCorruptData},         // CRC error
    {32, kInUse},               // sharing violation
    {87, kInvalidArgument},     // invalid parameter
    {112, kDiskFull},           // disk full
    {120, kNotSupported},       // call not implemented
    {123, kInvalidName},        // invalid name
    {126, kNotFound},           // module not found
    {145, kFolderNotEmpty},     // folder not empty
    {183, kAlreadyExists},      // already exists
    {193, kInvalidContent},     // bad executable format
    {206, kInvalidPath},        // file name too long
    {1114, kFailed},            // DLL initialization failed
    {1223, kCancelled},         // cancelled by the user
    {1392, kCorruptData},       // file corrupt
    {1407, kInvalidName},       // window class not found
    {10014, kInvalidArgument},  // bad address
    {10038, kNotOpen},          // not a socket
    {10048, kAlreadyExists},    // address in use
    {10054, kNotOpen},          // connection reset
    {10057, kNotOpen},          // not connected
    {10060, kTimedOut},         // timed out
    {10061, kAccessDenied},     // connection refused
    {12002, kTimedOut},         // HTTP timeout
    {12005, kInvalidArgument},  // invalid URL
    {12006, kInvalidContent},   // unrecognized scheme
    {12007, kFailed},           // name not resolved
    {12017, kCancelled},        // operation cancelled
    {12029, kFailed},           // cannot connect
    {12150, kNotFound},         // header not found
    {12152, kFailed},           // invalid server response
    {12180, kFailed},           // proxy auto-detection failed
    {14001, kFailed},           // side-by-side configuration error
};

// COM results as unsigned values: E_OUTOFMEMORY, E_ACCESSDENIED and
// HRESULT_FROM_WIN32(ERROR_CANCELLED).
constexpr uint32_t kComOutOfMemory = 0x8007000Eu;
constexpr uint32_t kComAccessDenied = 0x80070005u;
constexpr uint32_t kComCancelled = 0x800704C7u;

// Windows numbers used for errno values.
constexpr uint32_t kErrorGenFailure = 31;

}  // namespace

Result ResultFromSystemError(uint32_t error) noexcept {
  size_t low = 0;
  size_t high = sizeof(kSystemErrors) / sizeof(kSystemErrors[0]);
  while (low < high) {
    const size_t middle = low + (high - low) / 2;
    if (kSystemErrors[middle].system_error < error) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  const bool found = low < sizeof(kSystemErrors) / sizeof(kSystemErrors[0]) &&
                     kSystemErrors[low].system_error == error;
  return found ? kSystemErrors[low].result : kSystemFailure;
}

Result ResultFromComResult(int32_t hr) noexcept {
  switch (static_cast<uint32_t>(hr)) {
    case 0:
      return kOk;
    case kComOutOfMemory:
      return kOutOfMemory;
    case kComAccessDenied:
      return kAccessDenied;
    case kComCancelled:
      return kCancelled;
    default:
      return kSystemFailure;
  }
}

uint32_t SystemErrorFromErrno(int error) noexcept {
  switch (error) {
    case 0:
      return 0;
    case ENOENT:
    case ENXIO:
    case ENODEV:
      return 2;  // file not found
    case ENOTDIR:
    case ELOOP:
      return 3;  // path not found: a component is missing or not a folder
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:  // Windows refuses to delete or open a folder as a file this way
      return 5;   // access denied
    case EBADF:
      return 6;  // invalid handle
    case ENOMEM:
      return 8;  // not enough memory
    case EIO:
      return 23;  // the device failed to read or write the data
    case EBUSY:
    case ETXTBSY:
      return 32;  // sharing violation
    case EINVAL:
    case EFAULT:
      return 87;  // invalid parameter
    case ENOSPC:
    case EFBIG:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return 112;  // disk full
    case ENOSYS:
    case ENOTSUP:
#if defined(EOPNOTSUPP) && EOPNOTSUPP != ENOTSUP
    case EOPNOTSUPP:
#endif
      return 120;  // not implemented
    case ENOTEMPTY:
      return 145;  // folder not empty
    case EEXIST:
      return 183;  // already exists
    case ENOEXEC:
      return 193;  // bad executable format
    case ENAMETOOLONG:
      return 206;  // name too long
    case ECANCELED:
      return 1223;  // cancelled
    case ETIMEDOUT:
      return 10060;
    case ECONNREFUSED:
      return 10061;
    case ECONNRESET:
      return 10054;
    case ENOTCONN:
      return 10057;
    case ENOTSOCK:
      return 10038;
    case EADDRINUSE:
      return 10048;
    default:
      return kErrorGenFailure;
  }
}

Result ResultFromErrno(int error) noexcept {
  return ResultFromSystemError(SystemErrorFromErrno(error));
}

}  // namespace vorn
