#pragma once
// The wizard window with every page built hidden, and its release.
#include "wizard/wizard_win.h"

namespace averlune {

// Creates the wizard window and all its pages, hidden, with the welcome page's panel visible in
// it and Back hidden. Needs the language texts, the setup options (after the check box rules) and
// the prepared resources in `wizard`; the window keeps a pointer to `wizard` for its whole life.
// False when the window itself cannot be created.
bool buildWizard(Wizard& wizard);

// Destroys the window with its controls, then the pictures, icons and fonts it showed. Main
// thread only; safe to call twice.
void releaseWizard(Wizard& wizard);

}  // namespace averlune
