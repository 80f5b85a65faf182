#pragma once
// The removal pass: carries out the records of an uninstall log, strictly in file order, each at
// once, under the rules of removal_rules.h. The system calls come through RemovalSystem: the
// Windows build fills it with the real file and registry calls (removal_system_win.h), host tests
// with a fake file system and registry.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "config/line_list_file.h"
#include "base/registry_text.h"
#include "uninstaller/removal_rules.h"

namespace averlune {

// Judges a place again on the long names of its parts, as the remover read them through the
// handles it opened (a short name such as "ADMINI~1" tells nothing about the folder it stands for).
using LongNameCheck = std::function<bool(const RecordPlace& longPlace)>;

struct RemovalSystem {
  // Whether something is at `path` (a link counts as itself, its target is not asked).
  std::function<bool(const std::u16string& path)> exists;
  // Both reach the item from `place.root` down through `place.parts`, one part at a time, and stop
  // when a part on the way is a link (junction or symbolic link): they never reach through one.
  // With a LongNameCheck they read each part's long name through its handle and stop unless the
  // check accepts the place so named; without one they do not ask.
  // They answer whether the item was reached (there, no link on the way, accepted), removed or not.
  // removeFile deletes a file, or a link in its place (the link itself); a read-only or busy file
  // stays, and so does a real folder.
  std::function<bool(const RecordPlace& place, const LongNameCheck& check)> removeFile;
  // removeFolder deletes the files directly inside the folder except read-only ones (subfolders
  // and what they hold stay), then the folder when it is empty; a link in its place is removed
  // itself, nothing behind it is touched. The folder cannot be replaced while it is worked in.
  std::function<bool(const RecordPlace& place, const LongNameCheck& check)> removeFolder;
  // The registry library's deleteValue, deleteKey and pruneEmptyKeys. deleteValue and deleteKey
  // answer whether the value or key is gone afterwards: removed, or not there in the first place.
  std::function<bool(RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName)> deleteValue;
  std::function<bool(RegistryRoot root, const std::u16string& subKey)> deleteKey;
  std::function<void(RegistryRoot root, const std::u16string& subKey)> pruneEmptyKeys;
  // Queues what stays at a place in the application folder for deletion at the next restart,
  // reached as removeFile and removeFolder reach it; true when queued. A file only when another
  // program holds it (guards/files_in_use.h), a folder only when all it holds is in `queued`, the
  // paths queued before it. Null when nobody may be told that a restart is needed (the window's
  // run): what stays is left.
  std::function<bool(const RecordPlace& place, bool folder, const std::vector<std::u16string>& queued)>
      deleteAtRestart;
};

struct RemovalOutcome {
  // Paths of file and folder records that were reached and are gone afterwards, in log order, each
  // once; then the uninstall entry's key and the values deleted (in itemsLeft's forms). For the
  // administrator's log, which names every item removed or left.
  std::vector<std::u16string> removed;
  // Paths of file and folder records that were reached and are still there afterwards, and of the
  // links on a desktop or in the start menu that no uninstall entry vouched for, in log order, each
  // once; then, in log order, the uninstall entry's key when it could not be deleted (as root\sub
  // key) and the values that could not be deleted or were passed over because the log could not be
  // checked against its digest (as root\sub key\value name).
  std::vector<std::u16string> itemsLeft;
  // Records the rules refused, or whose item is there but could not be reached (a link on the
  // way, a long name the rules refuse), and a key record no entry vouched for. They are counted,
  // never named: the list tells the user what to delete by hand, and a path from an edited log
  // must never be suggested for that.
  std::size_t recordsPassedOver = 0;
  // Paths of file and folder records still there whose deletion waits for the next restart: the
  // files in log order, then the folders, the last recorded first. Never among itemsLeft.
  std::vector<std::u16string> deletedAtRestart;
};

// True when the pass left or passed over anything: the closing message and the exit code must
// not claim that everything went.
bool isIncomplete(const RemovalOutcome& outcome);

// Reads records from `log` (positioned after its header) to its end and carries them out:
//   file and folder records that placeOfRecordPath allows: removeFile or removeFolder, those
//     outside the application folder with the long names checked by the same rules, and only
//     when an entry vouches for the log (otherwise listed as left when there); each file and
//     folder record, carried out or passed over, moves `progress` on by one;
//   the key record of the vouching entry (scope.entryName): deleteKey, then pruneEmptyKeys; listed
//     as left when the key stays;
//   value records, when the digest matched: deleteValue, then pruneEmptyKeys, listed as left
//     when the value stays; otherwise they are listed as left.
// Root names map as the setup wrote them (an unknown name is HKEY_CURRENT_USER). A folder recorded
// before a folder inside it cannot go when its turn comes, so folder records that are still there
// at the end are tried once more, last recorded first.
RemovalOutcome removeInstalledItems(LineListFile& log, const RemovalScope& scope, const RemovalSystem& system,
                                    const std::function<void(std::uint32_t removed)>& progress);

}  // namespace averlune
