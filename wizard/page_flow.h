#pragma once
// The wizard's page flow as plain data: which page Next and Back lead to, which pages the setup
// script switches off, and what the Next and Back buttons must look like on each page, all read
// from the page table (wizard/wizard_pages.h). The window side applies these answers; nothing here
// touches a window.
#include <cstdint>

#include "wizard/wizard_pages.h"

namespace averlune {

struct SetupOptions;

PageFlowOptions pageFlowOptionsOf(const SetupOptions& options);

// One Next or Back step. `page` is where the wizard lands; the flags say what else changes.
struct PageStep {
  Page page = Page::welcome;
  bool moved = false;              // false: the button does nothing on this page
  bool showBackButton = false;     // leaving the welcome page
  bool hideBackButton = false;     // landing on the welcome page
  bool startInstallation = false;  // landing on the installing page
};

// Next from `page`: the first later page the setup shows, so one step may pass several
// switched-off pages. `startMenuChecked` is the start menu check box now.
PageStep nextStep(Page page, const PageFlowOptions& options, bool startMenuChecked);

// Back from `page`: the nearest earlier page the setup shows. Back never leads to the start menu
// folder page, since no page after it has a way back.
PageStep backStep(Page page, const PageFlowOptions& options);

struct ButtonStates {
  ButtonChange next = ButtonChange::unchanged;
  ButtonChange back = ButtonChange::unchanged;
};

// The enabled state of Next and Back on `page`; `acceptSelected` is the licence page's accept
// option now.
ButtonStates buttonStatesFor(Page page, std::int32_t licence, bool acceptSelected);

// Whether a press of Next on `page` is acted on: the installing page ignores it, and so does the
// licence page while the table keeps Next disabled. A click that reaches the window while the
// button is disabled must not move the wizard.
bool nextButtonActs(Page page, std::int32_t licence, bool acceptSelected);

}  // namespace averlune
