#include "config/setup_script.h"

#include <limits>

#include "base/special_folder.h"

namespace averlune {
namespace {

// Shell folder numbers (CSIDL) of the shortcut bases; startMenuBaseNumber hands the programs
// folder's number on to the start menu folder page's folder browser.
constexpr int kDesktop = 0x00;
constexpr int kPrograms = 0x02;
constexpr int kCommonPrograms = 0x17;
constexpr int kCommonDesktopDirectory = 0x19;

// One key of the script: exactly one of `text` and `number` is set.
struct ScriptKey {
  const char16_t* key;
  std::u16string SetupOptions::*text;
  std::int32_t SetupOptions::*number;
  std::int32_t defaultNumber;
};

// In the order in which the keys are read.
constexpr ScriptKey kScriptKeys[] = {
    {u"Appname", &SetupOptions::Appname, nullptr, 0},
    {u"Version", &SetupOptions::Version, nullptr, 0},
    {u"Licence", nullptr, &SetupOptions::Licence, 0},
    {u"ChangeApplicationFolder", nullptr, &SetupOptions::ChangeApplicationFolder, 0},
    {u"ChangeStartMenuFolder", nullptr, &SetupOptions::ChangeStartMenuFolder, 0},
    {u"Desktopicon", nullptr, &SetupOptions::Desktopicon, 0},
    {u"Allow_Desktopicons", nullptr, &SetupOptions::Allow_Desktopicons, 0},
    {u"Allow_StartMenuFolder", nullptr, &SetupOptions::Allow_StartMenuFolder, 0},
    {u"label", nullptr, &SetupOptions::label, 0},
    {u"InstallDir", &SetupOptions::InstallDir, nullptr, 0},
    {u"StartMenuFolder", nullptr, &SetupOptions::StartMenuFolder, 0},
    {u"Registry", nullptr, &SetupOptions::Registry, 0},
    {u"Addition", nullptr, &SetupOptions::Addition, 0},
    {u"ProgramRun", &SetupOptions::ProgramRun, nullptr, 0},
    {u"Languages", nullptr, &SetupOptions::Languages, 1},
    {u"ShortcutFolder", &SetupOptions::ShortcutFolder, nullptr, 0},
    {u"Dll", &SetupOptions::Dll, nullptr, 0},
    {u"Uninstaller", nullptr, &SetupOptions::Uninstaller, 0},
    {u"UninstallerFilename", &SetupOptions::UninstallerFilename, nullptr, 0},
    {u"Uninstaller_VW", nullptr, &SetupOptions::Uninstaller_VW, 0},
    {u"Website", &SetupOptions::Website, nullptr, 0},
    {u"SplashScreen", nullptr, &SetupOptions::SplashScreen, 0},
    {u"SPS_Time", &SetupOptions::SPS_Time, nullptr, 0},
    {u"Company", &SetupOptions::Company, nullptr, 0},
    {u"TotalSize", &SetupOptions::TotalSize, nullptr, 0},
    {u"Website1", &SetupOptions::Website1, nullptr, 0},
    {u"SFA", nullptr, &SetupOptions::SFA, 0},
    {u"DFA", nullptr, &SetupOptions::DFA, 0},
};

}  // namespace

void readSetupOptions(SetupOptions& options, KeyValueFile& script, const SystemLookup& system) {
  // A script without the group leaves the reader in its failed state, so every key gets its
  // default below, Languages 1 included.
  selectGroup(script, u"Setup");
  for (const ScriptKey& key : kScriptKeys) {
    if (key.text) {
      options.*key.text = readString(script, key.key, u"");
    } else {
      options.*key.number = readInteger(script, key.key, key.defaultNumber);
    }
  }

  if (options.SFA == 1) {
    options.startMenuBase = specialFolder(system, kCommonPrograms, true);
    options.startMenuBaseNumber = kCommonPrograms;
  } else {
    options.startMenuBase = specialFolder(system, kPrograms, true);
    options.startMenuBaseNumber = kPrograms;
  }
  options.desktopBase = specialFolder(system, options.DFA == 1 ? kCommonDesktopDirectory : kDesktop, true);
}

void readSetupScript(SetupOptions& options, const std::u16string& workFolder, const SystemLookup& system) {
  KeyValueFile script;
  if (!open(script, workFolder + u"SC.dat")) return;
  readSetupOptions(options, script, system);
  close(script);
}

void applyCheckBoxRules(SetupOptions& options) {
  if (options.Desktopicon == 0) options.Allow_Desktopicons = 0;
  if (options.StartMenuFolder == 0) options.Allow_StartMenuFolder = 0;
}

std::int32_t splashSeconds(std::u16string_view spsTime) {
  std::size_t at = 0;
  while (at < spsTime.size() && (spsTime[at] == u' ' || spsTime[at] == u'\t')) ++at;
  bool negative = false;
  if (at < spsTime.size() && (spsTime[at] == u'-' || spsTime[at] == u'+')) {
    negative = spsTime[at] == u'-';
    ++at;
  }
  int base = 10;
  if (at < spsTime.size() && (spsTime[at] == u'$' || spsTime[at] == u'%')) {
    base = spsTime[at] == u'$' ? 16 : 2;
    ++at;
  }
  const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                      : std::numeric_limits<std::int32_t>::max();
  std::int64_t magnitude = 0;
  for (; at < spsTime.size(); ++at) {
    const char16_t c = spsTime[at];
    int digit = -1;
    if (c >= u'0' && c <= u'9') digit = c - u'0';
    else if (c >= u'a' && c <= u'f') digit = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F') digit = c - u'A' + 10;
    if (digit < 0 || digit >= base) break;
    magnitude = magnitude * base + digit;
    if (magnitude > limit) magnitude = limit;
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

CheckBoxStart desktopIconCheckBoxStart(const SetupOptions& o) {
  return {o.Desktopicon != 0, o.Desktopicon != 0 && o.Allow_Desktopicons != 0};
}

CheckBoxStart startMenuCheckBoxStart(const SetupOptions& o) {
  return {o.StartMenuFolder != 0, o.StartMenuFolder != 0 && o.Allow_StartMenuFolder != 0};
}

}  // namespace averlune
