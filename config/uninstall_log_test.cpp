#include "config/uninstall_log.h"

#include <gtest/gtest.h>

namespace averlune {
namespace {

TEST(UninstallLog, WrittenLogReadsBackInOrderWithMarkerLikeHeaderTexts) {
  UninstallLogHeader written;
  written.appName = u"#DF";  // a header text equal to a marker must not become a record
  written.version = u"#DD";
  written.webSite = u"https://example.org/";
  written.appFolder = u"C:\\Apps\\T\u00fcl\\";
  written.entryCount = 0x0A0D;  // CR LF as a number: read by position, not as a line end
  const std::string bytes = uninstallLogHeaderBytes(written) + uninstallFileRecord(u"C:\\Apps\\T\u00fcl\\a.txt") +
                            "stray line\r\n" + uninstallFolderRecord(u"C:\\Apps\\T\u00fcl\\sub\\") +
                            uninstallKeyRecord(u"HKEY_LOCAL_MACHINE", u"Software\\X") +
                            uninstallValueRecord(u"HKLM", u"Software\\Y\\", u"Name");
  EXPECT_EQ(bytes.substr(0, 8), std::string("\x07\0\0\0#DF\r", 8));

  LineListFile log;
  openBytes(log, bytes);
  UninstallLogHeader header;
  ASSERT_TRUE(readUninstallLogHeader(log, header));
  EXPECT_EQ(header.appName, u"#DF");
  EXPECT_EQ(header.version, u"#DD");
  EXPECT_EQ(header.webSite, written.webSite);
  EXPECT_EQ(header.appFolder, written.appFolder);
  EXPECT_EQ(header.entryCount, 0x0A0Du);

  std::vector<UninstallRecord> records;
  UninstallRecord record;
  while (readUninstallRecord(log, record)) records.push_back(record);
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[0].kind, UninstallRecordKind::file);
  EXPECT_EQ(records[0].path, u"C:\\Apps\\T\u00fcl\\a.txt");
  EXPECT_EQ(records[1].kind, UninstallRecordKind::folder);
  EXPECT_EQ(records[1].path, u"C:\\Apps\\T\u00fcl\\sub\\");
  EXPECT_EQ(records[2].kind, UninstallRecordKind::key);
  EXPECT_EQ(records[2].rootName, u"HKEY_LOCAL_MACHINE");
  EXPECT_EQ(records[2].path, u"Software\\X");
  EXPECT_EQ(records[3].kind, UninstallRecordKind::value);
  EXPECT_EQ(records[3].rootName, u"HKLM");
  EXPECT_EQ(records[3].path, u"Software\\Y\\");
  EXPECT_EQ(records[3].valueName, u"Name");
}

TEST(UninstallLog, ForeignMarkAndCutRecordsAreReportedNotGuessed) {
  LineListFile log;
  UninstallLogHeader header;
  openBytes(log, std::string("\x06\0\0\0App\r\n", 9));
  EXPECT_FALSE(readUninstallLogHeader(log, header));
  openBytes(log, std::string("\x07\0", 2));
  EXPECT_FALSE(readUninstallLogHeader(log, header));

  openBytes(log, "#DRV\r\nHKEY_USERS\r\n");  // value record cut after its root name
  UninstallRecord record;
  ASSERT_TRUE(readUninstallRecord(log, record));
  EXPECT_EQ(record.kind, UninstallRecordKind::value);
  EXPECT_EQ(record.rootName, u"HKEY_USERS");
  EXPECT_TRUE(record.path.empty());
  EXPECT_TRUE(record.valueName.empty());
  EXPECT_FALSE(readUninstallRecord(log, record));
}

}  // namespace
}  // namespace averlune
