// Result codes returned by every operation of the framework. 0 is success;
// outputs are left empty (empty String, zero, false, null) on failure.
#pragma once

#include <cstdint>

namespace vorn {

using Result = uint32_t;

enum : Result {
  kOk = 0,
  kSystemFailure = 1,     // unspecified system failure
  kNotSupported = 2,      // not implemented / not supported (Seek on a decoder)
  kBadFormat = 3,         // unsupported format or inconsistent encoding
  kNotOpen = 4,           // not open / not connected / wrong state / not installed
  kInvalidArgument = 5,
  kMissingData = 6,       // required data missing (a required XML attribute)
  kFailed = 7,            // the platform refused, corrupt compressed data
  kCancelled = 8,
  kTimedOut = 9,
  kOutOfMemory = 12,
  kDiskFull = 13,
  kAlreadyExists = 14,    // also: already running
  kNullInput = 15,
  kNotReadable = 16,      // memory stream not in reading mode
  kAccessDenied = 17,
  kNotReady = 18,
  kEndOfData = 19,
  kNoMoreItems = 20,
  kFolderNotEmpty = 21,
  kCorruptData = 22,
  kNullOutput = 23,
  kNoRoom = 24,           // memory stream full or without capacity
  kNotWritable = 25,      // memory stream not in writing mode
  kInUse = 27,            // sharing violation
  kNotFound = 29,
  kInvalidPath = 31,
  kInvalidState = 32,     // also: checksum mismatch in the package archive
  kInvalidContent = 33,   // malformed structure, unrecognised value, bad magic
  kSyntaxError = 34,      // malformed characters or markup
  kInvalidHandle = 35,
  kLocalizedTextMissing = 36,
  kIndexOutOfRange = 37,
  kInvalidName = 38,
  kWrongType = 39,
  kInvalidSize = 40,
};

}  // namespace vorn
