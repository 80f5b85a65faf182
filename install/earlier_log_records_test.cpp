#include "install/earlier_log_records.h"

#include <gtest/gtest.h>

namespace averlune {
namespace {

UninstallRecord file(const std::u16string& path) { return {UninstallRecordKind::file, u"", path, u""}; }
UninstallRecord folder(const std::u16string& path) { return {UninstallRecordKind::folder, u"", path, u""}; }
UninstallRecord key(const std::u16string& subKey) { return {UninstallRecordKind::key, u"HKEY_LOCAL_MACHINE", subKey, u""}; }
UninstallRecord value(const std::u16string& subKey, const std::u16string& name) {
  return {UninstallRecordKind::value, u"HKEY_CURRENT_USER", subKey, name};
}

std::string bytesOf(const std::vector<UninstallRecord>& records) {
  std::string bytes;
  for (const UninstallRecord& r : records) {
    switch (r.kind) {
      case UninstallRecordKind::file: bytes += uninstallFileRecord(r.path); break;
      case UninstallRecordKind::folder: bytes += uninstallFolderRecord(r.path); break;
      case UninstallRecordKind::key: bytes += uninstallKeyRecord(r.rootName, r.path); break;
      case UninstallRecordKind::value: bytes += uninstallValueRecord(r.rootName, r.path, r.valueName); break;
    }
  }
  return bytes;
}

// Which earlier records a new log carries and where: the uninstaller removes in log order, so every
// file must come before the folders it may stand in, and nothing may be listed twice.
TEST(EarlierLogRecords, CarriesWhatTheRunDoesNotWriteAgainWhereTheUninstallerNeedsIt) {
  const std::u16string app = u"C:\\Apps\\Tool\\";
  const UninstallRecord entryKey = key(u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool");
  struct Case {
    const char* name;
    std::vector<UninstallRecord> own;
    std::vector<UninstallRecord> earlier;
    std::vector<UninstallRecord> expected;
  };
  const Case cases[] = {
      {"no earlier log: the run's records alone", {file(app + u"a.txt"), folder(app + u"lib\\")}, {},
       {file(app + u"a.txt"), folder(app + u"lib\\")}},
      {"1.0 shipped B.txt and its folder, 1.1 does not: files before the run's folders, folders after its last item",
       {file(app + u"A.txt"), folder(app + u"lib\\"), entryKey, file(u"C:\\Desktop\\Tool.lnk"), value(u"Software\\Acme", u"Path")},
       {file(app + u"A.txt"), file(app + u"old\\B.txt"), folder(app + u"old\\"), entryKey},
       {file(app + u"A.txt"), file(app + u"old\\B.txt"), folder(app + u"lib\\"), entryKey, file(u"C:\\Desktop\\Tool.lnk"),
        folder(app + u"old\\"), value(u"Software\\Acme", u"Path")}},
      {"a record of the run that equals an old one stays where the run put it, whatever its case",
       {file(app + u"A.txt"), folder(app + u"Docs\\")},
       {folder(app + u"DOCS\\"), file(u"c:\\apps\\tool\\a.TXT")},
       {file(app + u"A.txt"), folder(app + u"Docs\\")}},
      {"the run has no folder record: carried files after its last file, carried folders after them",
       {file(app + u"A.txt"), entryKey},
       {folder(app + u"old\\"), file(app + u"old\\B.txt"), value(u"Software\\Acme", u"Old")},
       {file(app + u"A.txt"), file(app + u"old\\B.txt"), folder(app + u"old\\"), entryKey, value(u"Software\\Acme", u"Old")}},
      {"the run wrote nothing yet (aborted at its first entry): everything earlier, files first",
       {},
       {file(app + u"A.txt"), folder(app + u"lib\\"), entryKey, file(app + u"B.txt")},
       {file(app + u"A.txt"), file(app + u"B.txt"), folder(app + u"lib\\"), entryKey}},
      {"an earlier log that names a thing twice gives it once; kinds and value names tell records apart",
       {value(u"Software\\Acme", u"Path")},
       {file(app + u"x"), file(app + u"X"), folder(app + u"x\\"), value(u"Software\\Acme", u"Path"),
        value(u"Software\\Acme", u"Other"), key(u"Software\\Acme")},
       {file(app + u"x"), folder(app + u"x\\"), value(u"Software\\Acme", u"Path"), value(u"Software\\Acme", u"Other"),
        key(u"Software\\Acme")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(withEarlierRecords(bytesOf(c.own), c.earlier), bytesOf(c.expected));
  }
}

}  // namespace
}  // namespace averlune
