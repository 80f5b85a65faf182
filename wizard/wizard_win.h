#pragma once
// One wizard window and everything it works with: the run's state, its pictures and fonts, its
// controls, the installation thread it starts, and how it ends the run. The setup's start-up makes
// it and hands it to the window when the window is created, so no window procedure reaches for a
// process-wide object. Main thread only; the installation thread gets copies of what it needs and
// talks back through messages (wizard/installation_messages_win.h).
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "base/owned_handle_win.h"
#include "config/setup_state.h"
#include "install/installation_run_win.h"
#include "wizard/installation_messages_win.h"
#include "wizard/wizard_layout.h"
#include "wizard/wizard_pages.h"
#include "wizard/wizard_resources_win.h"

namespace averlune {

// The wizard's controls; the window owns them and destroys them with itself.
struct WizardControls {
  // Every control of the layout by its id; null for controls this setup does not have.
  std::array<HWND, kControlCount> byId{};
  HWND operator[](ControlId id) const { return byId[static_cast<std::size_t>(id)]; }

  // The controls the pages work with, by their role.
  HWND nextButton = nullptr;
  HWND backButton = nullptr;
  HWND cancelButton = nullptr;
  HWND appFolderField = nullptr;
  HWND startMenuFolderField = nullptr;
  HWND desktopIconCheckBox = nullptr;
  HWND startMenuCheckBox = nullptr;
  HWND statusLabel = nullptr;
  HWND progressBar = nullptr;
  HWND finishCheckBox = nullptr;  // null unless Addition is 1 or 2
  HWND availableSpaceLabel = nullptr;
  HWND licenceView = nullptr;
  HWND acceptOption = nullptr;
  HWND doNotAcceptOption = nullptr;
};

// The work the installing page starts on its own thread: runInstallation in the setup.
using InstallationWork = void (*)(const SetupState& state, const InstallationTexts& texts,
                                  const InstallationReports& reports, InstallationTarget& target);

// Starts the installation thread (CreateThread in the setup); null when it cannot.
using ThreadStart = HANDLE (*)(LPTHREAD_START_ROUTINE procedure, void* parameter);

struct Wizard {
  Wizard(SetupState& runState, std::function<void(bool removeWorkFolder)> endRunFunction)
      : state(runState), endRun(std::move(endRunFunction)) {}
  Wizard(const Wizard&) = delete;
  Wizard& operator=(const Wizard&) = delete;

  SetupState& state;
  // Ends the setup run (the work folder removed or not). In the setup it ends the process and
  // does not come back; where it does (tests), the wizard's window is gone and the caller touches
  // nothing of the wizard after it.
  std::function<void(bool removeWorkFolder)> endRun;
  InstallationWork installationWork = runInstallation;
  ThreadStart startThread = [](LPTHREAD_START_ROUTINE procedure, void* parameter) {
    return CreateThread(nullptr, 0, procedure, parameter, 0, nullptr);
  };
  Page currentPage = Page::none;  // the page shown; none until the wizard is shown

  // The setup's own file as the run holds it (lifecycle/setup_run_win.h): the installation reads
  // its payload through it. Not owned; null in tests that install nothing.
  HANDLE ownFile = nullptr;
  WizardResources resources;
  OwnedWindow window;  // declared after the resources: destroyed before what it paints with
  WizardControls controls;
  OwnedHandle installationThread;  // set once, when the installing page is entered
  // What the installation thread last reported for the status line and the bar; shared with it.
  std::shared_ptr<InstallationProgress> installationProgress = std::make_shared<InstallationProgress>();
  // Set once Finish is pressed: the finish actions run once, and neither a second Finish nor a
  // close request can end the run (and remove the work folder) while the plug-in is still loaded
  // from it, though a plug-in that shows a window lets the wizard's messages through.
  bool finishing = false;
  // Closes the installation's uninstall log and keeps its digest; safe while the installation
  // thread appends. Set with installationThread; the run calls it before the process ends.
  std::function<void()> closeUninstallLog;
  // The control that takes the focus when the window is active again (wizard/keyboard_focus_win.h).
  HWND focusOnReturn = nullptr;
};

// Whether a check box or radio button is checked now.
bool isChecked(HWND button);

// The text a control shows now.
std::u16string controlText(HWND control);

}  // namespace averlune
