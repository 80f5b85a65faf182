#pragma once
// Resource identifiers shared by the resource scripts and the code that loads them. Raw-data
// (RCDATA) resources share one numbering with the setup's embedded uninstaller
// (config/uninstaller_image.h, 201), so no two of them may have the same number.
#define IDI_SETUP 1           // icon group 1: the program's own icon
#define IDR_BUILTIN_ICON 101  // the same icon file, packed, written out when icon.dat is missing
#define IDR_WIZARD_SIDE 205       // the wizard's built-in side picture, a packed bitmap file, 164 x 314, 16 colours
#define IDR_WIZARD_HEADER 206     // the wizard's built-in header picture, a packed bitmap file, 55 x 55, 256 colours
#define IDR_WIZARD_SEPARATOR 203  // the separator line, a 497 x 2 JPEG (the uninstaller's too)
#define IDB_UNINSTALL_HEADER 204  // the uninstaller's header picture, 55 x 55, 256 colours
