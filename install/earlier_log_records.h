#pragma once
// An upgrade's uninstall log. The log of the run replaces the earlier installation's log in the
// application folder, so what only the earlier version wrote (a file the new version no longer
// ships, its folder, a link, a registry value) must be carried into the new log, or the uninstaller
// would leave it behind for good.
#include <string>
#include <vector>

#include "config/uninstall_log.h"

namespace averlune {

// `ownRecords` (the run's records, as its writers made them) with the `earlier` records that do
// not repeat one of them carried in. The uninstaller works strictly in log order, and a folder goes
// only once the files in it are gone, so the carried records are placed as follows:
//   carried files before the run's first folder record (after its last file record when it has
//     none): every file the log names is then removed before any folder it may stand in;
//   carried folders after the run's last file or folder record: after every file of either run;
//   carried key and value records at the end.
// Each keeps the order the earlier log gave it. A record repeats another when kind, root, path and
// value name are the same, ignoring ASCII case as Windows does for paths and registry names; each
// record appears once. The run's own bytes are kept as they are.
std::string withEarlierRecords(const std::string& ownRecords, const std::vector<UninstallRecord>& earlier);

}  // namespace averlune
