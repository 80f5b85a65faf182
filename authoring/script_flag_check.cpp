#include "authoring/script_flag_check.h"

namespace averlune {
namespace {

struct Flag {
  const char* key;
  std::int32_t SetupOptions::*member;
  const char* outcome;
};

// What the setup program does with a value other than 0 and 1, option by option.
constexpr Flag kFlags[] = {
    {"Licence", &SetupOptions::Licence, "the licence page is shown, but Next goes on without the user accepting"},
    {"ChangeApplicationFolder", &SetupOptions::ChangeApplicationFolder, "the application folder page is shown, as with 1"},
    {"ChangeStartMenuFolder", &SetupOptions::ChangeStartMenuFolder, "the start menu folder page is shown, as with 1"},
    {"Desktopicon", &SetupOptions::Desktopicon,
     "the desktop check box starts ticked, but no desktop shortcut is made even when it is ticked"},
    {"Allow_Desktopicons", &SetupOptions::Allow_Desktopicons, "the user may change the desktop check box, as with 1"},
    {"Allow_StartMenuFolder", &SetupOptions::Allow_StartMenuFolder,
     "the user may change the start menu check box, as with 1"},
    {"label", &SetupOptions::label, "no separating line is drawn, as with 0"},
    {"StartMenuFolder", &SetupOptions::StartMenuFolder,
     "the start menu check box starts ticked, but no start menu shortcut is made even when it is ticked"},
    {"Registry", &SetupOptions::Registry, "the values of Registry.dat are not written, as with 0"},
    {"Uninstaller", &SetupOptions::Uninstaller,
     "no uninstaller, uninstall log or uninstall entry is written, as with 0"},
    {"Uninstaller_VW", &SetupOptions::Uninstaller_VW, "Website is not handed to the uninstaller, as with 0"},
    {"SplashScreen", &SetupOptions::SplashScreen, "no splash screen is shown, as with 0"},
    {"SFA", &SetupOptions::SFA, "start menu shortcuts go to the current user's start menu, as with 0"},
    {"DFA", &SetupOptions::DFA, "desktop shortcuts go to the current user's desktop, as with 0"},
};

}  // namespace

std::vector<FlagProblem> flagProblems(const SetupOptions& options) {
  std::vector<FlagProblem> problems;
  for (const Flag& flag : kFlags) {
    const std::int32_t value = options.*flag.member;
    if (value != 0 && value != 1) problems.push_back({flag.key, value, flag.outcome});
  }
  return problems;
}

}  // namespace averlune
