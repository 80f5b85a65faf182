#include "lifecycle/instance_lock_win.h"

#include <gtest/gtest.h>

#include <thread>

namespace averlune {
namespace {

constexpr char16_t kName[] = u"AverluneInstanceLockTest";

TEST(InstanceLock, OneRunHoldsItTheOthersAreToldSoAndItIsFreeAgainAfterTheEnd) {
  OwnedMutex first;
  ASSERT_EQ(acquireInstanceLock(kName, first), InstanceLockResult::acquired);
  EXPECT_TRUE(first);

  // Another run, here another holder and another thread: told that the lock is held, given nothing.
  OwnedMutex second;
  EXPECT_EQ(acquireInstanceLock(kName, second), InstanceLockResult::heldByAnotherRun);
  EXPECT_FALSE(second);
  std::thread([] {
    OwnedMutex third;
    EXPECT_EQ(acquireInstanceLock(kName, third), InstanceLockResult::heldByAnotherRun);
    EXPECT_FALSE(third);
  }).join();

  first.reset();  // the run ends
  EXPECT_EQ(acquireInstanceLock(kName, second), InstanceLockResult::acquired);
  EXPECT_TRUE(second);
}

}  // namespace
}  // namespace averlune
