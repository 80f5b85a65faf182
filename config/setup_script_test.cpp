#include "config/setup_script.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/temp_folder_test_support.h"

namespace averlune {
namespace {

// Fixed folders: the all-users and own programs and desktop folders, each without a trailing "\".
std::u16string fixedFolder(int csidl) {
  switch (csidl) {
    case 0x02: return u"C:\\Users\\u\\Start Menu\\Programs";
    case 0x17: return u"C:\\ProgramData\\Start Menu\\Programs";
    case 0x00: return u"C:\\Users\\u\\Desktop";
    case 0x19: return u"C:\\Users\\Public\\Desktop\\";  // already ends in "\": no second one
    default: return u"";
  }
}

SystemLookup fixedSystem() {
  SystemLookup system;
  system.specialFolder = fixedFolder;
  return system;
}

SetupOptions optionsOf(const std::string& script, const SystemLookup& system = fixedSystem()) {
  KeyValueFile file;
  openBytes(file, script);
  SetupOptions options;
  readSetupOptions(options, file, system);
  return options;
}

const char kSampleScript[] =
    "[Setup]\r\n"
    "Appname = Demo App\r\n"
    "Version = 2\r\n"
    "Licence = 0\r\n"
    "ChangeApplicationFolder = 1\r\n"
    "ChangeStartMenuFolder = 1\r\n"
    "Desktopicon = 1\r\n"
    "Allow_Desktopicons = 1\r\n"
    "Allow_StartMenuFolder = 1\r\n"
    "label = 1\r\n"
    "InstallDir = <programfiles>\\<appname>\\\r\n"
    "StartMenuFolder = 1\r\n"
    "Registry = 1\r\n"
    "Addition = 2\r\n"
    "ProgramRun = <installpath>\\\r\n"
    "Languages = 3\r\n"
    "ShortcutFolder = <appname>\\\r\n"
    "Dll = yes\r\n"
    "Uninstaller = 1\r\n"
    "UninstallerFilename = uninstall\r\n"
    "Uninstaller_VW = 1\r\n"
    "Website = http://example.invalid/bye\r\n"
    "SplashScreen = 1\r\n"
    "SPS_Time = 3\r\n"
    "Company = Maker\r\n"
    "TotalSize = 1.7 MB\r\n"
    "Website1 = http://example.invalid/\r\n"
    "SFA = 1\r\n"
    "DFA = 1\r\n";

TEST(ReadSetupOptions, ReadsEveryKeyOfTheScript) {
  const SetupOptions o = optionsOf(kSampleScript);
  EXPECT_EQ(o.Appname, u"Demo App");
  EXPECT_EQ(o.Version, u"2");
  EXPECT_EQ(o.InstallDir, u"<programfiles>\\<appname>\\");
  EXPECT_EQ(o.ProgramRun, u"<installpath>\\");
  EXPECT_EQ(o.ShortcutFolder, u"<appname>\\");
  EXPECT_EQ(o.Dll, u"yes");
  EXPECT_EQ(o.UninstallerFilename, u"uninstall");
  EXPECT_EQ(o.Website, u"http://example.invalid/bye");
  EXPECT_EQ(o.SPS_Time, u"3");
  EXPECT_EQ(o.Company, u"Maker");
  EXPECT_EQ(o.TotalSize, u"1.7 MB");
  EXPECT_EQ(o.Website1, u"http://example.invalid/");
  const std::vector<std::int32_t> numbers = {
      o.Licence,   o.ChangeApplicationFolder, o.ChangeStartMenuFolder, o.Desktopicon, o.Allow_Desktopicons,
      o.Allow_StartMenuFolder, o.label, o.StartMenuFolder, o.Registry,   o.Addition,    o.Languages,
      o.Uninstaller, o.Uninstaller_VW, o.SplashScreen, o.SFA, o.DFA};
  EXPECT_EQ(numbers, (std::vector<std::int32_t>{0, 1, 1, 1, 1, 1, 1, 1, 1, 2, 3, 1, 1, 1, 1, 1}));
  EXPECT_EQ(o.startMenuBase, u"C:\\ProgramData\\Start Menu\\Programs\\");
  EXPECT_EQ(o.startMenuBaseNumber, 23);
  EXPECT_EQ(o.desktopBase, u"C:\\Users\\Public\\Desktop\\");
}

TEST(ReadSetupOptions, MissingKeysTakeTheirDefaults) {
  // The same defaults whether the group is empty or missing altogether; keys of another group
  // are not seen.
  for (const char* script : {"[Setup]\r\n", "[Other]\r\nLanguages = 0\r\nSFA = 1\r\nAppname = X\r\n", ""}) {
    const SetupOptions o = optionsOf(script);
    EXPECT_EQ(o.Appname, u"") << script;
    EXPECT_EQ(o.InstallDir, u"") << script;
    EXPECT_EQ(o.Licence, 0) << script;
    EXPECT_EQ(o.SFA, 0) << script;
    EXPECT_EQ(o.Languages, 1) << script;
    EXPECT_EQ(o.startMenuBase, u"C:\\Users\\u\\Start Menu\\Programs\\") << script;
    EXPECT_EQ(o.startMenuBaseNumber, 2) << script;
    EXPECT_EQ(o.desktopBase, u"C:\\Users\\u\\Desktop\\") << script;
  }
}

TEST(ReadSetupOptions, KeysMatchInAnyCaseAndEmptyNumbersAreZero) {
  const SetupOptions o = optionsOf("[SETUP]\nappname = x\nLANGUAGES =\nspLaShScReEn = 1\nlabel = yes\n");
  EXPECT_EQ(o.Appname, u"x");
  EXPECT_EQ(o.Languages, 0);  // present but empty: the language dialog, not the default 1
  EXPECT_EQ(o.SplashScreen, 1);
  EXPECT_EQ(o.label, 0);
}

TEST(ReadSetupOptions, DerivesTheShortcutBases) {
  const struct {
    const char* flags;
    std::u16string startMenuBase;
    std::int32_t startMenuBaseNumber;
    std::u16string desktopBase;
  } rows[] = {
      {"SFA = 1\nDFA = 1", u"C:\\ProgramData\\Start Menu\\Programs\\", 23, u"C:\\Users\\Public\\Desktop\\"},
      {"SFA = 0\nDFA = 0", u"C:\\Users\\u\\Start Menu\\Programs\\", 2, u"C:\\Users\\u\\Desktop\\"},
      {"SFA = 2\nDFA = -1", u"C:\\Users\\u\\Start Menu\\Programs\\", 2, u"C:\\Users\\u\\Desktop\\"},
  };
  for (const auto& row : rows) {
    const SetupOptions o = optionsOf(std::string("[Setup]\n") + row.flags + "\n");
    EXPECT_EQ(o.startMenuBase, row.startMenuBase) << row.flags;
    EXPECT_EQ(o.startMenuBaseNumber, row.startMenuBaseNumber) << row.flags;
    EXPECT_EQ(o.desktopBase, row.desktopBase) << row.flags;
  }

  // Folders the system cannot give stay empty; the number is still the folder's CSIDL.
  SystemLookup none;
  none.specialFolder = [](int) { return std::u16string(); };
  const SetupOptions o = optionsOf("[Setup]\nSFA = 1\n", none);
  EXPECT_EQ(o.startMenuBase, u"");
  EXPECT_EQ(o.startMenuBaseNumber, 23);
  EXPECT_EQ(o.desktopBase, u"");
}

TEST(ReadSetupScript, ReadsSCDatFromTheWorkFolderAndLeavesOptionsAloneWithoutIt) {
  TempFolder folder;
  SetupOptions untouched;
  readSetupScript(untouched, folder.folder(), fixedSystem());
  EXPECT_EQ(untouched.Languages, 0);  // no script: the starting value, so the language dialog
  EXPECT_EQ(untouched.startMenuBase, u"");
  EXPECT_EQ(untouched.startMenuBaseNumber, 0);
  EXPECT_EQ(untouched.desktopBase, u"");

  folder.write(u"SC.dat", "\xEF\xBB\xBF[Setup]\r\nAppname = Caf\xC3\xA9\r\n");
  SetupOptions read;
  readSetupScript(read, folder.folder(), fixedSystem());
  EXPECT_EQ(read.Appname, u"Caf\u00E9");
  EXPECT_EQ(read.Languages, 1);
  EXPECT_EQ(read.startMenuBaseNumber, 2);
}

// From the script's values to the shortcut boxes as the additional tasks page and a silent run
// take them: a kind the script switches off is an empty box nobody can tick, a kind it allows is
// a tick only the Allow_ option lets the user clear.
TEST(ApplyCheckBoxRules, SwitchedOffShortcutsCannotBeAllowedAndTheBoxesStartAsTheScriptSays) {
  struct Box {
    bool checked, enabled;
  };
  const struct {
    std::int32_t desktopicon, allowDesktop, startMenuFolder, allowStartMenu;
    std::int32_t allowDesktopAfter, allowStartMenuAfter;
    Box desktop, startMenu;
  } rows[] = {
      {0, 1, 0, 1, 0, 0, {false, false}, {false, false}},
      {1, 0, 1, 0, 0, 0, {true, false}, {true, false}},
      {1, 1, 0, 1, 1, 0, {true, true}, {false, false}},
      {0, 1, 1, 1, 0, 1, {false, false}, {true, true}},
      {0, 0, 1, 0, 0, 0, {false, false}, {true, false}},
      {2, 1, 2, 0, 1, 0, {true, true}, {true, false}},  // only 0 switches a kind off
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.desktopicon << row.allowDesktop << row.startMenuFolder
                                    << row.allowStartMenu);
    SetupOptions o;
    o.Desktopicon = row.desktopicon;
    o.Allow_Desktopicons = row.allowDesktop;
    o.StartMenuFolder = row.startMenuFolder;
    o.Allow_StartMenuFolder = row.allowStartMenu;
    applyCheckBoxRules(o);
    EXPECT_EQ(o.Allow_Desktopicons, row.allowDesktopAfter);
    EXPECT_EQ(o.Allow_StartMenuFolder, row.allowStartMenuAfter);
    EXPECT_EQ(o.Desktopicon, row.desktopicon);
    EXPECT_EQ(o.StartMenuFolder, row.startMenuFolder);
    EXPECT_EQ(desktopIconCheckBoxStart(o).checked, row.desktop.checked);
    EXPECT_EQ(desktopIconCheckBoxStart(o).enabled, row.desktop.enabled);
    EXPECT_EQ(startMenuCheckBoxStart(o).checked, row.startMenu.checked);
    EXPECT_EQ(startMenuCheckBoxStart(o).enabled, row.startMenu.enabled);
  }
}

TEST(SplashSeconds, ReadsTheLeadingNumber) {
  const struct {
    std::u16string text;
    std::int32_t seconds;
  } rows[] = {
      {u"3", 3},        {u"2.5", 2},     {u"", 0},          {u"abc", 0},       {u" \t 4s", 4},
      {u"+5", 5},       {u"-1", -1},     {u"$1F", 31},      {u"$1g", 1},       {u"%101", 5},
      {u"%102", 2},     {u"-$10", -16},  {u"0x10", 0},      {u"$", 0},         {u"\u0663", 0},
      {u"99999999999", 2147483647},      {u"-99999999999", -2147483647 - 1},
  };
  for (const auto& row : rows) EXPECT_EQ(splashSeconds(row.text), row.seconds);
}

}  // namespace
}  // namespace averlune
