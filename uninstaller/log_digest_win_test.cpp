#include "uninstaller/log_digest_win.h"

#include <gtest/gtest.h>

#include "config/registry_win.h"
#include "config/uninstall_log.h"

namespace averlune {
namespace {

TEST(LogDigestWin, TheEntrysDigestIsReadAsTextAndForgottenWithAnEntryThatHoldsNothingElse) {
  const std::u16string name = u"Averlune Digest Test";
  const std::u16string key = std::u16string(kUninstallKeyBase) + name;
  const RegistryRoot machine = RegistryRoot::localMachine;
  deleteKey(machine, key);

  EXPECT_FALSE(storedLogDigest(name));  // no entry: an older setup, or none
  ASSERT_TRUE(createKey(machine, key));
  ASSERT_TRUE(writeStringValue(machine, key, u"DisplayName", name));
  EXPECT_FALSE(storedLogDigest(name));  // an entry without a digest
  ASSERT_TRUE(writeStringValue(machine, key, kLogDigestValueName, u"00AB"));
  EXPECT_EQ(storedLogDigest(name), std::optional<std::u16string>(u"00AB"));
  ASSERT_TRUE(writeDwordValue(machine, key, kLogDigestValueName, 7));
  EXPECT_EQ(storedLogDigest(name), std::optional<std::u16string>(u""));  // there, but no digest: trusts nothing

  forgetLogDigest(name);  // the entry keeps what else it holds
  EXPECT_EQ(valueTypeName(machine, key, kLogDigestValueName), u"");
  EXPECT_TRUE(keyExists(machine, key));
  ASSERT_TRUE(writeStringValue(machine, key, kLogDigestValueName, u"00ab"));
  ASSERT_TRUE(deleteValue(machine, key, u"DisplayName"));
  forgetLogDigest(name);  // an aborted installation's entry holds the digest alone
  EXPECT_FALSE(keyExists(machine, key));
  EXPECT_TRUE(keyExists(machine, kUninstallKeyBase));
}

}  // namespace
}  // namespace averlune
