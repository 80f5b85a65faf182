#include "uninstaller/uninstall_texts.h"

#include <gtest/gtest.h>

#include "authoring/manual_test_support.h"

namespace averlune {
namespace {

TEST(UninstallTexts, TheSectionsTextsWithTheApplicationNameInQuestionSubtitleAndSuccess) {
  KeyValueFile file;
  openBytes(file,
            "[Setup]\r\nBM = not this one\r\n"
            "[Uninstall]\r\n"
            "BM_T = Uninstall <appname>\r\n"
            "BM = Remove <appname> and <appname>? <AppName> <appversion>\r\n"
            "Header = Status of <appname>\r\n"
            "Header_b = Wait for <appname>.\r\n"
            "Uninstalling = Removing <appname>\r\n"
            "Btn_cancel = Stop\r\n"
            "ExitUninstall_T = Quit <appname>\r\n"
            "ExitUninstall = Quit?\r\n"
            "Success_T = Done\r\n"
            "Success = <appname> is gone!\r\n"
            "[Other]\r\nItemsLeft = not this one either\r\n");
  const UninstallTexts texts = readUninstallTexts(file, u"T\u00fcl");
  EXPECT_EQ(texts.BM_T, u"Uninstall <appname>");
  EXPECT_EQ(texts.BM, u"Remove T\u00fcl and T\u00fcl? <AppName> <appversion>");
  EXPECT_EQ(texts.Header, u"Status of <appname>");
  EXPECT_EQ(texts.Header_b, u"Wait for T\u00fcl.");
  EXPECT_EQ(texts.Uninstalling, u"Removing <appname>");
  EXPECT_EQ(texts.Btn_cancel, u"Stop");
  EXPECT_EQ(texts.ExitUninstall_T, u"Quit <appname>");
  EXPECT_EQ(texts.ExitUninstall, u"Quit?");
  EXPECT_EQ(texts.Success_T, u"Done");
  EXPECT_EQ(texts.Success, u"T\u00fcl is gone!");
  EXPECT_EQ(texts.ItemsLeft, kDefaultItemsLeft);

  EXPECT_EQ(texts.Incomplete, u"T\u00fcl could not be removed completely from your computer.");
  EXPECT_EQ(texts.PassedOver, kDefaultPassedOver);

  openBytes(file, "[uninstall]\r\nItemsLeft = Left: <count>\r\nIncomplete = Not all of <appname>\r\n"
                  "PassedOver = Passed over: <count>\r\n");
  const UninstallTexts own = readUninstallTexts(file, u"Tool");
  EXPECT_EQ(own.ItemsLeft, u"Left: <count>");
  EXPECT_EQ(own.Incomplete, u"Not all of Tool");
  EXPECT_EQ(own.PassedOver, u"Passed over: <count>");

  openBytes(file, "[Main]\r\nTitle = Setup\r\n");
  const UninstallTexts missing = readUninstallTexts(file, u"Tool");
  EXPECT_EQ(missing.BM, u"");
  EXPECT_EQ(missing.Success, u"");
  EXPECT_EQ(missing.ItemsLeft, kDefaultItemsLeft);
}

// The author's manual lists exactly the texts the uninstaller reads.
TEST(UninstallTexts, TheAuthorsManualListsEveryKeyOfTheSection) {
  const std::vector<std::string> manual = testing::manualLines();
  if (manual.empty()) GTEST_SKIP() << "the manual is not beside the sources";
  const auto keys = testing::readerKeys([](KeyValueFile& file) { readUninstallTexts(file, u""); });
  EXPECT_EQ(testing::manualKeys(manual, "Default.avl", "Uninstall"), keys.at("Uninstall"));
}

}  // namespace
}  // namespace averlune
