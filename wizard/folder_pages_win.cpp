#include "wizard/folder_pages_win.h"

#include "config/fixed_texts.h"
#include "guards/protected_folders_win.h"
#include "base/system_lookup_win.h"
#include "base/wide_text_win.h"
#include "wizard/folder_choice.h"
#include "wizard/folder_dialog_win.h"
#include "wizard/free_space_win.h"
#include "wizard/wizard_texts.h"

namespace averlune {

void onAppFolderBrowse(Wizard& wizard) {
  const SetupState& state = wizard.state;
  // Always the Program Files folder, whatever the field holds now.
  const std::u16string start = browseStartFolder(windowsSystemLookup().environmentVariable(u"ProgramFiles"));
  const std::u16string picked = browseForFolder(state.languageTexts.Gadgets.SelAppFolder, start);
  if (picked.empty()) return;
  const WizardControls& c = wizard.controls;
  SetWindowTextW(c.appFolderField, wide(appFolderFromPick(picked, state.options.Company, state.options.Appname)));
  SetWindowTextW(c.availableSpaceLabel, wide(availableSpaceText(state.languageTexts, formatFreeSpace(picked))));
}

void onStartMenuBrowse(Wizard& wizard) {
  const SetupState& state = wizard.state;
  const std::u16string picked =
      browseStartMenuFolder(state.languageTexts.Gadgets.SelStartMenuFolder, state.options.startMenuBaseNumber);
  if (picked.empty()) return;
  SetWindowTextW(wizard.controls.startMenuFolderField,
                 wide(startMenuFolderFromPick(picked, state.options.startMenuBase.size(), state.options.Company,
                                              state.options.Appname)));
}

bool acceptAppFolderField(Wizard& wizard) {
  const std::u16string field = controlText(wizard.controls.appFolderField);
  if (!refusesAppFolderField(field, wizard.state.options.Uninstaller, protectedFolders, folderIdentity)) return true;
  MessageBoxW(wizard.window.get(), wide(wizard.state.languageTexts.Messages.RefusedFolder), wide(kErrorTitle),
              MB_OK | MB_ICONWARNING);
  SetFocus(wizard.controls.appFolderField);
  return false;
}

}  // namespace averlune
