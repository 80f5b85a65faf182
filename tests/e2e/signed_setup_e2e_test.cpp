// Signed setups under Wine. Signing appends a certificate table after the payload; the setup must
// still find its archive, also when the table is longer than the reader's search for the archive's
// end record. The setups are signed on the host before these tests run (make-signed-setups.sh).
#include <gtest/gtest.h>

#include <shlobj.h>

#include <filesystem>

#include "tests/e2e/driver/install_case_win.h"
#include "tests/e2e/driver/installed_state_win.h"
#include "tests/e2e/driver/wizard_session_win.h"

namespace averlune::e2e {
namespace {

namespace fs = std::filesystem;

const std::wstring kSampleApp = L"Averlune Sample Notes";

TEST(SignedSetup, InstallsWithASmallAndWithAPastSixtyFourKibibyteCertificateTable) {
  const fs::path signedFolder = AVERLUNE_SIGNED_DIR;
  const fs::path stagedApp = signedFolder / L"staged" / L"app";
  const std::wstring appFolder = shellFolder(CSIDL_PROGRAM_FILES) + kSampleApp + L"\\";
  const std::wstring startMenuFolder = shellFolder(CSIDL_PROGRAMS) + kSampleApp + L"\\";
  for (const wchar_t* name : {L"SignedSampleSetup.exe", L"SignedPaddedSampleSetup.exe"}) {
    SCOPED_TRACE(fs::path(name).string());
    Cleanup cleanup({[&] { removeTree(appFolder); },
                     [&] { removeTree(startMenuFolder); },
                     [] { deleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyOf(kSampleApp)); }});
    const fs::path setup = signedFolder / name;
    ASSERT_TRUE(fs::exists(setup)) << "made by the signed_setups test, which ctest runs first";

    WizardSession w(setup.wstring(), kSampleApp + L" Setup", std::wstring(L"signed-") + name);
    ASSERT_TRUE(w.started());
    ASSERT_TRUE(w.nextToInstallingPage());
    ASSERT_TRUE(w.watchInstallation(nullptr));
    EXPECT_TRUE(w.boxes.empty());  // no "Could not extract file!"

    // Every file of the application arrived whole.
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(stagedApp)) {
      const std::wstring file = entry.path().filename().wstring();
      EXPECT_EQ(readFileBytes(appFolder + file), readFileBytes(entry.path().wstring())) << entry.path().string();
      ++files;
    }
    EXPECT_EQ(folderEntries(appFolder).size(), files + 3);  // and the uninstaller's three files
    EXPECT_TRUE(w.finish());
  }
}

}  // namespace
}  // namespace averlune::e2e
