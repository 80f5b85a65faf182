#pragma once
// The wizard's pictures, icons and fonts, made once before its window is built and kept until the
// window is gone. Main thread only: the window paints with them.
#include <string>

#include "base/owned_handle_win.h"

namespace averlune {

struct WizardResources {
  OwnedGdiObject sidePicture;       // bitmap, 164 x 314
  OwnedGdiObject headerPicture;     // bitmap, 55 x 55
  OwnedGdiObject separatorPicture;  // bitmap, 497 x 2
  OwnedIcon folderIcon;             // may stay empty: the picture control then shows nothing
  OwnedIcon startMenuIcon;
  OwnedGdiObject titleFont;
  OwnedGdiObject headerTitleFont;
  OwnedGdiObject headerSubtitleFont;
  OwnedGdiObject whiteBrush;  // the background of the white panels' texts
  OwnedModule richEdit;       // holds the licence view's window class
};

// Decides the two pictures' sources (the work folder's Image_Left.jpg and Image_Top.jpg when they
// are files that decode, otherwise the built-in pictures), scales them, extracts the two shell
// icons, creates the fonts and loads the rich-edit library from the system folder. Failures leave
// the built-in picture or an empty holder; nothing is reported.
WizardResources prepareWizardResources(const std::u16string& workFolder);

}  // namespace averlune
