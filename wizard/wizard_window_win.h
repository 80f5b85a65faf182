#pragma once
// The wizard window: its pictures, icons and fonts, the window with every page built hidden, and
// the named controls other parts of the setup read and write.
#include <windows.h>

#include <array>

#include "wizard/wizard_layout.h"

namespace averlune {

struct SetupRun;

// Made once before the window is built; released by endSetupRun.
struct WizardResources {
  HBITMAP sidePicture = nullptr;       // 164 x 314
  HBITMAP headerPicture = nullptr;     // 55 x 55
  HBITMAP separatorPicture = nullptr;  // 497 x 2
  HICON folderIcon = nullptr;          // may stay empty: the picture control then shows nothing
  HICON startMenuIcon = nullptr;
  HFONT titleFont = nullptr;
  HFONT headerTitleFont = nullptr;
  HFONT headerSubtitleFont = nullptr;
  HBRUSH whiteBrush = nullptr;
};

struct WizardControls {
  HWND window = nullptr;
  // Every control of the layout by its id; null for controls this setup does not have.
  std::array<HWND, kControlCount> byId{};
  HWND operator[](ControlId id) const { return byId[static_cast<std::size_t>(id)]; }

  // The controls other parts of the setup use, by their role.
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

// Win32 command id of a control: its layout id plus this base.
constexpr int kControlCommandBase = 1000;

// Decides the two pictures' sources (the work folder's Image_Left.jpg and Image_Top.jpg when they
// are files that decode, otherwise the built-in pictures), scales them, extracts the two shell
// icons and creates the fonts. Failures leave the built-in picture or an empty handle; nothing is
// reported.
void prepareWizard(SetupRun& run);

// Creates the wizard window and all its pages, hidden, with the welcome page's panel visible in
// it and Back hidden. Needs the language texts, the setup options (after the check box rules) and
// the prepared resources. False when the window itself cannot be created.
bool buildWizard(SetupRun& run);

// Releases the window, pictures, icons and fonts. Safe to call twice.
void releaseWizard(SetupRun& run);

// Whether a check box or radio button is checked now.
bool isChecked(HWND button);

}  // namespace averlune
