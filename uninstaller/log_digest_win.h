#pragma once
// The uninstall entries as the uninstaller reads them: the list of installed programs under
// HKEY_LOCAL_MACHINE, where only administrators can write, and the digests of the log and the
// language copy that the setup keeps in its entry (kLogDigestValueName, kLanguageDigestValueName).
#include <optional>
#include <string>
#include <vector>

#include "uninstaller/uninstall_run.h"

namespace averlune {

// Every entry of the list in this process's registry view (the setup's) with its UninstallString
// when that is REG_SZ text (empty otherwise); none when the list cannot be opened.
std::vector<UninstallEntryText> uninstallEntries();

// The digest value `valueName` of the entry `entryName`: nothing when the entry or the value is
// missing, the empty text when the value is there but is no text or cannot be read.
std::optional<std::u16string> storedDigest(const std::u16string& entryName, const std::u16string& valueName);

// Deletes both digest values, then the entry if nothing is left in it; failures are silent.
void forgetDigests(const std::u16string& entryName);

}  // namespace averlune
