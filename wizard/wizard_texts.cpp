#include "wizard/wizard_texts.h"

#include "base/path_text.h"
#include "config/setup_script.h"

namespace averlune {
namespace {

constexpr std::u16string_view kAppName = u"<appname>";
constexpr std::u16string_view kAppVersion = u"<appversion>";

std::u16string withAppName(const std::u16string& text, const SetupOptions& o) {
  return replaceEvery(text, kAppName, o.Appname);
}

// "<appname>" first: a name that itself holds "<appversion>" gets the version too.
std::u16string withNameAndVersion(const std::u16string& text, const SetupOptions& o) {
  return replaceEvery(withAppName(text, o), kAppVersion, o.Version);
}

std::u16string finishCheckBoxText(const LanguageTexts& t, const SetupOptions& o) {
  if (o.Addition == 1) return t.Gadgets.RebootCbx;
  if (o.Addition == 2) return t.Gadgets.LaunchProgramCbx + u" " + o.Appname;
  return u"";
}

}  // namespace

std::u16string availableSpaceText(const LanguageTexts& texts, const std::u16string& freeSpace) {
  return texts.ApplicationFolder.Text4 + u" " + freeSpace;
}

std::u16string wizardControlText(ControlId id, const LanguageTexts& t, const SetupOptions& o,
                                 const std::u16string& freeSpace) {
  using I = ControlId;
  switch (id) {
    case I::nextButton: return t.Gadgets.NextBtn;
    case I::backButton: return t.Gadgets.BackBtn;
    case I::cancelButton: return t.Gadgets.CancelBtn;

    // Start / Title had "<appname>" replaced when the file was read; Start / Text still needs
    // the version.
    case I::welcomeTitle: return t.Start.Title;
    case I::welcomeText: return replaceEvery(t.Start.Text, kAppVersion, o.Version);

    case I::licenceHeaderTitle: return t.LicenceAgreement.HeadT;
    case I::licenceHeaderSubtitle: return t.LicenceAgreement.HeadB;
    case I::licenceIntro: return t.LicenceAgreement.Text1;
    case I::acceptOption: return t.Gadgets.AcceptOptn;
    case I::doNotAcceptOption: return t.Gadgets.DoNotAcceptOptn;

    case I::appFolderHeaderTitle: return t.ApplicationFolder.HeadT;
    case I::appFolderHeaderSubtitle: return t.ApplicationFolder.HeadB;
    case I::appFolderIntro: return withNameAndVersion(t.ApplicationFolder.Text1, o);
    case I::appFolderHint: return t.ApplicationFolder.Text2;
    case I::appFolderFrame: return t.Gadgets.DestinationFolderFR3;
    case I::appFolderField: return o.InstallDir;
    case I::appFolderBrowseButton: return t.Gadgets.BrowseBtn;
    case I::requiredSpaceLabel: return t.ApplicationFolder.Text3 + u" " + o.TotalSize;
    case I::availableSpaceLabel: return availableSpaceText(t, freeSpace);

    case I::startMenuHeaderTitle: return t.StartMenuFolder.HeadT;
    case I::startMenuHeaderSubtitle: return t.StartMenuFolder.HeadB;
    case I::startMenuIntro: return t.StartMenuFolder.Text1;  // shown as written, placeholders included
    case I::startMenuHint: return t.StartMenuFolder.Text2;
    case I::startMenuFolderField: return o.ShortcutFolder;
    case I::startMenuBrowseButton: return t.Gadgets.BrowseBtn;

    case I::finishTitle: return withAppName(t.Finish.Title, o);
    case I::finishText: return withAppName(t.Finish.Text1, o);
    case I::finishCheckBox: return finishCheckBoxText(t, o);

    case I::tasksHeaderTitle: return t.AdditionalTasks.HeadT;
    case I::tasksHeaderSubtitle: return t.AdditionalTasks.HeadB;
    case I::tasksText: return withNameAndVersion(t.AdditionalTasks.Text1, o) + u"\n\n\n" + t.AdditionalTasks.Text2;
    case I::desktopIconCheckBox: return t.Gadgets.CreateDesktopIconCbx;
    case I::startMenuCheckBox: return t.Gadgets.CreateStartMenuFolderCbx;

    case I::installingHeaderTitle: return t.Installing.HeadT;
    case I::installingHeaderSubtitle: return withAppName(t.Installing.HeadB, o);
    case I::statusLabel: return t.Installing.Text1;

    default: return u"";
  }
}

}  // namespace averlune
