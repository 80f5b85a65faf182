#include "uninstaller/log_digest_win.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/registry_win.h"
#include "config/uninstall_log.h"

namespace averlune {
namespace {

TEST(LogDigestWin, EntriesAreListedWithTheirCommandAndTheirDigestsReadAsTextAndForgotten) {
  const std::u16string name = u"Averlune Digest Test";
  const std::u16string key = std::u16string(kUninstallKeyBase) + name;
  const RegistryRoot machine = RegistryRoot::localMachine;
  deleteKey(machine, key);
  auto listed = [&] {
    const std::vector<UninstallEntryText> entries = uninstallEntries();
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [&](const UninstallEntryText& entry) { return entry.name == name; });
    return found == entries.end() ? std::optional<std::u16string>() : found->uninstallString;
  };

  EXPECT_FALSE(storedDigest(name, kLogDigestValueName));  // no entry: an older setup, or none
  EXPECT_FALSE(listed());
  ASSERT_TRUE(createKey(machine, key));
  EXPECT_EQ(listed(), std::optional<std::u16string>(u""));  // listed, naming nothing
  ASSERT_TRUE(writeStringValue(machine, key, u"UninstallString", u"\"C:\\Apps\\T\\uninstall.exe\""));
  EXPECT_EQ(listed(), std::optional<std::u16string>(u"\"C:\\Apps\\T\\uninstall.exe\""));
  EXPECT_FALSE(storedDigest(name, kLogDigestValueName));  // an entry without a digest
  ASSERT_TRUE(writeStringValue(machine, key, kLogDigestValueName, u"00AB"));
  ASSERT_TRUE(writeStringValue(machine, key, kLanguageDigestValueName, u"00CD"));
  EXPECT_EQ(storedDigest(name, kLogDigestValueName), std::optional<std::u16string>(u"00AB"));
  EXPECT_EQ(storedDigest(name, kLanguageDigestValueName), std::optional<std::u16string>(u"00CD"));
  ASSERT_TRUE(writeDwordValue(machine, key, kLogDigestValueName, 7));
  EXPECT_EQ(storedDigest(name, kLogDigestValueName), std::optional<std::u16string>(u""));  // no digest: trusts nothing

  forgetDigests(name);  // the entry keeps what else it holds
  EXPECT_EQ(valueTypeName(machine, key, kLogDigestValueName).text, u"");
  EXPECT_EQ(valueTypeName(machine, key, kLanguageDigestValueName).text, u"");
  EXPECT_TRUE(keyExists(machine, key));
  ASSERT_TRUE(writeStringValue(machine, key, kLogDigestValueName, u"00ab"));
  ASSERT_TRUE(deleteValue(machine, key, u"UninstallString"));
  forgetDigests(name);  // an aborted installation's entry holds the digests alone
  EXPECT_FALSE(keyExists(machine, key));
  EXPECT_TRUE(keyExists(machine, kUninstallKeyBase));
}

}  // namespace
}  // namespace averlune
