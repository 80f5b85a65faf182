#include "guards/refused_app_folder.h"

#include <gtest/gtest.h>

#include <map>

#include "base/text_decoding.h"

namespace averlune {
namespace {

const std::vector<ProtectedFolder> kProtected = {
    {u"C:\\Windows", FolderGuard::inside},
    {u"C:\\Windows\\System32\\", FolderGuard::itself},
    {u"C:\\Users\\", FolderGuard::children},
    {u"C:\\Users\\Ann\\", FolderGuard::itself},
    {u"C:\\Program Files\\", FolderGuard::itself},
    {u"C:\\ProgramData", FolderGuard::itself},
};

TEST(RefusedAppFolder, ApplicationFoldersAreRefusedByTheirText) {
  const struct {
    std::u16string folder;
    bool refused;
  } rows[] = {
      {u"C:\\Program Files\\Tool\\", false},
      {u"C:\\Program Files\\Tool", false},
      {u"D:\\Apps\\T\u00fcl 100%\\", false},
      {u"\\\\server\\share\\Tool\\", false},
      {u"C:\\Users\\Ann\\AppData\\Local\\Programs\\Tool\\", false},  // inside a profile is fine
      {u"C:\\Windows Tools\\", false},
      // not a full path, or a root
      {u"", true},
      {u"Tool\\", true},
      {u"\\Tool\\", true},
      {u"C:Tool\\", true},
      {u"C:", true},
      {u"C:\\", true},
      {u"c:/", true},
      {u"D:\\", true},
      {u"C:\\.\\", true},
      {u"\\\\server\\share\\", true},
      {u"\\\\server\\share", true},
      {u"\\\\?\\C:\\Tool\\", true},
      {u"\\\\.\\C:\\Tool\\", true},
      // climbing, or characters no path holds (a quote would break the batch file's quoting)
      {u"C:\\Tool\\..\\Windows\\", true},
      {u"C:\\Tool\\...\\", true},
      {u"C:\\Tool\\\" & calc & \"\\", true},
      {u"C:\\To\nol\\", true},
      {u"C:\\T*\\", true},
      // the protected folders, their ancestors, and what their guards add
      {u"C:\\Windows\\", true},
      {u"c:\\WINDOWS", true},
      {u"C:\\Windows.\\", true},
      {u"C:/Windows/", true},
      {u"C:\\Windows\\Web\\", true},
      {u"C:\\Windows\\System32\\drivers\\", true},
      {u"C:\\Program Files\\", true},
      {u"C:\\PROGRAM FILES", true},
      {u"C:\\Users\\", true},
      {u"C:\\Users\\Bob\\", true},
      {u"C:\\Users\\Ann\\", true},
      {u"C:\\ProgramData\\", true},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(isRefusedAppFolder(row.folder, kProtected, nullptr), row.refused) << encodeUtf8(row.folder);
  }
}

TEST(RefusedAppFolder, ApplicationFoldersAreRefusedByIdentityWhateverTheirSpelling) {
  // Identities as the disk would give them: short names and links lead to the same folders.
  const std::map<std::u16string, FolderId> ids = {
      {u"c:\\", {1, 1}},
      {u"c:\\windows\\", {1, 2}},
      {u"c:\\windows\\system32\\", {1, 3}},
      {u"c:\\users\\", {1, 4}},
      {u"c:\\users\\ann\\", {1, 5}},
      {u"c:\\program files\\", {1, 6}},
      {u"c:\\programdata\\", {1, 7}},
      {u"c:\\progra~1\\", {1, 6}},
      {u"c:\\links\\", {1, 10}},
      {u"c:\\links\\win\\", {1, 2}},
      {u"c:\\links\\win\\web\\", {1, 11}},
      {u"c:\\links\\home\\", {1, 4}},
      {u"c:\\links\\home\\bob\\", {1, 12}},
      {u"c:\\links\\tool\\", {1, 13}},
      {u"c:\\users\\ann\\tool\\", {1, 14}},
  };
  const FolderIdLookup lookup = [&ids](const std::u16string& folder) -> std::optional<FolderId> {
    std::u16string key;
    for (char16_t c : folder) key += (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
    const auto found = ids.find(key);
    return found == ids.end() ? std::nullopt : std::optional<FolderId>(found->second);
  };
  EXPECT_TRUE(isRefusedAppFolder(u"C:\\PROGRA~1\\", kProtected, lookup));
  EXPECT_TRUE(isRefusedAppFolder(u"C:\\Links\\Win\\", kProtected, lookup));       // a link to the Windows folder
  EXPECT_TRUE(isRefusedAppFolder(u"C:\\Links\\Win\\Web\\", kProtected, lookup));  // inside it through the link
  EXPECT_TRUE(isRefusedAppFolder(u"C:\\Links\\Home\\Bob\\", kProtected, lookup)); // a profile through a link
  EXPECT_FALSE(isRefusedAppFolder(u"C:\\Links\\", kProtected, lookup));
  EXPECT_FALSE(isRefusedAppFolder(u"C:\\Links\\Tool\\", kProtected, lookup));
  EXPECT_FALSE(isRefusedAppFolder(u"C:\\Users\\Ann\\Tool\\", kProtected, lookup));
  EXPECT_FALSE(isRefusedAppFolder(u"C:\\Not There\\", kProtected, lookup));

  // Each folder is read from the disk once per judgement, however many protected folders lie below it.
  std::map<std::u16string, int> reads;
  const FolderIdLookup counted = [&reads, &lookup](const std::u16string& folder) {
    ++reads[folder];
    return lookup(folder);
  };
  EXPECT_FALSE(isRefusedAppFolder(u"C:\\Links\\Tool\\", kProtected, counted));
  EXPECT_GT(reads.size(), 3u);
  for (const auto& [folder, count] : reads) EXPECT_EQ(count, 1) << encodeUtf8(folder);
}

}  // namespace
}  // namespace averlune
