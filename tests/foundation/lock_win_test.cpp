#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>

#include "foundation/lock_object.h"
#include "foundation/system_error.h"
#include "foundation/windows_version.h"

namespace vorn {
namespace {

std::u16string UniqueLockName() {
  std::random_device random;
  const std::wstring number = std::to_wstring(random()) + L"." + std::to_wstring(random());
  return u"VornLib.Test." + std::u16string(number.begin(), number.end());
}

TEST(NamedLockTest, TheSecondCreationSeesTheFirst) {
  const std::u16string name = UniqueLockName();
  LockObject first;
  ASSERT_EQ(first.CreateNamed(name.c_str()), kOk);
  EXPECT_TRUE(first.IsNamed());
  EXPECT_FALSE(first.AlreadyExisted());
  LockObject second;
  ASSERT_EQ(second.CreateNamed(name.c_str()), kOk);
  EXPECT_TRUE(second.AlreadyExisted());
  // The mutex lives in the session's "Local\" namespace.
  const std::wstring full = L"Local\\" + std::wstring(name.begin(), name.end());
  const HANDLE seen = OpenMutexW(SYNCHRONIZE, FALSE, full.c_str());
  EXPECT_NE(seen, nullptr);
  if (seen != nullptr) CloseHandle(seen);
}

TEST(NamedLockTest, ANameIsFreeAgainOnceEveryHolderIsGone) {
  const std::u16string name = UniqueLockName();
  {
    LockObject first;
    ASSERT_EQ(first.CreateNamed(name.c_str()), kOk);
  }
  LockObject again;
  ASSERT_EQ(again.CreateNamed(name.c_str()), kOk);
  EXPECT_FALSE(again.AlreadyExisted());
  LockObject other;
  ASSERT_EQ(other.CreateNamed((name + u".other").c_str()), kOk);
  EXPECT_FALSE(other.AlreadyExisted());
}

TEST(NamedLockTest, ANamedLockExcludesAndReenters) {
  LockObject lock;
  ASSERT_EQ(lock.CreateNamed(UniqueLockName().c_str()), kOk);
  lock.Lock();
  lock.Lock();
  lock.Unlock();
  lock.Unlock();
}

TEST(NamedLockTest, NamesTheSystemRefuses) {
  LockObject lock;
  // A backslash after "Local\" would name a namespace that does not exist.
  const Result result = lock.CreateNamed(u"Bad\\Name");
  EXPECT_NE(result, kOk);
  EXPECT_FALSE(lock.IsNamed());
  lock.Lock();  // still a working plain lock
  lock.Unlock();
}

TEST(SystemErrorWinTest, LastSystemResultReadsTheThreadsLastError) {
  SetLastError(ERROR_ACCESS_DENIED);
  EXPECT_EQ(LastSystemResult(), kAccessDenied);
  SetLastError(ERROR_CANCELLED);
  EXPECT_EQ(LastSystemResult(), kCancelled);
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(LastSystemResult(), kOk);
}

TEST(WindowsVersionTest, OneNumberForTheWholeProcess) {
  const uint32_t version = WindowsVersion();
  EXPECT_GE(version, kWindowsXP);
  EXPECT_LE(version, kWindows10);
  EXPECT_EQ(WindowsVersion(), version);
}

}  // namespace
}  // namespace vorn
