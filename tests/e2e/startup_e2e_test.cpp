// A setup run from its start to its first window, and every way start-up can fail.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "config/payload_container.h"
#include "tests/e2e/driver/process_win.h"
#include "tests/e2e/driver/setup_fixture_win.h"
#include "tests/e2e/driver/window_driver_win.h"

namespace averlune::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int kStartMs = 30000;
constexpr int kExitMs = 15000;
constexpr std::uint64_t kBuiltInIconSize = 25214;

// The work folder a run created: the one "{GUID}" folder in the temporary folder that was not
// there before.
std::wstring newWorkFolder(const std::set<std::wstring>& before) {
  std::wstring found;
  for (const std::wstring& name : workFoldersInTemp()) {
    if (before.count(name)) continue;
    if (!found.empty()) return L"<more than one new work folder>";
    found = temporaryFolder() + name + L"\\";
  }
  return found;
}

struct StartupFailure {
  std::wstring title;
  std::wstring text;
};

// Runs `setup`, expects one message box and answers it; returns what it said and the folder.
StartupFailure runUntilMessage(const std::wstring& setup, const std::wstring& screenshot, std::wstring& workFolder) {
  const auto before = workFoldersInTemp();
  TestProcess process(setup);
  EXPECT_TRUE(process.started());
  const auto box = waitForMessageBox(process.id(), kStartMs);
  if (!box) {
    ADD_FAILURE() << "no message box";
    return {};
  }
  saveScreenshot(box->handle, screenshotPath(screenshot));
  EXPECT_EQ(box->buttons, std::vector<std::wstring>{L"OK"});
  EXPECT_TRUE(box->hasErrorIcon);
  pressMessageBoxButton(*box, L"OK");
  DWORD exitCode = 99;
  EXPECT_TRUE(process.waitForExit(kExitMs, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  workFolder = newWorkFolder(before);
  return {box->title, box->text};
}

// Closing the wizard before its finish page asks whether to abort; OK ends the run.
void answerExitQuestion(DWORD processId) {
  if (const auto box = waitForMessageBox(processId, kExitMs)) pressMessageBoxButton(*box, L"OK");
}

void removeLeftovers(const std::wstring& workFolder) {
  std::error_code ignored;
  if (!workFolder.empty()) fs::remove_all(workFolder, ignored);
}

TEST(Startup, NormalStartUnpacksTheCabinetAndTheEndRemovesTheWorkFolder) {
  const std::wstring setup = buildSetupWithConfig(L"normal-start", minimalConfig());
  ASSERT_FALSE(setup.empty());
  const auto before = workFoldersInTemp();
  TestProcess process(setup);
  ASSERT_TRUE(process.started());
  const HWND window = waitForAnyWindow(process.id(), kStartMs);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(saveScreenshot(window, screenshotPath(L"startup-first-window")));

  const std::wstring workFolder = newWorkFolder(before);
  ASSERT_EQ(workFolder.size(), temporaryFolder().size() + 38 + 1);
  for (const wchar_t* name : {L"Setup.cab", L"SC.dat", L"OS.dat", L"Variables.dat", L"Default.avl"}) {
    EXPECT_TRUE(fileExists(workFolder + name)) << name;
  }
  EXPECT_EQ(fileSize(workFolder + L"SC.dat"), minimalConfig()[0].bytes.size());
  EXPECT_EQ(fileSize(workFolder + L"icon.dat"), kBuiltInIconSize);

  closeWindow(window);
  answerExitQuestion(process.id());
  DWORD exitCode = 99;
  ASSERT_TRUE(process.waitForExit(kExitMs, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_FALSE(folderExists(workFolder));
}

TEST(Startup, AnIconInTheCabinetIsKeptAndTwoRunsUseTwoFolders) {
  auto config = minimalConfig();
  config.push_back({"icon.dat", std::string("\0\0\1\0", 4)});  // not a loadable icon: no message
  const std::wstring setup = buildSetupWithConfig(L"two-runs", config);
  ASSERT_FALSE(setup.empty());

  std::vector<std::wstring> folders;
  for (int run = 0; run < 2; ++run) {
    const auto before = workFoldersInTemp();
    TestProcess process(setup);
    const HWND window = waitForAnyWindow(process.id(), kStartMs);
    ASSERT_NE(window, nullptr);
    folders.push_back(newWorkFolder(before));
    EXPECT_EQ(fileSize(folders.back() + L"icon.dat"), 4u);
    closeWindow(window);
    answerExitQuestion(process.id());
    ASSERT_TRUE(process.waitForExit(kExitMs));
    EXPECT_FALSE(folderExists(folders.back()));
  }
  EXPECT_NE(folders[0], folders[1]);
}

TEST(Startup, ASecondRunIsRefusedWhileTheFirstShowsAWindow) {
  const std::wstring setup = buildSetupWithConfig(L"second-run", minimalConfig());
  ASSERT_FALSE(setup.empty());
  const auto before = workFoldersInTemp();
  TestProcess first(setup);
  const HWND window = waitForAnyWindow(first.id(), kStartMs);
  ASSERT_NE(window, nullptr);
  const std::wstring firstFolder = newWorkFolder(before);

  TestProcess second(setup);
  const auto box = waitForMessageBox(second.id(), kStartMs);
  ASSERT_TRUE(box);
  saveScreenshot(box->handle, screenshotPath(L"startup-already-running"));
  EXPECT_EQ(box->title, L"Averlune");
  EXPECT_EQ(box->text,
            L"There is already an Averlune setup running! Please close the running setup in order to continue.");
  pressMessageBoxButton(*box, L"OK");
  ASSERT_TRUE(second.waitForExit(kExitMs));
  EXPECT_EQ(newWorkFolder(before), firstFolder);  // the second run made no folder of its own
  EXPECT_TRUE(first.running());
  EXPECT_TRUE(folderExists(firstFolder));

  closeWindow(window);
  answerExitQuestion(first.id());
  ASSERT_TRUE(first.waitForExit(kExitMs));
}

TEST(Startup, ADamagedCabinetShowsTheUnpackErrorAndLeavesTheWorkFolder) {
  std::vector<std::uint8_t> cabinet = {'M', 'S', 'C', 'F'};
  cabinet.resize(300, 0xA5);
  const std::wstring setup = buildSetupWithCabinetBytes(L"damaged-cabinet", cabinet);
  ASSERT_FALSE(setup.empty());
  std::wstring workFolder;
  const auto failure = runUntilMessage(setup, L"startup-damaged-cabinet", workFolder);
  EXPECT_EQ(failure.title, L"Error");
  EXPECT_EQ(failure.text, L"Setup Error! -f");
  ASSERT_FALSE(workFolder.empty());
  EXPECT_EQ(fileSize(workFolder + L"Setup.cab"), cabinet.size());
  removeLeftovers(workFolder);
}

TEST(Startup, ACabinetLengthPastTheEndOfTheFileIsRefused) {
  const std::wstring setup = buildSetupWithConfig(L"cabinet-past-end", minimalConfig());
  ASSERT_FALSE(setup.empty());
  {
    // Declare a cabinet far longer than the file: the copy must not invent the missing bytes.
    std::fstream file(fs::path(setup), std::ios::binary | std::ios::in | std::ios::out);
    std::vector<std::uint8_t> headers(64 * 1024);
    file.read(reinterpret_cast<char*>(headers.data()), static_cast<std::streamsize>(headers.size()));
    const auto imageLength = peImageLength(headers.data(), static_cast<std::size_t>(file.gcount()));
    ASSERT_TRUE(imageLength);
    std::uint8_t length[8];
    writeLittleEndian64(std::uint64_t{1} << 40, length);
    file.clear();
    file.seekp(static_cast<std::streamoff>(*imageLength));
    file.write(reinterpret_cast<const char*>(length), sizeof length);
  }
  std::wstring workFolder;
  const auto failure = runUntilMessage(setup, L"startup-cabinet-past-end", workFolder);
  EXPECT_EQ(failure.title, L"Error");
  EXPECT_EQ(failure.text, L"Setup Error!");
  ASSERT_FALSE(workFolder.empty());
  EXPECT_FALSE(fileExists(workFolder + L"Setup.cab"));
  removeLeftovers(workFolder);
}

TEST(Startup, TheBareSetupProgramWithoutContainerShowsSetupError) {
  const fs::path copy = fs::path(scratchFolder(L"bare")) / L"setup.exe";
  fs::copy_file(bareSetupProgram(), copy);
  std::wstring workFolder;
  const auto failure = runUntilMessage(copy.wstring(), L"startup-bare", workFolder);
  EXPECT_EQ(failure.title, L"Error");
  EXPECT_EQ(failure.text, L"Setup Error!");
  removeLeftovers(workFolder);
}

TEST(Startup, AnUnacceptedWindowsVersionEndsTheRunAndRemovesTheWorkFolder) {
  // Wine reports Windows 7; OS.dat accepts only the versions around it, and a wrong-valued line.
  auto config = minimalConfig();
  config[1].bytes = "Windows Vista = 1\r\nWindows 7 = 2\r\nWindows 8 = 1\r\n";
  const std::wstring setup = buildSetupWithConfig(L"os-not-accepted", config);
  ASSERT_FALSE(setup.empty());
  std::wstring workFolder;
  const auto failure = runUntilMessage(setup, L"startup-os-not-accepted", workFolder);
  EXPECT_EQ(failure.title, L"Error");
  EXPECT_EQ(failure.text, L"Your operating system is not supported.");
  EXPECT_TRUE(workFolder.empty());
}

TEST(Startup, AMissingLanguageFileEndsTheRunAndRemovesTheWorkFolder) {
  auto config = minimalConfig();
  config.pop_back();  // Default.avl
  const std::wstring setup = buildSetupWithConfig(L"no-language-file", config);
  ASSERT_FALSE(setup.empty());
  std::wstring workFolder;
  const auto failure = runUntilMessage(setup, L"startup-no-language-file", workFolder);
  EXPECT_EQ(failure.title, L"Error");
  EXPECT_EQ(failure.text, L"Setup Error!");
  EXPECT_TRUE(workFolder.empty());
}

}  // namespace
}  // namespace averlune::e2e
