#include "wizard/page_flow.h"

#include "config/setup_script.h"

namespace averlune {
namespace {

bool additionalTasksSkipped(const PageFlowOptions& options) {
  return options.Allow_Desktopicons == 0 && options.Allow_StartMenuFolder == 0;
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

PageStep nextStep(int page, const PageFlowOptions& options, bool startMenuChecked) {
  PageStep step;
  step.page = page;
  switch (page) {
    case kWelcomePage: step.page = kLicencePage; break;
    case kLicencePage: step.page = kApplicationFolderPage; break;
    case kApplicationFolderPage: step.page = kAdditionalTasksPage; break;
    case kAdditionalTasksPage: step.page = kStartMenuFolderPage; break;
    case kStartMenuFolderPage: step.page = kInstallingPage; break;
    default: return step;
  }
  step.moved = true;
  step.showBackButton = page == kWelcomePage;
  // Each rule looks at the page the rules before it left, so they must run in this order.
  if (step.page == kLicencePage && options.Licence == 0) step.page = kApplicationFolderPage;
  if (step.page == kApplicationFolderPage && options.ChangeApplicationFolder == 0) step.page = kAdditionalTasksPage;
  if (step.page == kAdditionalTasksPage && additionalTasksSkipped(options)) step.page = kStartMenuFolderPage;
  if (step.page == kStartMenuFolderPage && (options.ChangeStartMenuFolder == 0 || !startMenuChecked)) {
    step.page = kInstallingPage;
  }
  step.startInstallation = step.page == kInstallingPage;
  return step;
}

PageStep backStep(int page, const PageFlowOptions& options) {
  PageStep step;
  step.page = page;
  switch (page) {
    case kLicencePage: step.page = kWelcomePage; break;
    case kApplicationFolderPage: step.page = kLicencePage; break;
    case kAdditionalTasksPage: step.page = kApplicationFolderPage; break;
    case kStartMenuFolderPage: step.page = kAdditionalTasksPage; break;
    default: return step;
  }
  step.moved = true;
  if (step.page == kAdditionalTasksPage && additionalTasksSkipped(options)) step.page = kApplicationFolderPage;
  if (step.page == kApplicationFolderPage && options.ChangeApplicationFolder == 0) step.page = kLicencePage;
  if (step.page == kLicencePage && options.Licence == 0) step.page = kWelcomePage;
  step.hideBackButton = step.page == kWelcomePage;
  return step;
}

ButtonStates buttonStatesFor(int page, std::int32_t licence, bool acceptSelected) {
  ButtonStates states;
  switch (page) {
    case kWelcomePage:
    case kFinishPage:
      states.next = ButtonChange::enable;
      break;
    case kLicencePage:
      states.next = (licence != 1 || acceptSelected) ? ButtonChange::enable : ButtonChange::disable;
      break;
    case kInstallingPage:
      states.next = ButtonChange::disable;
      states.back = ButtonChange::disable;
      break;
    default:
      break;
  }
  return states;
}

bool nextButtonActs(int page, std::int32_t licence, bool acceptSelected) {
  if (page == kInstallingPage || page < kWelcomePage || page > kFinishPage) return false;
  return buttonStatesFor(page, licence, acceptSelected).next != ButtonChange::disable;
}

}  // namespace averlune
