#include "base/registry_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "base/wide_text_win.h"

namespace averlune {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes utf16Bytes(const std::u16string& text) {
  Bytes bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return bytes;
}

// Each test works below its own fresh key HKEY_CURRENT_USER\Software\AverluneTest-<random>,
// set up and checked with the raw API so the library is never its own witness.
class RegistryLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    base = u"Software\\AverluneTest-" + std::u16string(fromWide(std::to_wstring(GetCurrentProcessId()).c_str())) + u"-" +
           fromWide(std::to_wstring(GetTickCount() ^ reinterpret_cast<std::uintptr_t>(this)).c_str());
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, wide(base), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, wide(base)); }

  std::u16string path(const std::u16string& below) const { return below.empty() ? base : base + u"\\" + below; }

  void makeKey(const std::u16string& below) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, wide(path(below)), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
  void setRaw(const std::u16string& below, const std::u16string& name, DWORD type, const Bytes& data) {
    makeKey(below);
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, wide(path(below)), wide(name), type, data.data(),
                              static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
  }
  bool rawExists(const std::u16string& below) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, wide(path(below)), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
  // Type and data of a value; type REG_NONE with no data when it is missing.
  std::pair<DWORD, Bytes> getRaw(const std::u16string& below, const std::u16string& name) {
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, wide(path(below)), wide(name), RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr,
                     &size) != ERROR_SUCCESS) {
      return {REG_NONE, {}};
    }
    Bytes data(size);
    RegGetValueW(HKEY_CURRENT_USER, wide(path(below)), wide(name), RRF_RT_ANY | RRF_NOEXPAND, &type, data.data(), &size);
    data.resize(size);
    return {type, data};
  }

  std::u16string base;
};

TEST_F(RegistryLibrary, ReadsEachTypeInItsTextForm) {
  struct Row {
    DWORD type;
    Bytes data;
    std::u16string text;
    std::u16string error;
  };
  const Row rows[] = {
      {REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}, u"-1", u""},
      {REG_DWORD, {0x10, 0, 0, 0}, u"16", u""},
      {REG_BINARY, {0x01, 0xAB}, u"01 AB ", u""},
      {REG_MULTI_SZ, utf16Bytes(std::u16string(u"a\0b\0\0", 5)), u"a\r\nb\r\n", u""},
      {REG_SZ, utf16Bytes(std::u16string(u"\0", 1)), u"", u""},
      {REG_SZ, utf16Bytes(std::u16string(u"C:\\Tool \u00E9\0", 9)), u"C:\\Tool \u00E9", u""},
      {REG_EXPAND_SZ, utf16Bytes(std::u16string(u"%WINDIR%\\x\0", 11)), u"%WINDIR%\\x", u""},
      {REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, u"", u"ERROR, not specified message"},
  };
  int n = 0;
  for (const Row& row : rows) {
    std::u16string name = u"v" + fromWide(std::to_wstring(n++).c_str());
    setRaw(u"", name, row.type, row.data);
    const RegistryText read = readRegistryValueText(RegistryRoot::currentUser, base, name);
    EXPECT_EQ(read.ok, row.error.empty()) << n;
    EXPECT_EQ(read.text, row.text) << n;
    EXPECT_EQ(read.failure, row.error) << n;
  }
}

TEST_F(RegistryLibrary, EachReadAnswersWithItsOwnFailure) {
  setRaw(u"", u"", REG_SZ, utf16Bytes(std::u16string(u"default\0", 8)));
  struct Row {
    RegistryRoot root;
    std::u16string subKey;
    std::u16string name;
    std::u16string text;
    std::u16string error;
  };
  const Row rows[] = {
      {RegistryRoot::currentUser, base, u"", u"default", u""},
      {RegistryRoot::currentUser, u"\\" + base, u"", u"default", u""},
      {RegistryRoot::currentUser, base + u"\\", u"", u"default", u""},
      {RegistryRoot::none, base, u"", u"", u"ERROR, #HKEY is empty"},
      {RegistryRoot::currentUser, u"", u"", u"", u"ERROR, subkeyname is empty"},
      {RegistryRoot::currentUser, base + u"\\Missing", u"", u"", u"ERROR, sub key dont exist"},
      {RegistryRoot::currentUser, base, u"Missing", u"", u"ERROR, not specified message"},
  };
  // Every read first, then the checks: a later call must not change an earlier call's answer.
  std::vector<RegistryText> answers;
  for (const Row& row : rows) answers.push_back(readRegistryValueText(row.root, row.subKey, row.name));
  for (std::size_t i = 0; i < answers.size(); ++i) {
    EXPECT_EQ(answers[i].ok, rows[i].error.empty()) << i;
    EXPECT_EQ(answers[i].text, rows[i].text) << i;
    EXPECT_EQ(answers[i].failure, rows[i].error) << i;
  }
}

TEST_F(RegistryLibrary, WritersStoreExactData) {
  makeKey(u"W");
  const std::u16string key = path(u"W");
  const RegistryRoot hkcu = RegistryRoot::currentUser;
  EXPECT_TRUE(writeBinaryValue(hkcu, key, u"bin", u"0A FF"));
  EXPECT_EQ(getRaw(u"W", u"bin"), std::make_pair(DWORD(REG_BINARY), Bytes{0x0A, 0xFF}));
  EXPECT_TRUE(writeBinaryValue(hkcu, key, u"bin3", u"01 02 0"));
  EXPECT_EQ(getRaw(u"W", u"bin3"), std::make_pair(DWORD(REG_BINARY), Bytes{0x01, 0x02}));
  EXPECT_TRUE(writeDwordValue(hkcu, key, u"dw", 0xFFFFFFFFu));
  EXPECT_EQ(getRaw(u"W", u"dw"), std::make_pair(DWORD(REG_DWORD), Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_TRUE(writeExpandStringValue(hkcu, key, u"ex", u"%TEMP%\\a"));
  EXPECT_EQ(getRaw(u"W", u"ex"), std::make_pair(DWORD(REG_EXPAND_SZ), utf16Bytes(std::u16string(u"%TEMP%\\a\0", 9))));
  EXPECT_TRUE(writeStringValue(hkcu, u"\\" + key, u"sz", u"x"));
  EXPECT_EQ(getRaw(u"W", u"sz"), std::make_pair(DWORD(REG_SZ), utf16Bytes(std::u16string(u"x\0", 2))));
  EXPECT_TRUE(writeStringValue(hkcu, key, u"", u"dflt"));
  EXPECT_EQ(getRaw(u"W", u""), std::make_pair(DWORD(REG_SZ), utf16Bytes(std::u16string(u"dflt\0", 5))));
  EXPECT_EQ(writeDwordValue(hkcu, key, u"dw", 1).failure, u"");
}

TEST_F(RegistryLibrary, WritersRefuseAndWriteNothing) {
  makeKey(u"W");
  const std::u16string key = path(u"W");
  const RegistryRoot hkcu = RegistryRoot::currentUser;
  struct Row {
    const char* what;
    std::function<RegistryResult()> write;
    std::u16string error;
  };
  const Row rows[] = {
      {"binary without spaces", [&] { return writeBinaryValue(hkcu, key, u"b1", u"0102"); }, u"ERROR, no space"},
      {"binary not hexadecimal", [&] { return writeBinaryValue(hkcu, key, u"b2", u"01 G1"); },
       u"ERROR, false sign into the string"},
      {"binary empty", [&] { return writeBinaryValue(hkcu, key, u"b3", u" "); }, u"ERROR, allocated memorysize <1"},
      {"binary no name", [&] { return writeBinaryValue(hkcu, key, u"", u"01"); }, u"ERROR, valuename is empty"},
      {"dword no name", [&] { return writeDwordValue(hkcu, key, u"", 1); }, u"ERROR, valuename is empty"},
      {"expand no name", [&] { return writeExpandStringValue(hkcu, key, u"", u"x"); }, u"ERROR, valuename is empty"},
      {"missing key", [&] { return writeStringValue(hkcu, key + u"\\New", u"s", u"x"); }, u"ERROR, sub key dont exist"},
      {"no root", [&] { return writeStringValue(RegistryRoot::none, key, u"s", u"x"); }, u"ERROR, #HKEY is empty"},
      {"no sub key", [&] { return writeDwordValue(hkcu, u"", u"s", 1); }, u"ERROR, subkeyname is empty"},
  };
  for (const Row& row : rows) {
    const RegistryResult written = row.write();
    EXPECT_FALSE(written.ok) << row.what;
    EXPECT_EQ(written.failure, row.error) << row.what;
  }
  for (const char16_t* name : {u"b1", u"b2", u"b3", u""}) EXPECT_EQ(getRaw(u"W", name).first, DWORD(REG_NONE));
  EXPECT_FALSE(rawExists(u"W\\New"));
}

TEST_F(RegistryLibrary, ValueTypeNames) {
  setRaw(u"T", u"sz", REG_SZ, utf16Bytes(std::u16string(u"a\0", 2)));
  setRaw(u"T", u"ex", REG_EXPAND_SZ, utf16Bytes(std::u16string(u"a\0", 2)));
  setRaw(u"T", u"bin", REG_BINARY, Bytes(255, 0x11));
  setRaw(u"T", u"long", REG_BINARY, Bytes(256, 0x11));
  setRaw(u"T", u"dw", REG_DWORD, {1, 0, 0, 0});
  setRaw(u"T", u"multi", REG_MULTI_SZ, utf16Bytes(std::u16string(u"a\0\0", 3)));
  setRaw(u"T", u"qw", REG_QWORD, Bytes(8, 0));
  setRaw(u"T", u"", REG_DWORD, {1, 0, 0, 0});
  struct Row {
    std::u16string name;
    std::u16string type;
  };
  const Row rows[] = {{u"sz", u"REG_SZ"},       {u"ex", u"REG_EXPAND_SZ"}, {u"bin", u"REG_BINARY"},
                      {u"long", u""},           {u"dw", u"REG_DWORD"},     {u"multi", u"REG_MULTI_SZ"},
                      {u"qw", u""},             {u"", u"REG_DWORD"},       {u"missing", u""}};
  for (const Row& row : rows) {
    EXPECT_EQ(valueTypeName(RegistryRoot::currentUser, path(u"T"), row.name).text, row.type)
        << std::string(row.name.begin(), row.name.end());
  }
  // Another type is no failure; a missing value or data too long for the type's buffer is.
  EXPECT_TRUE(valueTypeName(RegistryRoot::currentUser, path(u"T"), u"qw").ok);
  EXPECT_EQ(valueTypeName(RegistryRoot::currentUser, path(u"T"), u"long").failure, u"ERROR, reading key");
  EXPECT_EQ(valueTypeName(RegistryRoot::currentUser, path(u"T"), u"missing").failure, u"ERROR, reading key");
  const RegistryText missingKey = valueTypeName(RegistryRoot::currentUser, path(u"Missing"), u"sz");
  EXPECT_EQ(missingKey.text, u"");
  EXPECT_EQ(missingKey.failure, u"ERROR, sub key dont exist");
}

TEST_F(RegistryLibrary, CreateAndFindKeys) {
  const RegistryResult notYet = keyExists(RegistryRoot::currentUser, path(u"A\\B\\C"));
  EXPECT_TRUE(createKey(RegistryRoot::currentUser, path(u"A\\B\\C\\")));
  // The failure before the successes is still that call's own.
  EXPECT_FALSE(notYet.ok);
  EXPECT_EQ(notYet.failure, u"ERROR, sub key not found");
  EXPECT_TRUE(rawExists(u"A\\B\\C"));
  EXPECT_TRUE(createKey(RegistryRoot::currentUser, u"\\" + path(u"A\\B\\C")));  // already there
  const RegistryResult found = keyExists(RegistryRoot::currentUser, path(u"A\\B"));
  EXPECT_TRUE(found.ok);
  EXPECT_EQ(found.failure, u"");
  EXPECT_EQ(createKey(RegistryRoot::none, path(u"A")).failure, u"ERROR, #HKEY is empty");
  EXPECT_EQ(keyExists(RegistryRoot::currentUser, u"").failure, u"ERROR, subkeyname is empty");
  EXPECT_EQ(valueExists(RegistryRoot::currentUser, path(u"Missing"), u"v").failure, u"ERROR, sub key not found");
  EXPECT_EQ(valueExists(RegistryRoot::currentUser, path(u"A"), u"v").failure, u"ERROR, not specified message");
  EXPECT_EQ(deleteKey(RegistryRoot::none, path(u"A")).failure, u"ERROR, #HKEY is empty");
}

// Two threads that fail for different reasons at the same time: each call's answer names its own
// reason, never the other thread's.
TEST_F(RegistryLibrary, ThreadsGetTheirOwnFailures) {
  const std::u16string missing = path(u"Missing");
  int mixedA = 0;
  int mixedB = 0;
  std::thread other([&] {
    for (int i = 0; i < 2000; ++i) {
      const RegistryText read = readRegistryValueText(RegistryRoot::currentUser, base, u"Missing");
      if (read.failure != u"ERROR, not specified message") ++mixedB;
    }
  });
  for (int i = 0; i < 2000; ++i) {
    if (keyExists(RegistryRoot::currentUser, missing).failure != u"ERROR, sub key not found") ++mixedA;
  }
  other.join();
  EXPECT_EQ(mixedA, 0);
  EXPECT_EQ(mixedB, 0);
}

TEST_F(RegistryLibrary, DeleteValuesAndKeys) {
  setRaw(u"D", u"v", REG_DWORD, {1, 0, 0, 0});
  makeKey(u"D\\Sub");
  EXPECT_TRUE(valueExists(RegistryRoot::currentUser, path(u"D"), u"v"));
  EXPECT_TRUE(deleteValue(RegistryRoot::currentUser, path(u"D"), u"v"));
  EXPECT_EQ(getRaw(u"D", u"v").first, DWORD(REG_NONE));
  EXPECT_FALSE(valueExists(RegistryRoot::currentUser, path(u"D"), u"v"));
  EXPECT_FALSE(valueExists(RegistryRoot::currentUser, path(u"Missing"), u"v"));
  EXPECT_FALSE(deleteValue(RegistryRoot::currentUser, path(u"D"), u"v"));
  EXPECT_FALSE(deleteValue(RegistryRoot::currentUser, path(u"Missing"), u"v"));
  EXPECT_FALSE(deleteKey(RegistryRoot::currentUser, path(u"D")));  // still has a subkey
  EXPECT_TRUE(rawExists(u"D"));
  setRaw(u"D\\Sub", u"v", REG_DWORD, {1, 0, 0, 0});
  EXPECT_TRUE(deleteKey(RegistryRoot::currentUser, path(u"D\\Sub\\")));  // with its values
  EXPECT_FALSE(rawExists(u"D\\Sub"));
}

TEST_F(RegistryLibrary, DeleteKeyIfEmptyKeepsAnythingHoldingData) {
  setRaw(u"E\\WithValue", u"v", REG_SZ, utf16Bytes(std::u16string(u"\0", 1)));
  setRaw(u"E\\WithDefault", u"", REG_SZ, utf16Bytes(std::u16string(u"\0", 1)));
  makeKey(u"E\\WithSub\\Sub");
  makeKey(u"E\\Empty");
  EXPECT_FALSE(deleteKeyIfEmpty(RegistryRoot::currentUser, path(u"E\\WithValue")));
  EXPECT_FALSE(deleteKeyIfEmpty(RegistryRoot::currentUser, path(u"E\\WithDefault")));
  EXPECT_FALSE(deleteKeyIfEmpty(RegistryRoot::currentUser, path(u"E\\WithSub")));
  EXPECT_TRUE(deleteKeyIfEmpty(RegistryRoot::currentUser, path(u"E\\Empty\\")));
  EXPECT_TRUE(rawExists(u"E\\WithValue"));
  EXPECT_TRUE(rawExists(u"E\\WithDefault"));
  EXPECT_TRUE(rawExists(u"E\\WithSub\\Sub"));
  EXPECT_FALSE(rawExists(u"E\\Empty"));
}

TEST_F(RegistryLibrary, PruneRemovesOnlyEmptyAncestors) {
  // Acme\Tool empty: both go, up to the first ancestor that still holds something.
  makeKey(u"P1\\Acme\\Tool");
  setRaw(u"P1", u"keep", REG_DWORD, {1, 0, 0, 0});
  pruneEmptyKeys(RegistryRoot::currentUser, path(u"P1\\Acme\\Tool"));
  EXPECT_FALSE(rawExists(u"P1\\Acme"));
  EXPECT_TRUE(rawExists(u"P1"));

  // Acme holds a value: Tool goes, Acme stays.
  makeKey(u"P2\\Acme\\Tool");
  setRaw(u"P2\\Acme", u"v", REG_DWORD, {1, 0, 0, 0});
  pruneEmptyKeys(RegistryRoot::currentUser, path(u"P2\\Acme\\Tool\\"));
  EXPECT_FALSE(rawExists(u"P2\\Acme\\Tool"));
  EXPECT_TRUE(rawExists(u"P2\\Acme"));

  // Acme has a second subkey: Tool goes, Acme and its other subkey stay.
  makeKey(u"P3\\Acme\\Tool");
  makeKey(u"P3\\Acme\\Other");
  pruneEmptyKeys(RegistryRoot::currentUser, path(u"P3\\Acme\\Tool"));
  EXPECT_FALSE(rawExists(u"P3\\Acme\\Tool"));
  EXPECT_TRUE(rawExists(u"P3\\Acme\\Other"));

  // Tool itself holds a value: nothing goes.
  setRaw(u"P4\\Acme\\Tool", u"v", REG_DWORD, {1, 0, 0, 0});
  pruneEmptyKeys(RegistryRoot::currentUser, path(u"P4\\Acme\\Tool"));
  EXPECT_TRUE(rawExists(u"P4\\Acme\\Tool"));
  EXPECT_TRUE(rawExists(u""));
}

}  // namespace
}  // namespace averlune
