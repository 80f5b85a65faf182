#include "install/registry_list.h"

#include <gtest/gtest.h>

#include "install/uninstall_registration.h"

namespace averlune {
namespace {

std::string flag(std::uint32_t value) {
  std::string bytes;
  for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((value >> shift) & 0xFF);
  return bytes;
}

TEST(RegistryList, ReadsFourLinesAndTheFlagBytesOfEachRecord) {
  LineListFile list;
  // Mixed line ends; the flag bytes follow the fourth line end directly, and may look like a line end.
  openBytes(list, "HKEY_LOCAL_MACHINE\r\nSoftware/<x>/Tool\nPath\r<x>\r\n" + flag(1) +
                      "HKEY_CLASSES_ROOT\r\n.avl\\\r\n\r\nAcme\r\n" + flag(0x0A0D) + "hkey_users\r\nKey");
  const auto entries = readRegistryList(list, [](const std::u16string& text) {
    std::u16string result = text;
    const std::size_t at = result.find(u"<x>");
    if (at != std::u16string::npos) result.replace(at, 3, u"Acme");
    return result;
  });
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].rootName, u"HKEY_LOCAL_MACHINE");
  EXPECT_EQ(entries[0].root, RegistryRoot::localMachine);
  EXPECT_EQ(entries[0].subKey, u"Software\\Acme\\Tool\\");
  EXPECT_EQ(entries[0].valueName, u"Path");
  EXPECT_EQ(entries[0].data, u"Acme");
  EXPECT_EQ(entries[0].uninstallFlag, 1u);
  EXPECT_EQ(entries[1].root, RegistryRoot::classesRoot);
  EXPECT_EQ(entries[1].subKey, u".avl\\");
  EXPECT_EQ(entries[1].valueName, u"");
  EXPECT_EQ(entries[1].uninstallFlag, 0x0A0Du);
  // A record cut short: empty lines, flag 0; an unknown root (case matters) is the current user.
  EXPECT_EQ(entries[2].root, RegistryRoot::currentUser);
  EXPECT_EQ(entries[2].rootName, u"hkey_users");
  EXPECT_EQ(entries[2].subKey, u"Key\\");
  EXPECT_EQ(entries[2].uninstallFlag, 0u);
}

TEST(UninstallRegistration, ValuesInOrderWithTheUninstallerQuotedItsSilentCommandAndTheSize) {
  const auto registration = uninstallRegistration(u"My App", u"1.2", u"https://example.test", u"Acme",
                                                  u"C:\\Program Files\\My App\\uninstall.exe",
                                                  u"C:\\Program Files\\My App\\", u"Tools\\My App\\");
  ASSERT_TRUE(registration);
  EXPECT_EQ(registration->subKey, u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\My App");
  const std::vector<std::pair<std::u16string, std::u16string>> expected{
      {u"DisplayName", u"My App"},
      {u"DisplayVersion", u"1.2"},
      {u"HelpLink", u"https://example.test"},
      {u"Publisher", u"Acme"},
      {u"UninstallString", u"\"C:\\Program Files\\My App\\uninstall.exe\""},
      {u"QuietUninstallString", u"\"C:\\Program Files\\My App\\uninstall.exe\" /S"},
      {u"DisplayIcon", u"C:\\Program Files\\My App\\uninstall.exe"},
      {u"InstallLocation", u"C:\\Program Files\\My App\\"},
      {u"ShortcutFolder", u"Tools\\My App\\"},
  };
  ASSERT_EQ(registration->values.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(registration->values[i].name, expected[i].first);
    EXPECT_EQ(registration->values[i].data, expected[i].second);
  }
  // Kilobytes, rounded up; a size beyond what the value can hold shows as its largest.
  EXPECT_EQ(estimatedSizeOf(2049), 3u);
  EXPECT_EQ(estimatedSizeOf(0), 0u);
  EXPECT_EQ(estimatedSizeOf(1024), 1u);
  EXPECT_EQ(estimatedSizeOf(std::uint64_t{1} << 45), 0xFFFFFFFFu);
  // A name that would make the entry the Uninstall key itself registers nothing.
  EXPECT_FALSE(uninstallRegistration(u"", u"", u"", u"", u"x", u"", u""));
  EXPECT_FALSE(uninstallRegistration(u"\\\\", u"", u"", u"", u"x", u"", u""));
}

}  // namespace
}  // namespace averlune
