#include "guards/protected_file_win.h"

#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include "guards/dacl_test_support_win.h"
#include "guards/link_free_files_win.h"
#include "base/temp_folder_test_support.h"
#include "base/wide_text_win.h"

namespace averlune {
namespace {

namespace fs = std::filesystem;

TEST(ProtectedFile, ReplacesAnyEarlierFileWithOneUsersCanOnlyReadAndStaysOpenForAppending) {
  TempFolder folder;
  const OwnedHandle held = openTrustedFolder(folder.folder());
  ASSERT_TRUE(held);
  // An earlier file that everyone may change, as a standard user could have left it.
  const std::u16string path = folder.write(u"uninstall.dat", "planted, and longer than the new content");
  PSECURITY_DESCRIPTOR open = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;FA;;;WD)", SDDL_REVISION_1, &open, nullptr));
  ASSERT_TRUE(SetFileSecurityW(wide(path), DACL_SECURITY_INFORMATION, open));
  LocalFree(open);
  ASSERT_TRUE(fileDaclFacts(path).usersMayChange);

  {
    const OwnedHandle file = writeProtectedFile(held.get(), u"uninstall.dat", "header");
    ASSERT_TRUE(file);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file.get(), "+record", 7, &written, nullptr));
  }
  std::ifstream in(fs::path(path), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "header+record");
  const FileDaclFacts facts = fileDaclFacts(path);
  EXPECT_TRUE(facts.read);
  EXPECT_FALSE(facts.usersMayChange);
  if (systemKeepsDaclsAsWritten()) {
    EXPECT_TRUE(facts.isProtected);
    EXPECT_TRUE(facts.usersMayRead);
  }

  // A name that cannot be replaced (a folder stands there) fails and leaves no temporary file.
  fs::create_directories(folder.path / "taken");
  EXPECT_FALSE(writeProtectedFile(held.get(), u"taken", "x"));
  std::vector<fs::path> names;
  for (const auto& entry : fs::directory_iterator(folder.path)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<fs::path>{"taken", "uninstall.dat"}));
}

}  // namespace
}  // namespace averlune
