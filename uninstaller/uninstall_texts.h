#pragma once
// The uninstaller's texts: section "Uninstall" of its language copy, uninstall_l.avl, which the
// setup copied from the language file it ran with. A missing section or key gives the empty text
// (an empty caption or message), except Incomplete, ItemsLeft and PassedOver, which older language
// files do not have.
#include <string>

#include "config/key_value_file.h"

namespace averlune {

struct UninstallTexts {
  std::u16string BM_T;             // title of the confirmation question
  std::u16string BM;               // the question; "<appname>" replaced
  std::u16string Header;           // title in the window's header band
  std::u16string Header_b;         // subtitle in the header band; "<appname>" replaced
  std::u16string Uninstalling;     // status text, shown with a space and the application name
  std::u16string Btn_cancel;       // caption of the Cancel button
  std::u16string ExitUninstall_T;  // title of the exit question
  std::u16string ExitUninstall;    // the exit question
  std::u16string Success_T;        // title of the closing message
  std::u16string Success;          // the closing message when nothing is left; "<appname>" replaced
  // The closing message's first line when something is left; "<appname>" replaced.
  std::u16string Incomplete;
  // The line above the items that could not be removed; "<count>" stands for their number.
  std::u16string ItemsLeft;
  // The line that counts the log's records passed over; "<count>" stands for their number.
  std::u16string PassedOver;
};

// The built-in texts, for language files without those keys.
constexpr char16_t kDefaultIncomplete[] = u"<appname> could not be removed completely from your computer.";
constexpr char16_t kDefaultItemsLeft[] = u"These items could not be removed (<count>):";
constexpr char16_t kDefaultPassedOver[] =
    u"Records of the uninstall log that the uninstaller may not carry out were passed over (<count>).";

// Reads the section from an open file (its selected group changes) and replaces "<appname>",
// matched exactly, by `appName` in BM, Header_b, Success and Incomplete.
UninstallTexts readUninstallTexts(KeyValueFile& file, const std::u16string& appName);

}  // namespace averlune
