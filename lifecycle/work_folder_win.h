#pragma once
// The run's private work folder, where the configuration cabinet is unpacked and read, and the
// plug-in loaded from. It lies in the user's temporary folder, which the user may rename things
// in: the folder is held open from its making to its removal, without delete sharing, so it can
// be neither renamed nor swapped for another while the run reads from it. While the setup runs
// elevated, only Administrators and SYSTEM may use it (guards/protected_dacl_win.h), so what the
// elevated run reads there only an administrator can have written.
#include <string>

#include "base/owned_handle_win.h"

namespace averlune {

// Builds the run's work folder path (temporary folder, long form, + a new GUID in registry form
// + "\") into `workFolder` and creates the folder, one level, with its DACL in the same call, into
// `held`. Result: true when this call created it; false when the temporary folder is unknown (the
// work folder is then empty) or the folder could not be created or already existed (then it is
// not the run's folder and `held` stays empty).
bool makeWorkFolder(std::u16string& workFolder, OwnedHandle& held);

// Deletes everything in the held work folder `folder` and below, then the folder, through handles
// opened relative to `held` that never follow a link (a link inside is removed as a link), and
// lets `held` go. Read-only files are not forced: what cannot be deleted stays. Does nothing
// without a held folder.
void removeWorkFolder(OwnedHandle& held, const std::u16string& folder);

}  // namespace averlune
