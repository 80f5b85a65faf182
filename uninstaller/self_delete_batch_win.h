#pragma once
#include <string>

namespace averlune {

// Writes the self-deleting batch (self_delete_batch.h) as the temporary folder + a new GUID text
// + ".bat", replacing a file of that name, and starts it hidden. Nothing happens when the file
// cannot be written: the uninstaller and the application folder then stay.
void writeSelfDeleteBatch(const std::u16string& appFolder);

}  // namespace averlune
