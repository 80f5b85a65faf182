#include "guards/files_in_use.h"

#include <gtest/gtest.h>

namespace averlune {
namespace {

TEST(FilesInUse, OnlyAPlainFileHeldByAnotherProgramWaitsForTheRestart) {
  constexpr std::uint32_t kNameCollision = 0xC0000035;
  constexpr std::uint32_t kNoMemory = 0xC0000017;
  const struct {
    std::uint32_t status;
    std::uint32_t attributes;
    bool waits;
  } rows[] = {
      {kStatusSharingViolation, 0x20, true},   // held without sharing deletion
      {kStatusAccessDenied, 0x80, true},       // a running program's image
      {kStatusAccessDenied, 0x22, true},       // hidden and archive are no reason to refuse
      {kStatusCannotDelete, 0x20, true},       // deleting a running program's image
      {kStatusAccessDenied, 0x21, false},      // read-only: a restart changes nothing
      {kStatusSharingViolation, 0x10, false},  // a folder of that name
      {kStatusSharingViolation, 0x420, false}, // a link: never queued by its path
      {kStatusSharingViolation, 0xFFFFFFFF, false},  // gone or unreadable
      {kNameCollision, 0x20, false},
      {kNoMemory, 0x20, false},
      {0, 0x20, false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(waitsForRestart(row.status, row.attributes), row.waits) << std::hex << row.status << " " << row.attributes;
  }
}

TEST(FilesInUse, AFolderWaitsForTheRestartOnlyWhenAllItHoldsIsQueued) {
  const std::vector<std::u16string> queued = {u"C:\\App\\bin\\tool.exe", u"C:\\App\\bin\\", u"C:\\App\\Docs\\Ä.txt"};
  const struct {
    std::vector<std::u16string> names;
    bool waits;
  } rows[] = {
      {{u"bin"}, true},                     // a folder queued with its "\"
      {{u"BIN", u"docs"}, false},           // docs holds something not queued
      {{}, true},                           // empty: nothing stops its deletion
      {{u"bin", u"notes.txt"}, false},      // a file the user put there
  };
  for (const auto& row : rows) EXPECT_EQ(holdsOnlyQueued(u"C:\\App\\", row.names, queued), row.waits);
  EXPECT_TRUE(holdsOnlyQueued(u"C:\\App\\bin\\", {u"TOOL.EXE"}, queued));
  EXPECT_TRUE(holdsOnlyQueued(u"C:\\App\\docs\\", {u"Ä.txt"}, queued));
  EXPECT_FALSE(holdsOnlyQueued(u"C:\\App\\docs\\", {u"ä.txt"}, queued));  // not ASCII: exact only
}

TEST(FilesInUse, TheLogLineNamesTheFileAndEveryHolderTheSystemNamed) {
  EXPECT_EQ(fileAtRestartLogLine(u"replaced at the next restart", {u"C:\\App\\a.txt", {}}),
            u"replaced at the next restart: C:\\App\\a.txt");
  EXPECT_EQ(fileAtRestartLogLine(u"deleted at the next restart", {u"C:\\App\\b.txt", {u"Notes", u"Viewer"}}),
            u"deleted at the next restart: C:\\App\\b.txt (in use by Notes, Viewer)");
}

}  // namespace
}  // namespace averlune
