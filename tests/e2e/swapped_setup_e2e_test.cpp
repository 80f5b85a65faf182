// A standard user who owns the folder holding the setup (his downloads) swaps the setup's file
// while the wizard waits for the administrator: another program cannot rename it, and a rename
// that passes the share modes (the host's mv here) still installs the genuine payload.
#include <gtest/gtest.h>

#include "tests/e2e/driver/install_case_win.h"
#include "tests/e2e/driver/installed_state_win.h"
#include "tests/e2e/driver/payload_setup_win.h"
#include "tests/e2e/driver/wizard_session_win.h"

namespace averlune::e2e {
namespace {

const std::wstring kApp = L"Swap Probe";
const std::wstring kRoot = L"C:\\AvE2E-swap\\";
const std::wstring kAppFolder = kRoot + kApp + L"\\";

// The same setup program and configuration with the payload `content` in app.txt.
std::wstring buildSwapSetup(const std::wstring& name, const std::string& content) {
  const std::wstring archive = scratchFolder(name) + L"\\payload.zip";
  if (!writePayloadZip(archive, {{"app.txt", content}})) return L"";
  return buildSetupWithPayload(name,
                               setupConfig({"Appname = Swap Probe", "Languages = 1",
                                            "InstallDir = C:\\AvE2E-swap\\Swap Probe\\", "Uninstaller = 0"}),
                               archive);
}

TEST(SwappedSetup, TheFileCannotBeRenamedAndASwapUnderItsNameInstallsNothingOfIts) {
  const Cleanup cleanup({[] { removeTree(kRoot); },
                         [] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(kApp)); }});
  const std::wstring genuine = buildSwapSetup(L"swap-genuine", "genuine payload");
  const std::wstring rogue = buildSwapSetup(L"swap-rogue", "the user's payload");
  ASSERT_FALSE(genuine.empty());
  ASSERT_FALSE(rogue.empty());
  const std::wstring aside = genuine + L".aside";

  WizardSession w(genuine, kApp + L" Setup", L"swapped-setup");
  ASSERT_TRUE(w.started());
  // Another Windows program: the setup holds its file without sharing deletion.
  EXPECT_FALSE(MoveFileExW(genuine.c_str(), aside.c_str(), 0)) << "the running setup's file was renamed";
  // What the share modes let nobody do on Windows, the host does: the genuine file is renamed and
  // the user's setup is put under its name.
  if (fileExists(genuine)) ASSERT_TRUE(moveByHost(genuine, aside));
  ASSERT_TRUE(CopyFileW(rogue.c_str(), genuine.c_str(), TRUE));

  ASSERT_TRUE(w.nextToInstallingPage());
  ASSERT_TRUE(w.watchInstallation([](const InstallBox&) { return IDABORT; }));
  EXPECT_TRUE(w.boxes.empty());
  // The machine afterwards: the payload the administrator started, and nothing else.
  EXPECT_EQ(folderEntries(kAppFolder), std::vector<std::wstring>{L"app.txt"});
  EXPECT_EQ(readFileBytes(kAppFolder + L"app.txt").value_or("<missing>"), "genuine payload");
  EXPECT_TRUE(w.finish());
}

}  // namespace
}  // namespace averlune::e2e
