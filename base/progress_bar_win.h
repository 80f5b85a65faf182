#pragma once
// Moving a progress bar without a redraw for every step.
#include <windows.h>

namespace averlune {

// The bar always takes `position` (PBM_GETPOS answers it at once), but redraws only when its
// filled width changes. A run over thousands of files otherwise waits for a redraw per file,
// which under Wine cost more than the files' own work.
void setProgressPosition(HWND bar, int position);

}  // namespace averlune
