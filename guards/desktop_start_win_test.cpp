#include "guards/desktop_start_win.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <string>

#include "base/file_bytes.h"
#include "base/temp_folder_test_support.h"
#include "base/text_decoding.h"
#include "base/wide_text_win.h"
#include "base/owned_handle_win.h"

namespace averlune {
namespace {

using Way = DesktopStartWay;
const std::vector<Way> kWithoutDesktopShell = {Way::ownProcess, Way::ownShell};

// What the launch probe (tests/e2e/fixtures/launch_probe.c) wrote next to itself: its current
// folder and its command line, or the empty text when it did not run within 10 s.
std::u16string probeReport(const std::u16string& folder) {
  std::string bytes;
  for (int waited = 0; waited < 10000 && !readFileBytes(folder + u"launched.txt", bytes); waited += 50) Sleep(50);
  Sleep(100);  // the probe may still be writing
  readFileBytes(folder + u"launched.txt", bytes);
  DeleteFileW(wide(folder + u"launched.txt"));
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
  DesktopStart start(const std::u16string& file, const std::u16string& arguments = u"") const {
    return {DesktopStartKind::program, file, arguments, folder};
  }
};

// A shell link at `link` to `target`, which only the shell can start.
bool makeShortcut(const std::u16string& link, const std::u16string& target) {
  const ComInitialization com;
  ComPtr<IShellLinkW> shortcut;
  ComPtr<IPersistFile> file;
  return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shortcut.putVoid())) &&
         SUCCEEDED(shortcut->SetPath(wide(target))) &&
         SUCCEEDED(shortcut->QueryInterface(IID_IPersistFile, file.putVoid())) && SUCCEEDED(file->Save(wide(link), TRUE));
}

std::u16string withoutClosingBackslash(std::u16string folder) {
  folder.pop_back();
  return folder;
}

TEST(DesktopStartWin, WithoutADesktopShellTheProgramRunsAsAProcessOfItsOwnInItsFolder) {
  ProbeFolder probe;
  EXPECT_EQ(startTryingWays(probe.start(probe.probe), kWithoutDesktopShell), Way::ownProcess);
  EXPECT_EQ(probeReport(probe.folder), withoutClosingBackslash(probe.folder) + u"\r\n\"" + probe.probe + u"\"\r\n");
  EXPECT_EQ(startTryingWays(probe.start(probe.probe, u"/first \"a b\""), kWithoutDesktopShell), Way::ownProcess);
  EXPECT_EQ(probeReport(probe.folder),
            withoutClosingBackslash(probe.folder) + u"\r\n\"" + probe.probe + u"\" /first \"a b\"\r\n");

  // The full path is the program's name, never searched for: a program of that name in the
  // current folder is not started in its place.
  const std::u16string missing = probe.folder + u"missing\\Tool.exe";
  SetCurrentDirectoryW(wide(probe.folder));
  EXPECT_EQ(startTryingWays(probe.start(missing), {Way::ownProcess}), Way::none);
  EXPECT_EQ(probeReport(probe.folder), u"");
}

TEST(DesktopStartWin, WhatIsNoProgramGoesToTheOwnShellAndFailuresStaySilent) {
  ProbeFolder probe;
  // A shortcut is no program for CreateProcess; the shell opens it, which starts its target.
  const std::u16string link = probe.folder + u"Tool.lnk";
  ASSERT_TRUE(makeShortcut(link, probe.probe));
  EXPECT_EQ(startTryingWays(probe.start(link), kWithoutDesktopShell), Way::ownShell);
  EXPECT_NE(probeReport(probe.folder).find(u"Tool.exe"), std::u16string::npos);

  // A document nothing opens, and a program that is not there: nothing starts, and no box of the
  // shell holds the caller up (the test would hang here).
  EXPECT_EQ(startTryingWays(probe.start(probe.temp.write(u"notes.averlune-unknown", "text")), kWithoutDesktopShell),
            Way::none);
  EXPECT_EQ(startTryingWays(probe.start(probe.folder + u"missing.exe"), kWithoutDesktopShell), Way::none);
  EXPECT_EQ(startOnDesktop(DesktopStart{}), Way::none);
}

// The whole start as the programs make it: through the desktop's shell where the system has one
// to offer, else the fallback. Either way the probe runs in its folder with its arguments.
TEST(DesktopStartWin, TheProgramStartsTheFirstWayThatWorks) {
  ProbeFolder probe;
  const Way way = startOnDesktop(probe.start(probe.probe, u"/first"));
  std::cout << "the start went: " << encodeUtf8(desktopStartLogLine(probe.start(probe.probe), way)) << "\n";
  ASSERT_NE(way, Way::none);
  const std::u16string report = probeReport(probe.folder);
  EXPECT_EQ(report.substr(0, report.find(u"\r\n")), withoutClosingBackslash(probe.folder));
  EXPECT_NE(report.find(u"/first"), std::u16string::npos) << encodeUtf8(report);
}

}  // namespace
}  // namespace averlune
