#pragma once
// The wizard's page flow as plain data: which page Next and Back lead to, which pages the setup
// script switches off, and what the Next and Back buttons must look like on each page. The window
// side applies these answers; nothing here touches a window.
#include <cstdint>

namespace averlune {

struct SetupOptions;

// Values of the current page. The numbers are fixed: the installation run writes kFinishPage.
constexpr int kWelcomePage = 0;
constexpr int kLicencePage = 1;
constexpr int kApplicationFolderPage = 3;
constexpr int kAdditionalTasksPage = 4;
constexpr int kStartMenuFolderPage = 5;
constexpr int kInstallingPage = 6;
constexpr int kFinishPage = 7;

// The setup options that steer the flow, as they stand after the check box rules were applied.
struct PageFlowOptions {
  std::int32_t Licence = 0;
  std::int32_t ChangeApplicationFolder = 0;
  std::int32_t Allow_Desktopicons = 0;
  std::int32_t Allow_StartMenuFolder = 0;
  std::int32_t ChangeStartMenuFolder = 0;
};

PageFlowOptions pageFlowOptionsOf(const SetupOptions& options);

// One Next or Back step. `page` is where the wizard lands; the flags say what else changes.
struct PageStep {
  int page = kWelcomePage;
  bool moved = false;              // false: the button does nothing on this page
  bool showBackButton = false;     // leaving the welcome page
  bool hideBackButton = false;     // landing on the welcome page
  bool startInstallation = false;  // landing on the installing page
};

// Next from `page`. Acts only on pages 0, 1, 3, 4 and 5; the skip rules run in page order, so one
// step may pass several switched-off pages. `startMenuChecked` is the start menu check box now.
PageStep nextStep(int page, const PageFlowOptions& options, bool startMenuChecked);

// Back from `page`. Acts only on pages 1, 3, 4 and 5 and never lands on the start menu folder page.
PageStep backStep(int page, const PageFlowOptions& options);

enum class ButtonChange { unchanged, enable, disable };

struct ButtonStates {
  ButtonChange next = ButtonChange::unchanged;
  ButtonChange back = ButtonChange::unchanged;
};

// The enabled state of Next and Back on `page`; `acceptSelected` is the licence page's accept
// option now.
ButtonStates buttonStatesFor(int page, std::int32_t licence, bool acceptSelected);

// Whether a press of Next on `page` is acted on: the installing page ignores it, and so does the
// licence page while the table keeps Next disabled. A click that reaches the window while the
// button is disabled must not move the wizard.
bool nextButtonActs(int page, std::int32_t licence, bool acceptSelected);

}  // namespace averlune
