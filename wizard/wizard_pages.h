#pragma once
// The wizard's pages as data: each page's panel, whether Next and Back lead anywhere from it, the
// state of the two buttons on it, and when the setup script switches it off. The page flow walks
// this table in its order, the window shows and hides the panels it names, and the keyboard focus
// looks for its target in them. Nothing here touches a window.
#include <array>
#include <cstddef>
#include <cstdint>

#include "wizard/wizard_layout.h"

namespace averlune {

// The wizard's pages in the order Next walks them; `none` until the wizard shows its first page
// (while the language dialog is up).
enum class Page { welcome, licence, applicationFolder, additionalTasks, startMenuFolder, installing, finish, none };

constexpr std::size_t kPageCount = static_cast<std::size_t>(Page::none);

// The setup options that steer the flow, as they stand after the check box rules were applied.
struct PageFlowOptions {
  std::int32_t Licence = 0;
  std::int32_t ChangeApplicationFolder = 0;
  std::int32_t Allow_Desktopicons = 0;
  std::int32_t Allow_StartMenuFolder = 0;
  std::int32_t ChangeStartMenuFolder = 0;
};

enum class ButtonChange { unchanged, enable, disable };

struct PageFacts {
  Page page;
  ControlId panel;
  bool nextLeadsOn;    // Next moves to a later page (the installing and finish pages do otherwise)
  bool backLeadsBack;  // Back moves to an earlier page
  ButtonChange next;   // what becomes of Next's enabled state on this page
  ButtonChange back;
  // With Licence = 1, Next stays disabled until the accept option is selected.
  bool nextWaitsForAcceptance;
  // Whether the setup shows the page; `startMenuChecked` is the start menu check box now. Null for
  // the pages that are never skipped.
  bool (*shown)(const PageFlowOptions& options, bool startMenuChecked);
};

// Every page, in page order; the row of page `p` is at index `p`.
const std::array<PageFacts, kPageCount>& wizardPages();

// The row of `page`; for Page::none one with no panel, on which neither button moves or changes.
const PageFacts& factsOf(Page page);

}  // namespace averlune
