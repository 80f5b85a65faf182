#pragma once
// Resource id of the embedded uninstaller executable (RCDATA), shared by the resource script and
// the code that writes the uninstaller out.
#define IDR_UNINSTALLER_IMAGE 201
