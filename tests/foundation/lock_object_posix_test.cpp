#include <gtest/gtest.h>

#include "foundation/lock_object.h"
#include "foundation/windows_version.h"

namespace vorn {
namespace {

TEST(LockObjectPosixTest, NamedLocksAreNotSupportedAndTheLockStaysPlain) {
  LockObject lock;
  EXPECT_EQ(lock.CreateNamed(u"VornLib.Test"), kNotSupported);
  EXPECT_FALSE(lock.IsNamed());
  lock.Lock();
  lock.Unlock();
}

TEST(WindowsVersionPosixTest, IsTheNewestNumber) {
  EXPECT_EQ(WindowsVersion(), kWindows10);
}

}  // namespace
}  // namespace vorn
