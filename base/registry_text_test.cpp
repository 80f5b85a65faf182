#include "base/registry_text.h"

#include <gtest/gtest.h>

namespace averlune {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(RegistryErrorText, ExactBytes) {
  // Stored as UTF-16: the accent in "can´t" is U+00B4, not an apostrophe.
  EXPECT_EQ(std::u16string(registry_errors::noMemory), std::u16string(u"ERROR, can") + char16_t(0xB4) + u"t allocate memory");
  EXPECT_EQ(std::u16string(registry_errors::cannotWrite), std::u16string(u"ERROR, can") + char16_t(0xB4) + u"t write value");
}

TEST(RegistryRootName, ExactNamesElseFallback) {
  struct Row {
    std::u16string name;
    RegistryRoot expected;
  };
  const Row rows[] = {
      {u"HKEY_CLASSES_ROOT", RegistryRoot::classesRoot},
      {u"HKEY_CURRENT_USER", RegistryRoot::currentUser},
      {u"HKEY_LOCAL_MACHINE", RegistryRoot::localMachine},
      {u"HKEY_USERS", RegistryRoot::users},
      {u"HKEY_CURRENT_CONFIG", RegistryRoot::currentConfig},
      {u"hkey_local_machine", RegistryRoot::dynData},
      {u"HKLM", RegistryRoot::dynData},
      {u"", RegistryRoot::dynData},
      {u" HKEY_USERS", RegistryRoot::dynData},
      {u"HKEY_PERFORMANCE_DATA", RegistryRoot::dynData},
  };
  // A fallback no name maps to, so a row that wrongly matches shows up.
  for (const Row& row : rows) EXPECT_EQ(registryRootFromName(row.name, RegistryRoot::dynData), row.expected);
  EXPECT_FALSE(isRegistryRoot(RegistryRoot::none));
  EXPECT_TRUE(isRegistryRoot(RegistryRoot::dynData));
}

TEST(RegistryPrune, CandidatesLongestFirst) {
  using List = std::vector<std::u16string>;
  EXPECT_EQ(pruneCandidates(u"Software\\Acme\\Tool\\"), (List{u"Software\\Acme\\Tool\\", u"Software\\Acme\\", u"Software\\"}));
  EXPECT_EQ(pruneCandidates(u"Software\\Acme\\Tool"), (List{u"Software\\Acme\\Tool\\", u"Software\\Acme\\", u"Software\\"}));
  EXPECT_EQ(pruneCandidates(u"\\Software\\Acme"), (List{u"Software\\Acme\\", u"Software\\"}));
  EXPECT_EQ(pruneCandidates(u"Tool"), (List{u"Tool\\"}));
  EXPECT_EQ(pruneCandidates(u""), List{});
  EXPECT_EQ(pruneCandidates(u"\\"), List{});
}

TEST(RegistryHexText, BinaryGroups) {
  struct Row {
    std::u16string text;
    bool ok;
    Bytes bytes;
    std::u16string error;
  };
  const Row rows[] = {
      {u"0A FF", true, {0x0A, 0xFF}, u""},
      {u"0A FF ", true, {0x0A, 0xFF}, u""},
      {u"  0a ff  ", true, {0x0A, 0xFF}, u""},
      {u"01 02 0", true, {0x01, 0x02}, u""},
      {u"01 AB 7F 00", true, {0x01, 0xAB, 0x7F, 0x00}, u""},
      {u"1", false, {}, u"ERROR, allocated memorysize <1"},
      {u"", false, {}, u"ERROR, allocated memorysize <1"},
      {u"    ", false, {}, u"ERROR, allocated memorysize <1"},
      {u"0102", false, {}, u"ERROR, no space"},
      {u"01,02", false, {}, u"ERROR, no space"},
      {u"01 G1 02", false, {}, u"ERROR, false sign into the string"},
      {u"01    02", false, {}, u"ERROR, string to long or empty"},
      {u"fF 0a", true, {0xFF, 0x0A}, u""},
      {u"-1 02", false, {}, u"ERROR, false sign into the string"},
      {u"01 0x", false, {}, u"ERROR, false sign into the string"},
  };
  for (const Row& row : rows) {
    BinaryValueBytes result = binaryValueFromHexText(row.text);
    EXPECT_EQ(result.ok, row.ok) << std::string(row.text.begin(), row.text.end());
    EXPECT_EQ(result.bytes, row.bytes);
    EXPECT_EQ(result.failure, row.error);
  }
}

TEST(RegistryHexText, RoundTripsEveryByte) {
  Bytes all(256);
  for (int i = 0; i < 256; ++i) all[i] = static_cast<std::uint8_t>(i);
  std::u16string text = hexTextFromBytes(all.data(), all.size());
  EXPECT_EQ(text.substr(0, 12), u"00 01 02 03 ");
  EXPECT_EQ(text.substr(text.size() - 6), u"FE FF ");
  BinaryValueBytes back = binaryValueFromHexText(text);
  ASSERT_TRUE(back.ok);
  EXPECT_EQ(back.bytes, all);
}

TEST(RegistryNumber, Parse) {
  struct Row {
    std::u16string text;
    std::int64_t value;
  };
  const Row rows[] = {
      {u"12", 12},
      {u"  \t12", 12},
      {u"+7", 7},
      {u"-1", -1},
      {u"12abc", 12},
      {u"$FF", 255},
      {u"$ff", 255},
      {u"-$10", -16},
      {u"%101", 5},
      {u"%102", 2},
      {u"", 0},
      {u"abc", 0},
      {u"$", 0},
      {u"0x10", 0},
      {u"- 5", 0},
      {u"4294967295", 4294967295LL},
      {u"9223372036854775807", INT64_MAX},
      {u"18446744073709551617", 1},  // wraps rather than overflowing
  };
  for (const Row& row : rows) EXPECT_EQ(parseNumber(row.text), row.value) << std::string(row.text.begin(), row.text.end());
  EXPECT_EQ(static_cast<std::uint32_t>(parseNumber(u"-1")), 0xFFFFFFFFu);
}

TEST(RegistryValueText, TextFormsByType) {
  struct Row {
    std::uint32_t type;
    Bytes data;
    bool ok;
    std::u16string text;
  };
  const Row rows[] = {
      {regSz, {'a', 0, 'b', 0, 0, 0}, true, u"ab"},
      {regSz, {'a', 0, 'b', 0}, true, u"ab"},               // no terminator
      {regSz, {'a', 0, 'b'}, true, u"a"},                   // odd last byte
      {regSz, {}, true, u""},
      {regSz, {0, 0}, true, u""},
      {regExpandSz, {'%', 0, 'X', 0, '%', 0, 0, 0}, true, u"%X%"},
      {regSz, {0xE9, 0x00, 0xAC, 0x20, 0, 0}, true, u"\u00E9\u20AC"},
      {regMultiSz, {'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0}, true, u"a\r\nb\r\n"},
      {regMultiSz, {'a', 0, 0, 0, 'b', 0}, true, u"a\r\nb\r\n"},
      {regMultiSz, {0, 0}, true, u""},
      {regMultiSz, {}, true, u""},
      {regDword, {0xFF, 0xFF, 0xFF, 0xFF}, true, u"-1"},
      {regDword, {0x10, 0x00, 0x00, 0x00}, true, u"16"},
      {regDword, {0xFF, 0xFF, 0xFF, 0x7F}, true, u"2147483647"},
      {regDword, {0x00, 0x00, 0x00, 0x80}, true, u"-2147483648"},
      {regBinary, {0x01, 0xAB}, true, u"01 AB "},
      {regBinary, {0x0A, 0xFF}, true, u"0A FF "},
      {regBinary, {}, true, u""},
      {5, {0, 0, 0, 1}, false, u""},   // big-endian DWORD
      {11, {1, 0, 0, 0, 0, 0, 0, 0}, false, u""},
      {0, {}, false, u""},
  };
  for (const Row& row : rows) {
    RegistryValueText result = registryValueToText(row.type, row.data.data(), row.data.size());
    EXPECT_EQ(result.ok, row.ok) << "type " << row.type;
    EXPECT_EQ(result.text, row.text) << "type " << row.type;
  }
}

}  // namespace
}  // namespace averlune
