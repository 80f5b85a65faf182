#include "config/language_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "base/temp_folder_test_support.h"
#include "config/fixed_texts.h"

namespace averlune {
namespace {

LanguageTexts textsOf(const std::string& bytes, const std::u16string& appName) {
  KeyValueFile file;
  openBytes(file, bytes);
  return readLanguageTexts(file, appName);
}

// Each text comes from the key of its own name in the group of its own name: the file gives every
// key a value that names its group and key, and lists the groups in the opposite order.
TEST(LanguageTexts, EachTextReadsTheKeyOfItsNameInItsGroup) {
  struct Key {
    const char* group;
    const char* key;
    std::u16string (*text)(const LanguageTexts&);
  };
#define KEY(group, key) {#group, #key, [](const LanguageTexts& t) { return t.group.key; }}
  const Key keys[] = {
      KEY(Main, Title),
      KEY(Gadgets, NextBtn), KEY(Gadgets, CancelBtn), KEY(Gadgets, BackBtn), KEY(Gadgets, FinishBtn),
      KEY(Gadgets, BrowseBtn), KEY(Gadgets, AcceptOptn), KEY(Gadgets, DoNotAcceptOptn),
      KEY(Gadgets, CreateDesktopIconCbx), KEY(Gadgets, CreateStartMenuFolderCbx), KEY(Gadgets, LaunchProgramCbx),
      KEY(Gadgets, RebootCbx), KEY(Gadgets, DestinationFolderFR3), KEY(Gadgets, SelAppFolder),
      KEY(Gadgets, SelStartMenuFolder),
      KEY(Messages, ExitSetupH), KEY(Messages, ExitSetup), KEY(Messages, CouldNotExtractFileH),
      KEY(Messages, CouldNotExtractFile), KEY(Messages, RefusedFolder),
      KEY(Start, Title), KEY(Start, Text),
      KEY(LicenceAgreement, HeadT), KEY(LicenceAgreement, HeadB), KEY(LicenceAgreement, Text1),
      KEY(ApplicationFolder, HeadT), KEY(ApplicationFolder, HeadB), KEY(ApplicationFolder, Text1),
      KEY(ApplicationFolder, Text2), KEY(ApplicationFolder, Text3), KEY(ApplicationFolder, Text4),
      KEY(StartMenuFolder, HeadT), KEY(StartMenuFolder, HeadB), KEY(StartMenuFolder, Text1),
      KEY(StartMenuFolder, Text2),
      KEY(AdditionalTasks, HeadT), KEY(AdditionalTasks, HeadB), KEY(AdditionalTasks, Text1),
      KEY(AdditionalTasks, Text2),
      KEY(Installing, HeadT), KEY(Installing, HeadB), KEY(Installing, Text1), KEY(Installing, Text2),
      KEY(Installing, Text3),
      KEY(Finish, Title), KEY(Finish, Text1),
  };
#undef KEY
  static_assert(sizeof(LanguageTexts) == sizeof(keys) / sizeof(keys[0]) * sizeof(std::u16string), "one row per key");
  std::string file;
  for (std::size_t at = std::size(keys); at-- > 0;) {
    if (at + 1 == std::size(keys) || std::string(keys[at].group) != keys[at + 1].group) {
      file += std::string("[") + keys[at].group + "]\r\n";
    }
    file += std::string(keys[at].key) + " = " + keys[at].group + "." + keys[at].key + "\r\n";
  }
  const LanguageTexts t = textsOf(file, u"Tool");
  for (const Key& k : keys) {
    const std::string expected = std::string(k.group) + "." + k.key;
    EXPECT_EQ(k.text(t), std::u16string(expected.begin(), expected.end())) << expected;
  }
}

TEST(LanguageTexts, LoadTimeReplacementIsExactAndOnlyOfAppName) {
  struct Row {
    const char* name;
    std::string file;
    std::u16string appName;
    std::u16string mainTitle;
    std::u16string startText;
  };
  const Row rows[] = {
      {"every occurrence", "[Main]\nTitle=<appname>/<appname>\n[Start]\nText=<appname><appname>\n", u"A",
       u"A/A", u"AA"},
      {"case must match", "[Main]\nTitle=<AppName> <APPNAME>\n[Start]\nText=<appname>\n", u"A",
       u"<AppName> <APPNAME>", u"A"},
      {"version stays in the window title", "[Main]\nTitle=<appname> <appversion>\n", u"A", u"A <appversion>",
       u""},
      {"inserted text is not searched again", "[Main]\nTitle=<appname>\n", u"x<appname>y", u"x<appname>y", u""},
      {"empty name", "[Main]\nTitle=<appname> Setup\n", u"", u" Setup", u""},
      {"lower-case group names are found", "[main]\nTitle=<appname>\n[START]\nText=t\n", u"A", u"A", u"t"},
  };
  for (const Row& row : rows) {
    const LanguageTexts t = textsOf(row.file, row.appName);
    EXPECT_EQ(t.Main.Title, row.mainTitle) << row.name;
    EXPECT_EQ(t.Start.Text, row.startText) << row.name;
  }
}

TEST(LanguageTexts, MissingGroupGivesEmptyTextsAndDoesNotShiftOthers) {
  const LanguageTexts t = textsOf("[Main]\nTitle=T\n[Messages]\nExitSetup=Q\n", u"A");
  EXPECT_EQ(t.Gadgets.NextBtn, u"");
  EXPECT_EQ(t.Gadgets.CancelBtn, u"");
  EXPECT_EQ(t.Gadgets.BackBtn, u"");
  // A missing group must not leave the previous group selected.
  EXPECT_EQ(t.Main.Title, u"T");
  EXPECT_EQ(t.Messages.ExitSetup, u"Q");
  EXPECT_EQ(t.Finish.Title, u"");
}

TEST(LanguageTexts, TheRefusedFolderTextIsTheFilesOwnOrElseTheBuiltInEnglish) {
  EXPECT_EQ(textsOf("[Messages]\nRefusedFolder=Nicht in diesen Ordner.\n", u"A").Messages.RefusedFolder,
            u"Nicht in diesen Ordner.");
  EXPECT_EQ(textsOf("[Messages]\nExitSetup=Q\n", u"A").Messages.RefusedFolder, kRefusedAppFolderText);
  EXPECT_EQ(textsOf("", u"A").Messages.RefusedFolder, kRefusedAppFolderText);
  // A key set empty is the author's choice, as for every other text.
  EXPECT_EQ(textsOf("[Messages]\nRefusedFolder=\n", u"A").Messages.RefusedFolder, u"");
}

TEST(LanguageTexts, LoadRemembersThePathAndAFailureChangesNothing) {
  TempFolder folder;
  const std::u16string path = folder.write(u"Default.avl", "\xEF\xBB\xBF[Gadgets]\nNextBtn=Weiter \xC3\xBC\n");
  LanguageTexts texts;
  std::u16string languageFile = u"before";
  ASSERT_TRUE(loadLanguageTexts(path, u"A", texts, languageFile));
  EXPECT_EQ(texts.Gadgets.NextBtn, u"Weiter \u00FC");
  EXPECT_EQ(languageFile, path);

  EXPECT_FALSE(loadLanguageTexts(folder.folder() + u"Missing.avl", u"A", texts, languageFile));
  EXPECT_EQ(texts.Gadgets.NextBtn, u"Weiter \u00FC");
  EXPECT_EQ(languageFile, path);
}

}  // namespace
}  // namespace averlune
