#pragma once
#include <string>

namespace averlune {

// Builds the run's work folder path (temporary folder, long form, + a new GUID in registry form
// + "\") into `workFolder` and creates the folder, one level. Result: true when this call created
// it; false when the temporary folder is unknown (the work folder is then empty) or the folder
// could not be created or already existed (then it is not the run's folder).
bool makeWorkFolder(std::u16string& workFolder);

// Deletes everything in `folder` and below, then the folder. Read-only files are not forced: what
// cannot be deleted stays. Does nothing when `folder` is not an existing folder.
void removeWorkFolder(const std::u16string& folder);

}  // namespace averlune
