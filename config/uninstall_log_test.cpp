#include "config/uninstall_log.h"

#include <gtest/gtest.h>

namespace averlune {
namespace {

// The one place the log is spelled byte by byte: older uninstallers read what this setup writes,
// and every other test builds its expected log from the writers below.
TEST(UninstallLog, WritersGiveTheExactBytesOfTheHeaderAndEveryRecordKind) {
  const struct {
    const char* name;
    std::string written;
    std::string bytes;
  } rows[] = {
      {"header",
       uninstallLogHeaderBytes({u"T\u00fcl", u"1.0", u"https://example.org/", u"C:\\Apps\\T\u00fcl\\", 0x01020304}),
       std::string("\x07\0\0\0", 4) + "T\xC3\xBCl\r\n1.0\r\nhttps://example.org/\r\nC:\\Apps\\T\xC3\xBCl\\\r\n" +
           "\x04\x03\x02\x01"},
      {"header with no web site", uninstallLogHeaderBytes({u"A", u"", u"", u"C:\\A\\", 0}),
       std::string("\x07\0\0\0A\r\n\r\n\r\nC:\\A\\\r\n\0\0\0\0", 22)},
      {"file", uninstallFileRecord(u"C:\\Apps\\a.txt"), "#DF\r\nC:\\Apps\\a.txt\r\n"},
      {"folder", uninstallFolderRecord(u"C:\\Apps\\sub\\"), "#DD\r\nC:\\Apps\\sub\\\r\n"},
      {"key", uninstallKeyRecord(u"HKEY_LOCAL_MACHINE", u"Software\\X"), "#DRK\r\nHKEY_LOCAL_MACHINE\r\nSoftware\\X\r\n"},
      {"value", uninstallValueRecord(u"HKLM", u"Software\\Y\\", u"Name"), "#DRV\r\nHKLM\r\nSoftware\\Y\\\r\nName\r\n"},
      {"default value", uninstallValueRecord(u"HKEY_USERS", u"S\\", u""), "#DRV\r\nHKEY_USERS\r\nS\\\r\n\r\n"},
  };
  for (const auto& row : rows) EXPECT_EQ(row.written, row.bytes) << row.name;
}

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
