#pragma once
// The Browse buttons of the two folder pages, and the check of the application folder on Next.
#include "wizard/wizard_win.h"

namespace averlune {

// Opens the application folder dialog at the Program Files folder. A pick sets the field to the
// picked folder, Company and Appname (wizard/folder_choice.h) and the free space shown to that of
// the picked folder; a cancelled dialog, or a virtual folder picked, changes nothing.
void onAppFolderBrowse(Wizard& wizard);

// Opens the start menu folder dialog rooted at the start menu base. A pick sets the field to the
// part of the picked folder below the base, Company and Appname; a cancel changes nothing.
void onStartMenuBrowse(Wizard& wizard);

// True when Next may leave the application folder page with the folder its field names; otherwise
// a box says why (wizard/folder_choice.h: refusesAppFolderField) and the page stays.
bool acceptAppFolderField(Wizard& wizard);

}  // namespace averlune
