#pragma once
// The setup's own fixed texts, shown where no language file speaks (start-up failures, the
// application folder that cannot be made); users and support staff know them by these words.

namespace averlune {

inline constexpr const char16_t* kErrorTitle = u"Error";
inline constexpr const char16_t* kSetupErrorText = u"Setup Error!";
inline constexpr const char16_t* kCabinetErrorText = u"Setup Error! -f";
inline constexpr const char16_t* kUnsupportedOsText = u"Your operating system is not supported.";
inline constexpr const char16_t* kAlreadyRunningTitle = u"Averlune";
inline constexpr const char16_t* kAlreadyRunningText =
    u"There is already an Averlune setup running! Please close the running setup in order to continue.";

}  // namespace averlune
