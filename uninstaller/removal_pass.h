#pragma once
// The removal pass: carries out the records of an uninstall log, strictly in file order, each at
// once, under the rules of removal_rules.h. The system calls come through RemovalSystem: the
// Windows build fills it with the real file and registry calls (removal_system_win.h), host tests
// with a fake file system and registry.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "config/line_list_file.h"
#include "config/registry_text.h"
#include "uninstaller/removal_rules.h"

namespace averlune {

struct RemovalSystem {
  // Whether something is at `path` (a link counts as itself, its target is not asked).
  std::function<bool(const std::u16string& path)> exists;
  // Whether `path` is a junction or a symbolic link.
  std::function<bool(const std::u16string& path)> isLink;
  // Deletes the file at `path`; a link there is deleted itself. Failures are silent.
  std::function<void(const std::u16string& path)> removeFile;
  // Deletes the files directly inside `folder` except read-only ones (subfolders and what they hold
  // stay), then the folder when it is empty; a link there is removed itself, nothing behind it is
  // touched. Failures are silent.
  std::function<void(const std::u16string& folder)> removeFolder;
  // The registry library's deleteValue, deleteKey and pruneEmptyKeys.
  std::function<void(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName)> deleteValue;
  std::function<void(RegistryRoot root, const std::u16string& subKey)> deleteKey;
  std::function<void(RegistryRoot root, const std::u16string& subKey)> pruneEmptyKeys;
};

struct RemovalOutcome {
  // Paths of file and folder records that were carried out and are still there afterwards, in log
  // order, each once. Records passed over by the rules are not listed: the list tells the user what
  // to delete by hand, and a path from an edited log must never be suggested for that.
  std::vector<std::u16string> itemsLeft;
};

// Reads records from `log` (positioned after its header) to its end and carries them out:
//   file and folder records inside `folders` and not reached through a link: removeFile or
//     removeFolder; each such record, carried out or passed over, moves `progress` on by one;
//   key records for an entry of the list of installed programs: deleteKey, then pruneEmptyKeys;
//   value records: deleteValue, then pruneEmptyKeys.
// Root names map as the setup wrote them (an unknown name is HKEY_CURRENT_USER). A folder recorded
// before a folder inside it cannot go when its turn comes, so folder records that are still there
// at the end are tried once more, last recorded first.
RemovalOutcome removeInstalledItems(LineListFile& log, const RemovalFolders& folders, const RemovalSystem& system,
                                    const std::function<void(std::uint32_t removed)>& progress);

}  // namespace averlune
