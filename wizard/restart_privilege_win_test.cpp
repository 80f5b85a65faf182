#include <windows.h>

#include <gtest/gtest.h>

#include "base/owned_handle_win.h"
#include "wizard/restart_win.h"

namespace averlune {
namespace {

OwnedHandle processToken() {
  HANDLE token = nullptr;
  EXPECT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token));
  return OwnedHandle(token);
}

LUID shutdownPrivilege() {
  LUID luid{};
  EXPECT_TRUE(LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &luid));
  return luid;
}

bool shutdownPrivilegeEnabled() {
  PRIVILEGE_SET wanted{};
  wanted.PrivilegeCount = 1;
  wanted.Control = PRIVILEGE_SET_ALL_NECESSARY;
  wanted.Privilege[0].Luid = shutdownPrivilege();
  BOOL held = FALSE;
  EXPECT_TRUE(PrivilegeCheck(processToken().get(), &wanted, &held));
  return held != FALSE;
}

void setShutdownPrivilege(DWORD attributes) {
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Luid = shutdownPrivilege();
  privileges.Privileges[0].Attributes = attributes;
  ASSERT_TRUE(AdjustTokenPrivileges(processToken().get(), FALSE, &privileges, 0, nullptr, nullptr));
}

TEST(RestartPrivilege, TheSetupEnablesTheShutdownPrivilegeItStartsWithout) {
  setShutdownPrivilege(0);
  ASSERT_FALSE(shutdownPrivilegeEnabled());
  EXPECT_TRUE(enableShutdownPrivilege());
  EXPECT_TRUE(shutdownPrivilegeEnabled());
  EXPECT_TRUE(enableShutdownPrivilege());  // once more changes nothing
  EXPECT_TRUE(shutdownPrivilegeEnabled());
  setShutdownPrivilege(0);
}

}  // namespace
}  // namespace averlune
