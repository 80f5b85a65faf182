#include "config/language_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "base/temp_folder_test_support.h"
#include "config/fixed_texts.h"

namespace averlune {
namespace {

// The default English file as shipped, "<appname>" and "<appversion>" still in it.
const char kDefaultEnglish[] =
    "//English language file\r\n// Averlune\r\n"
    "[Main]\r\nTitle = <appname> Setup\r\n"
    "[Gadgets]\r\nNextBtn = Next >\r\nCancelBtn = Cancel\r\nBackBtn = < Back\r\nFinishBtn = Finish\r\n"
    "BrowseBtn = Browse...\r\nAcceptOptn = I accept the agreement\r\n"
    "DoNotAcceptOptn = I do not accept the agreement\r\nCreateDesktopIconCbx = Create desktop icon\r\n"
    "CreateStartMenuFolderCbx = Create start menu folder\r\nLaunchProgramCbx = Launch\r\n"
    "RebootCbx = Reboot computer now\r\nDestinationFolderFR3 = Destination Folder\r\n"
    "SelAppFolder = Select Application Folder:\r\nSelStartMenuFolder = Select Start Menu Folder:\r\n"
    "[Messages]\r\nExitSetupH = Exit Setup\r\nExitSetup = Do you want to abort the installation?\r\n"
    "CouldNotExtractFileH = Error\r\nCouldNotExtractFile = Could not extract file!\r\n"
    "[Start]\r\nTitle = Welcome to the <appname> Setup Wizard\r\n"
    "Text = This will install <appname> <appversion> on your computer. It is recommended that you close all "
    "other applications before continuing. Click Next to continue.\r\n"
    "[LicenceAgreement]\r\nHeadT = License Agreement\r\n"
    "HeadB = Read the following important information before continuing.\r\n"
    "Text1 = Please read the following License Agreement. you must accept the terms of this agreement before "
    "continuing with the installation.\r\n"
    "[ApplicationFolder]\r\nHeadT = Select Application Folder\r\n"
    "HeadB = Please choose the directory for the installation.\r\n"
    "Text1 = Setup will install <appname> in the folder shown below.\r\n"
    "Text2 = To continue, click Next. If you would like to select a different folder, click Browse.\r\n"
    "Text3 = Required free space:\r\nText4 = Available free space:\r\n"
    "[StartMenuFolder]\r\nHeadT = Select Start Menu Folder\r\n"
    "HeadB = Where should Setup place the program's shortcuts?\r\n"
    "Text1 = Setup will create the program's shortcuts in the following Start Menu Folder.\r\n"
    "Text2 = To continue, click Next. If you would like to select a different folder, click Browse.\r\n"
    "[AdditionalTasks]\r\nHeadT = Select Additional Tasks\r\nHeadB = Which additional tasks should be performed?\r\n"
    "Text1 = Select the additional tasks you would like setup to perform while installing <appname>, then "
    "click Next.\r\nText2 = Additional icons:\r\n"
    "[Installing]\r\nHeadT = Installing\r\nHeadB = Please wait while Setup installs <appname> on your computer.\r\n"
    "Text1 = Preparing to install..\r\nText2 = Installing..\r\nText3 = Configuring..\r\n"
    "[Finish]\r\nTitle = Completing the <appname> Setup Wizard\r\n"
    "Text1 = Setup has finished installing <appname> on your computer. Click Finish to exit Setup.\r\n"
    "[Uninstall]\r\nTitle = Uninstall <appname>\r\n";

LanguageTexts textsOf(const std::string& bytes, const std::u16string& appName) {
  KeyValueFile file;
  openBytes(file, bytes);
  return readLanguageTexts(file, appName);
}

TEST(LanguageTexts, ReadsEveryKeyOfTheDefaultFile) {
  const LanguageTexts t = textsOf(kDefaultEnglish, u"Tool");
  const std::pair<const std::u16string*, std::u16string> rows[] = {
      {&t.Main.Title, u"Tool Setup"},
      {&t.Gadgets.NextBtn, u"Next >"},
      {&t.Gadgets.CancelBtn, u"Cancel"},
      {&t.Gadgets.BackBtn, u"< Back"},
      {&t.Gadgets.FinishBtn, u"Finish"},
      {&t.Gadgets.BrowseBtn, u"Browse..."},
      {&t.Gadgets.AcceptOptn, u"I accept the agreement"},
      {&t.Gadgets.DoNotAcceptOptn, u"I do not accept the agreement"},
      {&t.Gadgets.CreateDesktopIconCbx, u"Create desktop icon"},
      {&t.Gadgets.CreateStartMenuFolderCbx, u"Create start menu folder"},
      {&t.Gadgets.LaunchProgramCbx, u"Launch"},
      {&t.Gadgets.RebootCbx, u"Reboot computer now"},
      {&t.Gadgets.DestinationFolderFR3, u"Destination Folder"},
      {&t.Gadgets.SelAppFolder, u"Select Application Folder:"},
      {&t.Gadgets.SelStartMenuFolder, u"Select Start Menu Folder:"},
      {&t.Messages.ExitSetupH, u"Exit Setup"},
      {&t.Messages.ExitSetup, u"Do you want to abort the installation?"},
      {&t.Messages.CouldNotExtractFileH, u"Error"},
      {&t.Messages.CouldNotExtractFile, u"Could not extract file!"},
      {&t.Messages.RefusedFolder, kRefusedAppFolderText},  // a file older than the key
      {&t.Start.Title, u"Welcome to the Tool Setup Wizard"},
      {&t.Start.Text,
       u"This will install Tool <appversion> on your computer. It is recommended that you close all other "
       u"applications before continuing. Click Next to continue."},
      {&t.LicenceAgreement.HeadT, u"License Agreement"},
      {&t.LicenceAgreement.HeadB, u"Read the following important information before continuing."},
      {&t.LicenceAgreement.Text1,
       u"Please read the following License Agreement. you must accept the terms of this agreement before "
       u"continuing with the installation."},
      {&t.ApplicationFolder.HeadT, u"Select Application Folder"},
      {&t.ApplicationFolder.HeadB, u"Please choose the directory for the installation."},
      {&t.ApplicationFolder.Text1, u"Setup will install <appname> in the folder shown below."},
      {&t.ApplicationFolder.Text2,
       u"To continue, click Next. If you would like to select a different folder, click Browse."},
      {&t.ApplicationFolder.Text3, u"Required free space:"},
      {&t.ApplicationFolder.Text4, u"Available free space:"},
      {&t.StartMenuFolder.HeadT, u"Select Start Menu Folder"},
      {&t.StartMenuFolder.HeadB, u"Where should Setup place the program's shortcuts?"},
      {&t.StartMenuFolder.Text1, u"Setup will create the program's shortcuts in the following Start Menu Folder."},
      {&t.StartMenuFolder.Text2,
       u"To continue, click Next. If you would like to select a different folder, click Browse."},
      {&t.AdditionalTasks.HeadT, u"Select Additional Tasks"},
      {&t.AdditionalTasks.HeadB, u"Which additional tasks should be performed?"},
      {&t.AdditionalTasks.Text1,
       u"Select the additional tasks you would like setup to perform while installing <appname>, then click "
       u"Next."},
      {&t.AdditionalTasks.Text2, u"Additional icons:"},
      {&t.Installing.HeadT, u"Installing"},
      {&t.Installing.HeadB, u"Please wait while Setup installs <appname> on your computer."},
      {&t.Installing.Text1, u"Preparing to install.."},
      {&t.Installing.Text2, u"Installing.."},
      {&t.Installing.Text3, u"Configuring.."},
      {&t.Finish.Title, u"Completing the <appname> Setup Wizard"},
      {&t.Finish.Text1, u"Setup has finished installing <appname> on your computer. Click Finish to exit Setup."},
  };
  static_assert(sizeof(LanguageTexts) == 46 * sizeof(std::u16string), "one row per key");
  for (const auto& [field, expected] : rows) EXPECT_EQ(*field, expected);
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
