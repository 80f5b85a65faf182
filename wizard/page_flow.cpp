#include "wizard/page_flow.h"

#include "config/setup_script.h"

namespace averlune {
namespace {

bool isShown(const PageFacts& facts, const PageFlowOptions& options, bool startMenuChecked) {
  return !facts.shown || facts.shown(options, startMenuChecked);
}

}  // namespace

PageFlowOptions pageFlowOptionsOf(const SetupOptions& options) {
  PageFlowOptions flow;
  flow.Licence = options.Licence;
  flow.ChangeApplicationFolder = options.ChangeApplicationFolder;
  flow.Allow_Desktopicons = options.Allow_Desktopicons;
  flow.Allow_StartMenuFolder = options.Allow_StartMenuFolder;
  flow.ChangeStartMenuFolder = options.ChangeStartMenuFolder;
  return flow;
}

PageStep nextStep(Page page, const PageFlowOptions& options, bool startMenuChecked) {
  PageStep step;
  step.page = page;
  if (!factsOf(page).nextLeadsOn) return step;
  const auto& pages = wizardPages();
  // The installing page is never skipped, so the walk always ends on a page.
  auto at = static_cast<std::size_t>(page) + 1;
  while (!isShown(pages[at], options, startMenuChecked)) ++at;
  step.page = pages[at].page;
  step.moved = true;
  step.showBackButton = page == Page::welcome;
  step.startInstallation = step.page == Page::installing;
  return step;
}

PageStep backStep(Page page, const PageFlowOptions& options) {
  PageStep step;
  step.page = page;
  if (!factsOf(page).backLeadsBack) return step;
  const auto& pages = wizardPages();
  // The welcome page is never skipped, so the walk always ends on a page. The start menu check
  // box counts as checked: no page Back leaves lies after the start menu folder page.
  auto at = static_cast<std::size_t>(page) - 1;
  while (!isShown(pages[at], options, true)) --at;
  step.page = pages[at].page;
  step.moved = true;
  step.hideBackButton = step.page == Page::welcome;
  return step;
}

ButtonStates buttonStatesFor(Page page, std::int32_t licence, bool acceptSelected) {
  const PageFacts& facts = factsOf(page);
  ButtonStates states{facts.next, facts.back};
  if (facts.nextWaitsForAcceptance && licence == 1 && !acceptSelected) states.next = ButtonChange::disable;
  return states;
}

bool nextButtonActs(Page page, std::int32_t licence, bool acceptSelected) {
  return page != Page::none && buttonStatesFor(page, licence, acceptSelected).next != ButtonChange::disable;
}

}  // namespace averlune
