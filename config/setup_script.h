#pragma once
// The setup script SC.dat: one group "Setup" of keys that configure the whole run, read once at
// start-up into SetupOptions. Members are named exactly as the script spells the keys.
//
// The members start empty or 0 (Languages included) and keep those values when SC.dat cannot be
// opened; when it can, every key takes the script's value or, when missing, its default (which is
// 0 or empty for every key but Languages, whose default is 1).
#include <cstdint>
#include <string>
#include <string_view>

#include "config/key_value_file.h"
#include "base/system_lookup.h"

namespace averlune {

struct SetupOptions {
  std::u16string Appname;
  std::u16string Version;
  std::int32_t Licence = 0;
  std::int32_t ChangeApplicationFolder = 0;
  std::int32_t ChangeStartMenuFolder = 0;
  std::int32_t Desktopicon = 0;
  std::int32_t Allow_Desktopicons = 0;
  std::int32_t Allow_StartMenuFolder = 0;
  std::int32_t label = 0;
  std::u16string InstallDir;
  std::int32_t StartMenuFolder = 0;
  std::int32_t Registry = 0;
  std::int32_t Addition = 0;
  std::u16string ProgramRun;
  std::int32_t Languages = 0;
  std::u16string ShortcutFolder;
  std::u16string Dll;
  std::int32_t Uninstaller = 0;
  std::u16string UninstallerFilename;
  std::int32_t Uninstaller_VW = 0;
  std::u16string Website;
  std::int32_t SplashScreen = 0;
  std::u16string SPS_Time;
  std::u16string Company;
  std::u16string TotalSize;
  std::u16string Website1;
  std::int32_t SFA = 0;
  std::int32_t DFA = 0;

  // Derived from SFA and DFA when the script was read. Folders end in "\" or are empty when the
  // system cannot give them; startMenuBaseNumber is the CSIDL of startMenuBase (0 until derived).
  std::u16string startMenuBase;
  std::int32_t startMenuBaseNumber = 0;
  std::u16string desktopBase;
};

// Reads workFolder + "SC.dat" (workFolder ends in "\") into `options`. When the file cannot be
// opened nothing changes at all; that is no error.
void readSetupScript(SetupOptions& options, const std::u16string& workFolder, const SystemLookup& system);

// Reads the group "Setup" of an open script into `options` and derives the folder options. A
// script without that group gives every key its default. The file stays open.
void readSetupOptions(SetupOptions& options, KeyValueFile& script, const SystemLookup& system);

// A shortcut kind that the script switches off can never be switched on by the user: Desktopicon 0
// clears Allow_Desktopicons and StartMenuFolder 0 clears Allow_StartMenuFolder. Applied once at
// start-up, before the wizard is built.
void applyCheckBoxRules(SetupOptions& options);

// How the two shortcut boxes start, for the additional tasks page and for a silent run, which
// takes them as they start. A disabled box keeps its state: the user sees what will happen but
// cannot change it.
struct CheckBoxStart {
  bool checked = false;
  bool enabled = false;
};
CheckBoxStart desktopIconCheckBoxStart(const SetupOptions& options);
CheckBoxStart startMenuCheckBoxStart(const SetupOptions& options);

// SPS_Time as a number of whole seconds: leading spaces and tabs skipped, an optional "-" or "+",
// then digits up to the first other character, decimal unless "$" (hexadecimal) or "%" (binary)
// stands before them. No digit gives 0 ("2.5" gives 2); values beyond 32 bits saturate.
std::int32_t splashSeconds(std::u16string_view spsTime);

}  // namespace averlune
