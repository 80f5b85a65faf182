#pragma once
// The programs' own fixed texts, shown where no language file speaks (start-up failures, the
// application folder that cannot be made, an uninstall log or language copy the uninstaller cannot
// use); users and support staff know them by these words. kRefusedAppFolderText is the English
// default of the language files' RefusedFolder, for files that lack it.

namespace averlune {

inline constexpr const char16_t* kErrorTitle = u"Error";
inline constexpr const char16_t* kSetupErrorText = u"Setup Error!";
inline constexpr const char16_t* kCabinetErrorText = u"Setup Error! -f";
inline constexpr const char16_t* kUnsupportedOsText = u"Your operating system is not supported.";
inline constexpr const char16_t* kUninstallErrorText = u"Uninstall error!";
inline constexpr const char16_t* kAlreadyRunningTitle = u"Averlune";
inline constexpr const char16_t* kAlreadyRunningText =
    u"There is already an Averlune setup running! Please close the running setup in order to continue.";
inline constexpr const char16_t* kRefusedAppFolderText =
    u"Setup cannot install into this folder: it is a drive root, a folder of Windows or a user's profile "
    u"folder, and the uninstaller could never remove the application from it. Please choose a folder of "
    u"its own, such as one inside Program Files.";

}  // namespace averlune
