#pragma once
// The plan carried out: the uninstaller's files, the payload entries one by one (asking after a
// failure), the uninstall entry, the shortcuts and the registry values, each followed by its
// planned uninstall log record. Everything is written through the target's held folders, so
// nothing lands behind a link, and the uninstaller's files are written protected.
#include "install/installation_plan.h"
#include "install/installation_reports.h"
#include "install/installation_target_win.h"
#include "install/payload_archive_reader.h"

namespace averlune {

// `reader` has the archive open with its first entry current, and lists the plan's entries in
// order. Ends with the finish page, or with reports.endRun after an Abort; the log is closed first.
void applyInstallationPlan(const InstallationPlan& plan, PayloadArchiveReader& reader,
                           const InstallationReports& reports, InstallationTarget& target);

}  // namespace averlune
