#include "wizard/wizard_layout.h"

#include "config/setup_script.h"

namespace averlune {
namespace {

using I = ControlId;
using K = ControlKind;

constexpr int kHeaderBandHeight = 58;
constexpr int kButtonTop = 327;

constexpr ControlSpec headerTitle(I id, I band) { return {id, K::headerTitle, band, 14, 10, 305, 15}; }
constexpr ControlSpec headerSubtitle(I id, I band) { return {id, K::headerSubtitle, band, 25, 27, 355, 40}; }
constexpr ControlSpec headerPicture(I id, I band) { return {id, K::headerPicture, band, 440, 1, 55, 55}; }
constexpr ControlSpec headerBand(I id, I page) {
  return {id, K::headerBand, page, 0, 0, kWizardClientWidth, kHeaderBandHeight};
}
constexpr ControlSpec headerSeparator(I id, I page) {
  return {id, K::separatorPicture, page, 0, kHeaderBandHeight, kWizardClientWidth, 2};
}
constexpr ControlSpec pagePanel(I id) { return {id, K::pagePanel, I::none, 0, 0, kWizardClientWidth, kPagePanelHeight}; }

constexpr std::array<ControlSpec, kControlCount> kLayout = {{
    {I::separatorAboveButtons, K::separatorPicture, I::none, 0, kPagePanelHeight, kWizardClientWidth, 2},
    {I::nextButton, K::defaultPushButton, I::none, 330, kButtonTop, 75, 23},
    {I::backButton, K::pushButton, I::none, 253, kButtonTop, 75, 23},
    {I::cancelButton, K::pushButton, I::none, 410, kButtonTop, 75, 23},

    pagePanel(I::welcomePanel),
    {I::welcomeSidePicture, K::sidePicture, I::welcomePanel, 0, 0, 164, 314},
    // Wider and taller than the page on purpose: the window clips the excess.
    {I::welcomeWhitePanel, K::whitePanel, I::welcomePanel, 165, 0, 335, 315},
    {I::welcomeTitle, K::titleText, I::welcomeWhitePanel, 14, 14, 305, 70},
    {I::welcomeText, K::text, I::welcomeWhitePanel, 14, 79, 305, 205},

    pagePanel(I::licencePanel),
    headerBand(I::licenceHeader, I::licencePanel),
    headerTitle(I::licenceHeaderTitle, I::licenceHeader),
    headerSubtitle(I::licenceHeaderSubtitle, I::licenceHeader),
    headerPicture(I::licenceHeaderPicture, I::licenceHeader),
    headerSeparator(I::licenceSeparator, I::licencePanel),
    {I::licenceIntro, K::text, I::licencePanel, 25, 70, 400, 40},
    {I::licenceView, K::richEdit, I::licencePanel, 25, 110, 410, 150},
    {I::acceptOption, K::radioButton, I::licencePanel, 25, 270, 385, 15},
    {I::doNotAcceptOption, K::radioButton, I::licencePanel, 25, 290, 385, 15},

    pagePanel(I::appFolderPanel),
    headerBand(I::appFolderHeader, I::appFolderPanel),
    headerTitle(I::appFolderHeaderTitle, I::appFolderHeader),
    headerSubtitle(I::appFolderHeaderSubtitle, I::appFolderHeader),
    headerPicture(I::appFolderHeaderPicture, I::appFolderHeader),
    headerSeparator(I::appFolderSeparator, I::appFolderPanel),
    {I::appFolderIcon, K::folderIcon, I::appFolderPanel, 25, 70, 32, 32},
    {I::appFolderIntro, K::text, I::appFolderPanel, 60, 80, 400, 20},
    {I::appFolderHint, K::text, I::appFolderPanel, 25, 115, 400, 40},
    {I::appFolderFrame, K::groupFrame, I::appFolderPanel, 25, 170, 415, 60},
    {I::appFolderField, K::editField, I::appFolderPanel, 33, 195, 310, 22},
    {I::appFolderBrowseButton, K::pushButton, I::appFolderPanel, 350, 194, 82, 24},
    {I::requiredSpaceLabel, K::text, I::appFolderPanel, 25, 270, 400, 20},
    {I::availableSpaceLabel, K::text, I::appFolderPanel, 25, 290, 400, 20},

    pagePanel(I::startMenuPanel),
    headerBand(I::startMenuHeader, I::startMenuPanel),
    headerTitle(I::startMenuHeaderTitle, I::startMenuHeader),
    headerSubtitle(I::startMenuHeaderSubtitle, I::startMenuHeader),
    headerPicture(I::startMenuHeaderPicture, I::startMenuHeader),
    headerSeparator(I::startMenuSeparator, I::startMenuPanel),
    {I::startMenuIcon, K::startMenuIcon, I::startMenuPanel, 25, 70, 32, 32},
    {I::startMenuIntro, K::text, I::startMenuPanel, 60, 80, 400, 20},
    {I::startMenuHint, K::text, I::startMenuPanel, 25, 115, 400, 30},
    {I::startMenuFolderField, K::editField, I::startMenuPanel, 25, 145, 290, 22},
    {I::startMenuBrowseButton, K::pushButton, I::startMenuPanel, 327, 145, 80, 22},

    pagePanel(I::finishPanel),
    {I::finishSidePicture, K::sidePicture, I::finishPanel, 0, 0, 164, 314},
    {I::finishWhitePanel, K::whitePanel, I::finishPanel, 165, 0, 335, 315},
    {I::finishTitle, K::titleText, I::finishWhitePanel, 14, 14, 305, 70},
    {I::finishText, K::text, I::finishWhitePanel, 14, 79, 305, 80},
    {I::finishCheckBox, K::checkBox, I::finishWhitePanel, 14, 167, 300, 20},

    pagePanel(I::tasksPanel),
    headerBand(I::tasksHeader, I::tasksPanel),
    headerTitle(I::tasksHeaderTitle, I::tasksHeader),
    headerSubtitle(I::tasksHeaderSubtitle, I::tasksHeader),
    headerPicture(I::tasksHeaderPicture, I::tasksHeader),
    headerSeparator(I::tasksSeparator, I::tasksPanel),
    {I::tasksText, K::text, I::tasksPanel, 25, 80, 410, 80},
    {I::desktopIconCheckBox, K::checkBox, I::tasksPanel, 25, 157, 300, 20},
    {I::startMenuCheckBox, K::checkBox, I::tasksPanel, 25, 180, 300, 20},

    pagePanel(I::installingPanel),
    headerBand(I::installingHeader, I::installingPanel),
    headerTitle(I::installingHeaderTitle, I::installingHeader),
    headerSubtitle(I::installingHeaderSubtitle, I::installingHeader),
    headerPicture(I::installingHeaderPicture, I::installingHeader),
    headerSeparator(I::installingSeparator, I::installingPanel),
    {I::statusLabel, K::text, I::installingPanel, 25, 80, 435, 27},
    {I::progressBar, K::progressBar, I::installingPanel, 25, 117, kWizardClientWidth - 55, 17},
}};

constexpr bool rowsMatchTheirIds() {
  for (std::size_t i = 0; i < kLayout.size(); ++i) {
    if (static_cast<std::size_t>(kLayout[i].id) != i) return false;
  }
  return true;
}
static_assert(rowsMatchTheirIds(), "the row of each control must sit at the index of its id");

}  // namespace

const std::array<ControlSpec, kControlCount>& wizardLayout() { return kLayout; }

const ControlSpec& specOf(ControlId id) { return kLayout[static_cast<std::size_t>(id)]; }

bool controlExists(ControlId id, const SetupOptions& options) {
  if (id == I::separatorAboveButtons) return options.label == 1;
  if (id == I::finishCheckBox) return options.Addition == 1 || options.Addition == 2;
  return id != I::none;
}

ClientRect clientRectOf(ControlId id) {
  const ControlSpec& spec = specOf(id);
  ClientRect rect{spec.x, spec.y, spec.width, spec.height};
  for (ControlId parent = spec.parent; parent != I::none; parent = specOf(parent).parent) {
    rect.x += specOf(parent).x;
    rect.y += specOf(parent).y;
  }
  return rect;
}

}  // namespace averlune
