#pragma once
// Where the keyboard focus goes when the wizard shows a page. The focus must always sit on a
// visible control of the page shown: a control of a hidden page keeps taking keystrokes while it
// has the focus, so Enter in the folder field followed by typing would change the installation
// path unseen.
#include <functional>

#include "wizard/wizard_layout.h"
#include "wizard/wizard_pages.h"

namespace averlune {

// Whether a control can take the focus now: it exists in this setup, it is enabled, and, for an
// option of a group, it is the selected one (a group's focus sits on its selected option, as in
// any dialog, so moving the focus never changes the choice).
using FocusCheck = std::function<bool(ControlId)>;

// The control that takes the focus on `page`: the page's first input control (edit field, check
// box or option) in layout order that can take it; on a page without one, Next, or Cancel while
// Next is disabled (the installing page). ControlId::none when none of them can.
ControlId focusTargetOf(Page page, const FocusCheck& canTakeFocus);

}  // namespace averlune
