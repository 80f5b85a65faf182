#pragma once
// The uninstall entry's record of the log: the LogDigest value that the setup stores under
// HKEY_LOCAL_MACHINE, where only administrators can write, when it closes uninstall.dat.
#include <optional>
#include <string>

namespace averlune {

// The LogDigest of the uninstall entry of `appName` in this process's registry view (the setup's):
// nothing when the entry or the value is missing, the empty text when the value is there but is no
// text or cannot be read.
std::optional<std::u16string> storedLogDigest(const std::u16string& appName);

// Deletes the LogDigest value, then the entry if nothing is left in it; failures are silent.
void forgetLogDigest(const std::u16string& appName);

}  // namespace averlune
