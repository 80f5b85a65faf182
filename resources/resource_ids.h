#pragma once
// Resource identifiers shared by the resource scripts and the code that loads them.
#define IDI_SETUP 1           // icon group 1: the program's own icon
#define IDR_BUILTIN_ICON 101  // the same icon file as raw bytes, written out when icon.dat is missing
