#include "install/earlier_installation.h"

#include <gtest/gtest.h>

#include <map>

#include "base/path_text.h"
#include "base/text_decoding.h"

namespace averlune {
namespace {

const std::vector<ProtectedFolder> kProtected = {
    {u"C:\\Windows\\", FolderGuard::inside},
    {u"C:\\Users\\", FolderGuard::children},
    {u"C:\\Program Files\\", FolderGuard::itself},
};

// The folders on the fake disk, by lower-case text ending in "\"; C:\Apps\Gone\ is not among them.
std::optional<FolderId> fakeFolderId(const std::u16string& folder) {
  static const std::map<std::u16string, std::uint64_t> ids = {
      {u"c:\\", 1},          {u"c:\\windows\\", 2}, {u"c:\\windows\\system32\\", 3}, {u"c:\\users\\", 4},
      {u"c:\\users\\bob\\", 5}, {u"c:\\apps\\", 6},   {u"c:\\apps\\notes\\", 7},        {u"c:\\apps\\old notes\\", 8},
      {u"c:\\program files\\", 9}, {u"c:\\program files\\notes\\", 10},
  };
  std::u16string key;
  for (char16_t c : addBackslash(folder)) key += asciiLower(c);
  const auto found = ids.find(key);
  return found == ids.end() ? std::nullopt : std::optional<FolderId>(FolderId{1, found->second});
}

SetupOptions scriptOptions(std::int32_t changeApplicationFolder) {
  SetupOptions options;
  options.InstallDir = u"C:\\Program Files\\Notes\\";
  options.ShortcutFolder = u"Notes\\";
  options.ChangeApplicationFolder = changeApplicationFolder;
  return options;
}

// Which application folder a run starts with, from the earlier entry's values and /D=.
TEST(EarlierInstallation, TheRunStartsInTheEarlierFolderUnlessSwitchedElsewhereOrTheEntryNamesNoUsableFolder) {
  using Text = std::optional<std::u16string>;
  const Text none;
  const struct {
    const char* why;
    Text installLocation;
    Text uninstallString;
    std::u16string appFolderSwitch;
    std::int32_t changeApplicationFolder;
    std::u16string installDir;
  } rows[] = {
      {"no earlier entry", none, none, u"", 1, u"C:\\Program Files\\Notes\\"},
      {"InstallLocation", u"C:\\Apps\\Notes\\", u"\"C:\\Apps\\Notes\\uninstall.exe\"", u"", 1, u"C:\\Apps\\Notes\\"},
      {"InstallLocation without closing backslash", u"C:\\Apps\\Notes", none, u"", 1, u"C:\\Apps\\Notes\\"},
      {"InstallLocation over a disagreeing UninstallString", u"C:\\Apps\\Notes\\",
       u"\"C:\\Apps\\Old Notes\\uninstall.exe\"", u"", 1, u"C:\\Apps\\Notes\\"},
      {"older entry, quoted UninstallString", none, u"\"C:\\Apps\\Old Notes\\uninstall.exe\"", u"", 1,
       u"C:\\Apps\\Old Notes\\"},
      {"older entry, quoted with an argument", none, u"\"C:\\Apps\\Notes\\uninstall.exe\" /S", u"", 1,
       u"C:\\Apps\\Notes\\"},
      {"older entry, unquoted UninstallString", none, u"C:\\Apps\\Old Notes\\uninstall.exe", u"", 1,
       u"C:\\Apps\\Old Notes\\"},
      {"empty InstallLocation counts as none", u"", u"\"C:\\Apps\\Notes\\uninstall.exe\"", u"", 1,
       u"C:\\Apps\\Notes\\"},
      {"/D= names another folder", u"C:\\Apps\\Notes\\", none, u"D:\\Elsewhere", 1, u"D:\\Elsewhere"},
      {"/D= without an entry", none, none, u"D:\\Elsewhere", 1, u"D:\\Elsewhere"},
      {"ChangeApplicationFolder 0 still avoids a second copy", u"C:\\Apps\\Notes\\", none, u"", 0,
       u"C:\\Apps\\Notes\\"},
      // Values the uninstaller would refuse, or that name no folder, count for nothing.
      {"folder gone", u"C:\\Apps\\Gone\\", none, u"", 1, u"C:\\Program Files\\Notes\\"},
      {"system folder", u"C:\\Windows\\System32\\", none, u"", 1, u"C:\\Program Files\\Notes\\"},
      {"a user's profile", u"C:\\Users\\Bob\\", none, u"", 1, u"C:\\Program Files\\Notes\\"},
      {"Program Files itself", u"C:\\Program Files", none, u"", 1, u"C:\\Program Files\\Notes\\"},
      {"drive root", u"C:\\", none, u"", 1, u"C:\\Program Files\\Notes\\"},
      {"relative", u"Apps\\Notes\\", none, u"", 1, u"C:\\Program Files\\Notes\\"},
      {"climbing", u"C:\\Apps\\Notes\\..\\..\\Windows\\", none, u"", 1, u"C:\\Program Files\\Notes\\"},
      {"a refused InstallLocation is not rescued by UninstallString", u"C:\\Windows\\",
       u"\"C:\\Apps\\Notes\\uninstall.exe\"", u"", 1, u"C:\\Program Files\\Notes\\"},
      {"unclosed quote", none, u"\"C:\\Apps\\Notes\\uninstall.exe", u"", 1, u"C:\\Program Files\\Notes\\"},
      {"no folder in UninstallString", none, u"uninstall.exe", u"", 1, u"C:\\Program Files\\Notes\\"},
      {"UninstallString naming a folder", none, u"C:\\Apps\\Notes\\", u"", 1, u"C:\\Program Files\\Notes\\"},
      {"a number", u"5", none, u"", 1, u"C:\\Program Files\\Notes\\"},
      {"quote inside", u"C:\\Apps\\Notes\" & evil\\", none, u"", 1, u"C:\\Program Files\\Notes\\"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.why);
    EarlierEntry entry;
    entry.installLocation = row.installLocation;
    entry.uninstallString = row.uninstallString;
    SetupOptions options = scriptOptions(row.changeApplicationFolder);
    proposeFolders(options, row.appFolderSwitch,
                   earlierFolders(entry, options.InstallDir, [] { return kProtected; }, fakeFolderId));
    EXPECT_EQ(encodeUtf8(options.InstallDir), encodeUtf8(row.installDir));
    EXPECT_EQ(options.ShortcutFolder, u"Notes\\");  // no earlier start menu folder in these rows
  }
  // Asking for the protected folders takes the start-up tens of milliseconds: neither an entry
  // whose folder is gone, the common leftover, nor one naming the script's own folder, the common
  // upgrade, asks.
  for (const std::u16string& folder : {u"C:\\Apps\\Gone\\", u"c:/program files/NOTES"}) {
    bool asked = false;
    EarlierEntry entry;
    entry.installLocation = folder;
    const auto protectedFolders = [&asked] {
      asked = true;
      return kProtected;
    };
    const EarlierFolders earlier = earlierFolders(entry, scriptOptions(1).InstallDir, protectedFolders, fakeFolderId);
    EXPECT_FALSE(asked) << encodeUtf8(folder);
    EXPECT_EQ(earlier.appFolder, u"");
  }
}

// The start menu folder field starts with the earlier one when it is a folder a user could type
// there: inside the start menu base, or the base itself.
TEST(EarlierInstallation, TheStartMenuPageStartsWithTheEarlierFolderWhenItStaysInsideTheBase) {
  const struct {
    std::optional<std::u16string> shortcutFolder;
    std::u16string expected;
  } rows[] = {
      {std::nullopt, u"Notes\\"},
      {u"Tools\\Notes\\", u"Tools\\Notes\\"},
      {u"Tools\\Notes", u"Tools\\Notes"},
      {u"", u""},  // the links went straight into the base
      {u"..\\..\\Startup\\", u"Notes\\"},
      {u"Tools\\...\\", u"Notes\\"},
      {u"C:\\Evil\\", u"Notes\\"},
      {u"\\Evil\\", u"Notes\\"},
      {u"Tools|Notes", u"Notes\\"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(encodeUtf8(row.shortcutFolder.value_or(u"<none>")));
    EarlierEntry entry;
    entry.shortcutFolder = row.shortcutFolder;
    // /D= changes the application folder only: the start menu folder still comes from the entry.
    SetupOptions options = scriptOptions(1);
    proposeFolders(options, u"D:\\Elsewhere",
                   earlierFolders(entry, options.InstallDir, [] { return kProtected; }, fakeFolderId));
    EXPECT_EQ(encodeUtf8(options.ShortcutFolder), encodeUtf8(row.expected));
    EXPECT_EQ(options.InstallDir, u"D:\\Elsewhere");
  }
}

}  // namespace
}  // namespace averlune
