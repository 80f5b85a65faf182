#pragma once
// Every control of the wizard window as data: what it is, which window holds it, and where it sits
// in that window's client pixels. The window side walks this table in order, so the order of the
// rows is the order in which the controls are created.
#include <array>
#include <cstddef>

namespace averlune {

struct SetupOptions;

constexpr int kWizardClientWidth = 497;
constexpr int kWizardClientHeight = 362;
constexpr int kPagePanelHeight = 313;

enum class ControlId {
  separatorAboveButtons,
  nextButton,
  backButton,
  cancelButton,
  welcomePanel, welcomeSidePicture, welcomeWhitePanel, welcomeTitle, welcomeText,
  licencePanel, licenceHeader, licenceHeaderTitle, licenceHeaderSubtitle, licenceHeaderPicture, licenceSeparator,
  licenceIntro, licenceView, acceptOption, doNotAcceptOption,
  appFolderPanel, appFolderHeader, appFolderHeaderTitle, appFolderHeaderSubtitle, appFolderHeaderPicture,
  appFolderSeparator, appFolderIcon, appFolderIntro, appFolderHint, appFolderFrame, appFolderField,
  appFolderBrowseButton, requiredSpaceLabel, availableSpaceLabel,
  startMenuPanel, startMenuHeader, startMenuHeaderTitle, startMenuHeaderSubtitle, startMenuHeaderPicture,
  startMenuSeparator, startMenuIcon, startMenuIntro, startMenuHint, startMenuFolderField, startMenuBrowseButton,
  finishPanel, finishSidePicture, finishWhitePanel, finishTitle, finishText, finishCheckBox,
  tasksPanel, tasksHeader, tasksHeaderTitle, tasksHeaderSubtitle, tasksHeaderPicture, tasksSeparator, tasksText,
  desktopIconCheckBox, startMenuCheckBox,
  installingPanel, installingHeader, installingHeaderTitle, installingHeaderSubtitle, installingHeaderPicture,
  installingSeparator, statusLabel, progressBar,
  count,
  none = count,  // parent of the controls that sit directly in the wizard window
};

constexpr std::size_t kControlCount = static_cast<std::size_t>(ControlId::count);

// The Win32 command id of a control: its layout id plus this base.
constexpr int kControlCommandBase = 1000;

enum class ControlKind {
  pagePanel,         // grey panel of one page, shown and hidden as one
  whitePanel,        // white area of the welcome and finish pages
  headerBand,        // white band at the top of an inner page
  sidePicture,
  headerPicture,
  separatorPicture,
  folderIcon,
  startMenuIcon,
  text,              // default GUI font; white background inside white panels and header bands
  titleText,         // title font
  headerTitle,       // header title font
  headerSubtitle,    // header subtitle font
  pushButton,
  defaultPushButton,
  radioButton,       // the first of a run of radio buttons starts their group
  checkBox,
  editField,
  groupFrame,
  richEdit,
  progressBar,
};

struct ControlSpec {
  ControlId id;
  ControlKind kind;
  ControlId parent;
  int x, y, width, height;  // in the parent's client pixels; pictures and icons show at their own size
};

// Every control in creation order; the row of control `id` is at index `id`.
const std::array<ControlSpec, kControlCount>& wizardLayout();

const ControlSpec& specOf(ControlId id);

// Controls that only some setups have: the separator above the buttons (label = 1) and the finish
// page's check box (Addition 1 or 2).
bool controlExists(ControlId id, const SetupOptions& options);

// The control's position in the wizard window's client area: its own offset plus its parents'.
struct ClientRect {
  int x, y, width, height;
};
ClientRect clientRectOf(ControlId id);

}  // namespace averlune
