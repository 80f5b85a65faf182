#include "lifecycle/windows_version.h"

#include <gtest/gtest.h>

#include "authoring/manual_test_support.h"

namespace averlune {
namespace {

constexpr unsigned kServer = 3;  // VER_NT_SERVER
constexpr unsigned kDomainController = 2;

TEST(WindowsVersionName, FollowsVersionAndProductType) {
  struct Row {
    unsigned major, minor, product;
    const char16_t* name;
  };
  const Row rows[] = {
      {5, 0, kWorkstationProductType, u"Windows 2000"}, {5, 0, kServer, u"Windows 2000"},
      {5, 1, kWorkstationProductType, u"Windows XP"},   {5, 2, kWorkstationProductType, u"Windows XP"},
      {5, 2, kServer, u"Windows Server 2003"},          {6, 0, kWorkstationProductType, u"Windows Vista"},
      {6, 0, kServer, u"Windows Server 2008"},          {6, 1, kWorkstationProductType, u"Windows 7"},
      {6, 1, kDomainController, u"Windows Server 2008"}, {6, 2, kWorkstationProductType, u"Windows 8"},
      {6, 2, kServer, u"Windows Server 2012"},          {4, 0, kWorkstationProductType, u""},
      {5, 3, kWorkstationProductType, u""},             {6, 3, kWorkstationProductType, u""},
      {10, 0, kWorkstationProductType, u""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(windowsVersionName(row.major, row.minor, row.product), row.name)
        << row.major << "." << row.minor << " type " << row.product;
  }
}

bool accepts(const char* osDat, const char16_t* version) {
  KeyValueFile file;
  openBytes(file, osDat);
  return isWindowsVersionAccepted(file, version);
}

TEST(WindowsVersionAccepted, OnlyTheRunningVersionsOwnLineWithValueOneCounts) {
  EXPECT_TRUE(accepts("Windows 7 = 1\r\n", u"Windows 7"));
  EXPECT_FALSE(accepts("Windows 7 = 1\r\n", u"Windows Server 2008"));  // 2008 R2
  EXPECT_TRUE(accepts("Windows Server 2008 = 1\r\n", u"Windows Server 2008"));
  EXPECT_FALSE(accepts("Windows Server 2008 = 1\r\n", u"Windows 7"));
  EXPECT_FALSE(accepts("Windows 7 = 2\r\n", u"Windows 7"));
  EXPECT_TRUE(accepts("windows 7 = 1\r\n", u"Windows 7"));  // key lookup ignores ASCII case
  EXPECT_FALSE(accepts("Windows 7 = 1\r\nWindows 10 = 1\r\n", u""));  // unknown versions never pass
  EXPECT_FALSE(accepts("", u"Windows 7"));
  EXPECT_TRUE(accepts("Windows 2000 = 1\nWindows XP = 1\nWindows Server 2003 = 1\nWindows Vista = 1\n"
                      "Windows Server 2008 = 1\nWindows 7 = 1\nWindows 8 = 1\nWindows Server 2012 = 1\n",
                      u"Windows Server 2012"));
}

// The author's manual lists exactly the version names the setup looks up in OS.dat.
TEST(WindowsVersionAccepted, TheAuthorsManualListsEveryVersionName) {
  const std::vector<std::string> manual = testing::manualLines();
  if (manual.empty()) GTEST_SKIP() << "the manual is not beside the sources";
  const auto keys = testing::readerKeys([](KeyValueFile& file) { isWindowsVersionAccepted(file, u""); });
  EXPECT_EQ(testing::manualKeys(manual, "OS.dat", "-"), keys.at("-"));
}

}  // namespace
}  // namespace averlune
