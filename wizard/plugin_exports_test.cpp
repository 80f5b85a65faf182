#include "wizard/plugin_exports.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace averlune {
namespace {

using Names = std::vector<std::string>;

void putU16(std::string& bytes, std::size_t offset, std::uint16_t value) {
  if (bytes.size() < offset + 2) bytes.resize(offset + 2);
  bytes[offset] = static_cast<char>(value & 0xFF);
  bytes[offset + 1] = static_cast<char>(value >> 8);
}

void putU32(std::string& bytes, std::size_t offset, std::uint32_t value) {
  putU16(bytes, offset, static_cast<std::uint16_t>(value & 0xFFFF));
  putU16(bytes, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

// A library file as a linker lays it out: headers, then one section at address 0x1000 stored at
// file offset 0x200, holding the export directory, the address table, the name table, the slot
// table and the name strings, in that order.
struct LibraryFile {
  bool wide = false;                                     // PE32+ (64-bit) headers
  std::vector<std::uint32_t> functions;                  // the address table; 0 is an empty slot
  std::vector<std::pair<std::string, std::uint16_t>> names;  // name table order: name, slot
  std::uint32_t claimedNameCount = UINT32_MAX;           // UINT32_MAX: the real count
  std::uint16_t sectionCount = 1;
  // Non-zero: a one-byte section at this offset into the real one, listed before it (sections
  // that overlap, as only a crafted file has them).
  std::uint32_t shadowAt = 0;

  static constexpr std::uint32_t kSectionAddress = 0x1000;
  static constexpr std::uint32_t kSectionFileOffset = 0x200;

  std::string bytes() const {
    std::string section(40, '\0');
    const std::uint32_t functionsAt = static_cast<std::uint32_t>(section.size());
    for (std::uint32_t f : functions) putU32(section, section.size(), f);
    const std::uint32_t namesAt = static_cast<std::uint32_t>(section.size());
    section.resize(section.size() + 4 * names.size());
    const std::uint32_t slotsAt = static_cast<std::uint32_t>(section.size());
    for (std::size_t i = 0; i < names.size(); ++i) putU16(section, slotsAt + 2 * i, names[i].second);
    for (std::size_t i = 0; i < names.size(); ++i) {
      putU32(section, namesAt + 4 * i, kSectionAddress + static_cast<std::uint32_t>(section.size()));
      section += names[i].first;
      section += '\0';
    }
    putU32(section, 20, static_cast<std::uint32_t>(functions.size()));
    putU32(section, 24, claimedNameCount == UINT32_MAX ? static_cast<std::uint32_t>(names.size()) : claimedNameCount);
    putU32(section, 28, kSectionAddress + functionsAt);
    putU32(section, 32, kSectionAddress + namesAt);
    putU32(section, 36, kSectionAddress + slotsAt);

    std::string file(kSectionFileOffset, '\0');
    file[0] = 'M';
    file[1] = 'Z';
    const std::uint32_t pe = 0x40;
    putU32(file, 0x3C, pe);
    file.replace(pe, 4, std::string("PE\0\0", 4));
    const std::uint16_t optionalSize = wide ? 240 : 224;
    putU16(file, pe + 4, wide ? 0x8664 : 0x14C);
    putU16(file, pe + 6, static_cast<std::uint16_t>(sectionCount + (shadowAt ? 1 : 0)));
    putU16(file, pe + 20, optionalSize);
    const std::uint32_t optional = pe + 24;
    putU16(file, optional, wide ? 0x20B : 0x10B);
    const std::uint32_t directories = optional + (wide ? 108 : 92);
    putU32(file, directories, 16);
    putU32(file, directories + 4, kSectionAddress);
    putU32(file, directories + 8, 40);
    std::uint32_t sectionHeader = optional + optionalSize;
    if (shadowAt) {
      putU32(file, sectionHeader + 8, 1);
      putU32(file, sectionHeader + 12, kSectionAddress + shadowAt);
      putU32(file, sectionHeader + 16, 1);
      putU32(file, sectionHeader + 20, kSectionFileOffset + shadowAt);
      sectionHeader += 40;
    }
    putU32(file, sectionHeader + 8, static_cast<std::uint32_t>(section.size()));
    putU32(file, sectionHeader + 12, kSectionAddress);
    putU32(file, sectionHeader + 16, static_cast<std::uint32_t>(section.size()));
    putU32(file, sectionHeader + 20, kSectionFileOffset);
    return file.substr(0, kSectionFileOffset) + section;
  }
};

// Slots 0 to 4: 0 has two names, 1 one name that sorts first, 2 none (an export by number only),
// 3 a name but an empty address, 4 a name; the name table is alphabetical, as linkers write it.
LibraryFile typicalPlugin() {
  LibraryFile file;
  file.functions = {0x1100, 0x1200, 0x1300, 0, 0x1500};
  file.names = {{"Alpha", 1}, {"Beta", 0}, {"Empty", 3}, {"Gamma", 0}, {"Last", 4}};
  return file;
}

TEST(PluginExportNames, AddressTableOrderWithTheLastNameOfEachExport) {
  const Names expected = {"Gamma", "Alpha", "Last"};
  LibraryFile file = typicalPlugin();
  EXPECT_EQ(pluginExportNames(file.bytes()), expected);
  file.wide = true;
  EXPECT_EQ(pluginExportNames(file.bytes()), expected);

  // A name the table repeats is called once; a slot number past the address table names nothing.
  file.names = {{"Twice", 0}, {"Twice", 1}, {"Nowhere", 9}, {"Once", 4}};
  EXPECT_EQ(pluginExportNames(file.bytes()), (Names{"Twice", "Once"}));

  file.names.clear();
  EXPECT_TRUE(pluginExportNames(file.bytes()).empty());
}

TEST(PluginExportNames, WhatIsNoLibraryGivesNoNames) {
  EXPECT_TRUE(pluginExportNames("").empty());
  EXPECT_TRUE(pluginExportNames("MZ").empty());
  EXPECT_TRUE(pluginExportNames("plain text, not a library at all").empty());

  const std::string good = typicalPlugin().bytes();
  std::string notPe = good;
  notPe[0x40] = 'N';
  EXPECT_TRUE(pluginExportNames(notPe).empty());
  std::string unknownMagic = good;
  putU16(unknownMagic, 0x58, 0x107);
  EXPECT_TRUE(pluginExportNames(unknownMagic).empty());
  std::string headerFarAway = good;
  putU32(headerFarAway, 0x3C, 0xFFFFFFF0);
  EXPECT_TRUE(pluginExportNames(headerFarAway).empty());
  std::string noExportDirectory = good;
  putU32(noExportDirectory, 0x58 + 96, 0);
  EXPECT_TRUE(pluginExportNames(noExportDirectory).empty());
  std::string noDirectories = good;
  putU32(noDirectories, 0x58 + 92, 0);
  EXPECT_TRUE(pluginExportNames(noDirectories).empty());

  LibraryFile tooManySections = typicalPlugin();
  tooManySections.sectionCount = 97;
  EXPECT_TRUE(pluginExportNames(tooManySections.bytes()).empty());
}

TEST(PluginExportNames, FilesCutShortOrLyingAboutCountsNeverReadPastTheirEnd) {
  const std::string good = typicalPlugin().bytes();
  const Names all = pluginExportNames(good);
  // Every cut gives a selection of the full list, in its order (sanitizers watch the reads).
  for (std::size_t length = 0; length < good.size(); ++length) {
    const Names some = pluginExportNames(good.substr(0, length));
    std::size_t next = 0;
    for (const std::string& name : some) {
      while (next < all.size() && all[next] != name) ++next;
      ASSERT_LT(next, all.size()) << "cut at " << length;
    }
  }

  // A count the tables do not back makes the whole directory untrusted.
  LibraryFile boastful = typicalPlugin();
  boastful.claimedNameCount = 0xFFFFFFFF - 1;
  EXPECT_TRUE(pluginExportNames(boastful.bytes()).empty());

  // The last name runs off the end of its section without its terminator.
  std::string unterminated = good;
  unterminated.pop_back();
  EXPECT_EQ(pluginExportNames(unterminated), (Names{"Gamma", "Alpha"}));
  // An export whose last name is unreadable is not called by an earlier name either.
  LibraryFile lastNameUnreadable = typicalPlugin();
  lastNameUnreadable.names[3].first = std::string(5000, 'g');
  EXPECT_EQ(pluginExportNames(lastNameUnreadable.bytes()), (Names{"Alpha", "Last"}));

  // The directory points at addresses no section holds, near the top of the 32-bit range.
  std::string wild = good;
  putU32(wild, LibraryFile::kSectionFileOffset + 32, 0xFFFFFFFE);
  EXPECT_TRUE(pluginExportNames(wild).empty());
  putU32(wild, 0x58 + 96, 0xFFFFFFF0);
  EXPECT_TRUE(pluginExportNames(wild).empty());

  // A short section laid over the slot table: the tables are read as the checks saw them.
  LibraryFile overlapping = typicalPlugin();
  overlapping.shadowAt = 40 + 4 * 5 + 4 * 5 + 2;  // the second entry of the slot table
  EXPECT_EQ(pluginExportNames(overlapping.bytes()), (Names{"Gamma", "Alpha", "Last"}));

  LibraryFile longName = typicalPlugin();
  longName.names.back().first = std::string(4096, 'x');
  EXPECT_EQ(pluginExportNames(longName.bytes()), (Names{"Gamma", "Alpha"}));
  longName.names.back().first.pop_back();
  EXPECT_EQ(pluginExportNames(longName.bytes()).back().size(), 4095u);
}

}  // namespace
}  // namespace averlune
