#include "foundation/system_error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <utility>

namespace vorn {
namespace {

TEST(SystemErrorTest, EveryRowOfTheTable) {
  const std::pair<uint32_t, Result> rows[] = {
      {0, 0},     {2, 29},    {3, 31},     {5, 17},    {6, 35},    {8, 12},     {18, 20},
      {21, 18},   {23, 22},   {32, 27},    {87, 5},    {112, 13},  {120, 2},    {123, 38},
      {126, 29},  {145, 21},  {183, 14},   {193, 33},  {206, 31},  {1114, 7},   {1223, 8},
      {1392, 22}, {1407, 38}, {14001, 7},  {10014, 5}, {10038, 4}, {10048, 14}, {10054, 4},
      {10057, 4}, {10060, 9}, {10061, 17}, {12002, 9}, {12005, 5}, {12006, 33}, {12007, 7},
      {12017, 8}, {12029, 7}, {12150, 29}, {12152, 7}, {12180, 7},
  };
  for (const auto& [error, result] : rows) {
    EXPECT_EQ(ResultFromSystemError(error), result) << "system error " << error;
  }
}

TEST(SystemErrorTest, NumbersOutsideTheTableAreUnspecifiedFailures) {
  for (uint32_t error : {1u, 4u, 31u, 122u, 1000u, 14000u, 0xFFFFFFFFu}) {
    EXPECT_EQ(ResultFromSystemError(error), kSystemFailure) << error;
  }
}

TEST(SystemErrorTest, ComResults) {
  EXPECT_EQ(ResultFromComResult(0), kOk);
  EXPECT_EQ(ResultFromComResult(static_cast<int32_t>(0x8007000Eu)), kOutOfMemory);
  EXPECT_EQ(ResultFromComResult(static_cast<int32_t>(0x80070005u)), kAccessDenied);
  EXPECT_EQ(ResultFromComResult(static_cast<int32_t>(0x800704C7u)), kCancelled);
  EXPECT_EQ(ResultFromComResult(1), kSystemFailure);  // S_FALSE is no plain success
  EXPECT_EQ(ResultFromComResult(static_cast<int32_t>(0x80004005u)), kSystemFailure);
}

TEST(SystemErrorTest, ErrnoValuesMeanTheirWindowsCounterparts) {
  const std::pair<int, uint32_t> rows[] = {
      {0, 0},        {ENOENT, 2},      {ENOTDIR, 3},        {EACCES, 5},
      {EPERM, 5},    {EBADF, 6},       {ENOMEM, 8},         {ENOSPC, 112},
      {EEXIST, 183}, {ENOTEMPTY, 145}, {ENAMETOOLONG, 206}, {EINVAL, 87},
      {EBUSY, 32},   {ETXTBSY, 32},    {ENOSYS, 120},       {EIO, 23},
      {EROFS, 5},    {EISDIR, 5},
  };
  for (const auto& [error, windows] : rows) {
    EXPECT_EQ(SystemErrorFromErrno(error), windows) << "errno " << error;
    EXPECT_EQ(ResultFromErrno(error), ResultFromSystemError(windows)) << "errno " << error;
  }
  EXPECT_EQ(ResultFromErrno(ENOENT), kNotFound);
  EXPECT_EQ(ResultFromErrno(ENOSPC), kDiskFull);
  EXPECT_EQ(ResultFromErrno(EDOM), kSystemFailure);
}

}  // namespace
}  // namespace vorn
