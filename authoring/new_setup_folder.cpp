#include "authoring/new_setup_folder.h"

#include <algorithm>
#include <fstream>
#include <string_view>
#include <system_error>

#include "authoring/path_utf8.h"

namespace averlune {
namespace {

namespace fs = std::filesystem;

// One key of the new setup script: its value and the comment line written above it. The values
// make a one-language setup with an uninstaller and no shortcuts, which installs as it stands.
struct NewScriptKey {
  const char* key;
  const char* value;  // "<name>" stands for the application's name
  const char* comment;
};

constexpr NewScriptKey kNewScript[] = {
    {"Appname", "<name>",
     "the application's name, shown in the wizard's title and texts and in the list of installed programs"},
    {"Version", "1.0",
     "the application's version, shown where a text says <appversion> and in the list of installed programs"},
    {"Licence", "0", "1 shows licence.rtf on a page the user must accept; 0 leaves that page out"},
    {"ChangeApplicationFolder", "1",
     "1 lets the user choose the application folder on a page of its own; 0 installs into InstallDir"},
    {"ChangeStartMenuFolder", "0",
     "1 lets the user choose the start menu folder on a page of its own; 0 uses ShortcutFolder"},
    {"Desktopicon", "0", "1 makes the shortcuts of Desktop.dat (their box starts ticked); 0 makes none"},
    {"Allow_Desktopicons", "0", "1 lets the user tick or untick the desktop box; 0 leaves it as Desktopicon set it"},
    {"Allow_StartMenuFolder", "0",
     "1 lets the user tick or untick the start menu box; 0 leaves it as StartMenuFolder set it"},
    {"label", "1", "1 draws a line across the wizard above its buttons; 0 draws none"},
    {"InstallDir", "<programfiles>\\<appname>\\",
     "the application folder the wizard proposes, with placeholders, ending in a backslash"},
    {"StartMenuFolder", "0", "1 makes the shortcuts of Startmenu.dat (their box starts ticked); 0 makes none"},
    {"Registry", "1", "1 writes the values of Registry.dat; 0 writes none"},
    {"Addition", "0", "what the finish page offers: 0 nothing, 1 a restart of the computer, 2 starting ProgramRun"},
    {"ProgramRun", "<installpath>\\", "what the finish page starts when Addition = 2, with placeholders"},
    {"Languages", "1",
     "1 takes every text from Default.avl; another number asks for one of the languages of languages.dat"},
    {"ShortcutFolder", "<appname>\\",
     "the start menu folder the wizard proposes, below the start menu's programs, with placeholders"},
    {"Dll", "", "any text calls the exported functions of dll.dll at the finish; empty calls nothing"},
    {"Uninstaller", "1", "1 writes the uninstaller and an entry in the list of installed programs; 0 writes neither"},
    {"UninstallerFilename", "uninstall", "the uninstaller's file name in the application folder, without .exe"},
    {"Uninstaller_VW", "0", "1 hands Website to the uninstaller; 0 does not"},
    {"Website", "", "the web address handed to the uninstaller when Uninstaller_VW = 1"},
    {"SplashScreen", "0", "1 shows the picture isps.dat (and plays ssps.dat) before anything else; 0 does not"},
    {"SPS_Time", "3", "how many whole seconds the splash screen stays"},
    {"Company", "", "the publisher, in <company> and in the list of installed programs"},
    {"TotalSize", "", "the space the application needs, as free text shown on the application folder page (say 12 MB)"},
    {"Website1", "",
     "the application's web address, in <website> and as the help link in the list of installed programs"},
    {"SFA", "0", "1 puts start menu shortcuts into the programs folder of all users; 0 into the current user's"},
    {"DFA", "0", "1 puts desktop shortcuts on the desktop of all users; 0 on the current user's"},
};

constexpr std::string_view kOsList =
    "; The Windows versions this setup runs on: 1 accepts a version, 0 or a missing line refuses it.\r\n"
    "Windows 2000 = 1\r\n"
    "Windows XP = 1\r\n"
    "Windows Server 2003 = 1\r\n"
    "Windows Vista = 1\r\n"
    "Windows Server 2008 = 1\r\n"
    "Windows 7 = 1\r\n"
    "Windows 8 = 1\r\n"
    "Windows Server 2012 = 1\r\n";

constexpr std::string_view kLanguageFile =
    "; The setup's English texts. <appname> and <appversion> stand for Appname and Version of SC.dat.\r\n"
    "[Main]\r\n"
    "Title = <appname> Setup\r\n"
    "[Gadgets]\r\n"
    "NextBtn = Next >\r\n"
    "CancelBtn = Cancel\r\n"
    "BackBtn = < Back\r\n"
    "FinishBtn = Finish\r\n"
    "BrowseBtn = Browse...\r\n"
    "AcceptOptn = I accept the agreement\r\n"
    "DoNotAcceptOptn = I do not accept the agreement\r\n"
    "CreateDesktopIconCbx = Create a desktop icon\r\n"
    "CreateStartMenuFolderCbx = Create a start menu folder\r\n"
    "LaunchProgramCbx = Launch\r\n"
    "RebootCbx = Restart the computer now\r\n"
    "DestinationFolderFR3 = Destination Folder\r\n"
    "SelAppFolder = Select Application Folder:\r\n"
    "SelStartMenuFolder = Select Start Menu Folder:\r\n"
    "[Messages]\r\n"
    "ExitSetupH = Exit Setup\r\n"
    "ExitSetup = Do you want to abort the installation?\r\n"
    "CouldNotExtractFileH = Error\r\n"
    "CouldNotExtractFile = Could not extract file!\r\n"
    "RefusedFolder = Setup cannot install into this folder: it is a drive root, a folder of Windows or a user's "
    "profile folder, and the uninstaller could never remove the application from it. Please choose a folder of "
    "its own, such as one inside Program Files.\r\n"
    "[Start]\r\n"
    "Title = Welcome to the <appname> Setup Wizard\r\n"
    "Text = This will install <appname> <appversion> on your computer. Close all other applications before "
    "you continue, then click Next.\r\n"
    "[LicenceAgreement]\r\n"
    "HeadT = Licence Agreement\r\n"
    "HeadB = Read the following important information before continuing.\r\n"
    "Text1 = Please read the following licence agreement. You must accept its terms before the installation "
    "can continue.\r\n"
    "[ApplicationFolder]\r\n"
    "HeadT = Select Application Folder\r\n"
    "HeadB = Please choose the folder to install into.\r\n"
    "Text1 = Setup will install <appname> in the folder shown below.\r\n"
    "Text2 = To continue, click Next. To choose a different folder, click Browse.\r\n"
    "Text3 = Required free space:\r\n"
    "Text4 = Available free space:\r\n"
    "[StartMenuFolder]\r\n"
    "HeadT = Select Start Menu Folder\r\n"
    "HeadB = Where should Setup place the program's shortcuts?\r\n"
    "Text1 = Setup will create the program's shortcuts in the following start menu folder.\r\n"
    "Text2 = To continue, click Next. To choose a different folder, click Browse.\r\n"
    "[AdditionalTasks]\r\n"
    "HeadT = Select Additional Tasks\r\n"
    "HeadB = Which additional tasks should be performed?\r\n"
    "Text1 = Select the additional tasks Setup should perform while installing <appname>, then click Next.\r\n"
    "Text2 = Additional icons:\r\n"
    "[Installing]\r\n"
    "HeadT = Installing\r\n"
    "HeadB = Please wait while Setup installs <appname> on your computer.\r\n"
    "Text1 = Preparing to install..\r\n"
    "Text2 = Installing..\r\n"
    "Text3 = Configuring..\r\n"
    "[Finish]\r\n"
    "Title = Completing the <appname> Setup Wizard\r\n"
    "Text1 = Setup has finished installing <appname> on your computer. Click Finish to exit Setup.\r\n"
    "[Uninstall]\r\n"
    "BM_T = Uninstall\r\n"
    "BM = Do you want to remove <appname> from your computer?\r\n"
    "Header = Uninstall Status\r\n"
    "Header_b = Please wait while <appname> is removed from your computer.\r\n"
    "Uninstalling = Uninstalling\r\n"
    "Btn_cancel = Cancel\r\n"
    "ExitUninstall_T = Uninstall\r\n"
    "ExitUninstall = Do you want to exit uninstall?\r\n"
    "Success_T = Uninstall\r\n"
    "Success = <appname> was successfully removed from your computer!\r\n"
    "Incomplete = <appname> could not be removed completely from your computer.\r\n"
    "ItemsLeft = These items could not be removed (<count>):\r\n"
    "PassedOver = Records of the uninstall log that the uninstaller may not carry out were passed over (<count>).\r\n";

constexpr std::string_view kReadme =
    "This folder is the configuration of a setup made by averlune-build --new.\r\n"
    "\r\n"
    "Check it:  averlune-build --check <this folder> <application folder>\r\n"
    "Build it:  averlune-build --setup AverluneSetup.exe --config <this folder> --app <application folder>\r\n"
    "                          --output Setup.exe\r\n"
    "\r\n"
    "SC.dat       the setup script; every key is there with a comment above it\r\n"
    "OS.dat       the Windows versions the setup runs on\r\n"
    "Default.avl  every text of the wizard and the uninstaller\r\n"
    "Startmenu.dat, Desktop.dat  shortcuts: three lines each, the target (say <installpath>\\Tool.exe),\r\n"
    "             the shortcut's name and its arguments (an empty line for none). These files take no\r\n"
    "             comments: every line is part of a shortcut. Set StartMenuFolder = 1 or Desktopicon = 1\r\n"
    "             in SC.dat to have them made.\r\n"
    "Registry.dat registry values: four lines each (root, key, value name, data) and then four bytes,\r\n"
    "             01 00 00 00 to remove the value at uninstall or 00 00 00 00 to keep it. No comments.\r\n"
    "\r\n"
    "Every file of this folder goes into the setup, this one included. The author's manual,\r\n"
    "docs/authoring.md, describes each file and key.\r\n";

std::string newScript(const std::string& appName) {
  // Without a byte-order mark the setup reads the script as ISO-8859-1, so a name beyond ASCII
  // needs the UTF-8 mark to be read as it was written.
  const bool ascii =
      std::all_of(appName.begin(), appName.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  std::string text = ascii ? "" : "\xEF\xBB\xBF";
  text += "; The setup script of " + appName + ". A key left out takes 0, or the empty text (Languages: 1).\r\n";
  text += "[Setup]\r\n";
  for (const NewScriptKey& key : kNewScript) {
    const std::string value = std::string_view(key.value) == "<name>" ? appName : key.value;
    text += std::string("; ") + key.key + ": " + key.comment + "\r\n";
    text += std::string(key.key) + " = " + value + "\r\n";
  }
  return text;
}

}  // namespace

std::string writeNewSetupFolder(const fs::path& folder, const std::string& appName) {
  if (appName.empty() || appName.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
    return "the application name must be one line of text";
  }
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) return "cannot create the folder " + utf8Text(folder) + ": " + error.message();
  if (!fs::is_empty(folder, error) || error) {
    return "the folder " + utf8Text(folder) + " is not empty; give a new folder, so that no file of yours is replaced";
  }
  const struct {
    const char* name;
    std::string bytes;
  } files[] = {
      {"SC.dat", newScript(appName)}, {"OS.dat", std::string(kOsList)}, {"Default.avl", std::string(kLanguageFile)},
      {"Registry.dat", ""},           {"Desktop.dat", ""},              {"Startmenu.dat", ""},
      {"README.txt", std::string(kReadme)},
  };
  for (const auto& file : files) {
    std::ofstream out(folder / file.name, std::ios::binary);
    out << file.bytes;
    out.close();
    if (!out) return "cannot write " + utf8Text(folder / file.name);
  }
  return {};
}

}  // namespace averlune
