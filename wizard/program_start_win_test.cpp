#include "wizard/program_start_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "config/file_bytes.h"
#include "config/temp_folder_test_support.h"
#include "config/wide_text_win.h"
#include "install/shortcut_link_win.h"

namespace averlune {
namespace {

// What the launch probe (tests/e2e/fixtures/launch_probe.c) wrote next to itself: its current
// folder and its command line, or the empty text when it did not run within 10 s.
std::u16string probeReport(const std::u16string& folder) {
  std::string bytes;
  for (int waited = 0; waited < 10000 && !readFileBytes(folder + u"launched.txt", bytes); waited += 50) Sleep(50);
  Sleep(100);  // the probe may still be writing
  readFileBytes(folder + u"launched.txt", bytes);
  return std::u16string(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2);
}

// A folder with a space in its name, holding the launch probe as "Tool.exe".
struct ProbeFolder {
  TempFolder temp;
  std::u16string folder = temp.folder() + u"Tool Folder\\";
  std::u16string probe = folder + u"Tool.exe";
  ProbeFolder() {
    std::filesystem::create_directories(std::filesystem::path(folder));
    std::string image;
    EXPECT_TRUE(readFileBytes(fromWide(AVERLUNE_TEST_LAUNCH_PROBE), image));
    temp.write(u"Tool Folder\\Tool.exe", image);
  }
};

std::u16string withoutClosingBackslash(std::u16string folder) {
  folder.pop_back();
  return folder;
}

TEST(ProgramStart, TheProgramRunsQuotedInItsOwnFolder) {
  ProbeFolder probe;
  startProgram(programLaunchFor(probe.probe));
  EXPECT_EQ(probeReport(probe.folder),
            withoutClosingBackslash(probe.folder) + u"\r\n\"" + probe.probe + u"\"\r\n");

  // The author's own quotes and arguments go to the program as written.
  DeleteFileW(wide(probe.folder + u"launched.txt"));
  startProgram(programLaunchFor(u"\"" + probe.probe + u"\" /first"));
  EXPECT_EQ(probeReport(probe.folder),
            withoutClosingBackslash(probe.folder) + u"\r\n\"" + probe.probe + u"\" /first\r\n");
}

TEST(ProgramStart, WhatIsNoProgramGoesToTheShellAndFailuresStaySilent) {
  ProbeFolder probe;
  // A shortcut is no program for CreateProcess; the shell opens it, which starts its target.
  const std::u16string link = probe.folder + u"Tool.lnk";
  ASSERT_TRUE(createShortcut(probe.probe, link, probe.folder, u"", u"", u"", 0));
  startProgram(programLaunchFor(link));
  EXPECT_NE(probeReport(probe.folder).find(u"Tool.exe"), std::u16string::npos);

  // A document nothing opens, and a program that is not there: nothing happens, and no box of
  // the shell holds the caller up (the test would hang here).
  startProgram(programLaunchFor(probe.temp.write(u"notes.averlune-unknown", "text")));
  startProgram(programLaunchFor(probe.folder + u"missing.exe"));
  startProgram(programLaunchFor(u""));
}

}  // namespace
}  // namespace averlune
